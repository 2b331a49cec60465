#include "host/picture_size.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

uint32_t BigEndian16(const unsigned char* p) { return uint32_t(p[0]) << 8 | p[1]; }
uint32_t BigEndian32(const unsigned char* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}
uint32_t LittleEndian16(const unsigned char* p) { return uint32_t(p[1]) << 8 | p[0]; }
uint32_t LittleEndian32(const unsigned char* p) {
  return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

bool Png(const unsigned char* b, size_t n, PictureSize* out) {
  static const unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (n < 24 || std::memcmp(b, kSignature, 8) != 0 || std::memcmp(b + 12, "IHDR", 4) != 0)
    return false;
  *out = {BigEndian32(b + 16), BigEndian32(b + 20)};
  return true;
}

bool Gif(const unsigned char* b, size_t n, PictureSize* out) {
  if (n < 10 || (std::memcmp(b, "GIF87a", 6) != 0 && std::memcmp(b, "GIF89a", 6) != 0))
    return false;
  *out = {LittleEndian16(b + 6), LittleEndian16(b + 8)};
  return true;
}

bool Bmp(const unsigned char* b, size_t n, PictureSize* out) {
  if (n < 22 || b[0] != 'B' || b[1] != 'M') return false;
  if (LittleEndian32(b + 14) == 12) {  // the old core header: 16-bit sizes
    *out = {LittleEndian16(b + 18), LittleEndian16(b + 20)};
    return true;
  }
  if (n < 26) return false;
  const auto width = static_cast<int32_t>(LittleEndian32(b + 18));
  const auto height = static_cast<int32_t>(LittleEndian32(b + 22));  // negative: top-down
  auto magnitude = [](int32_t v) { return v < 0 ? 0u - uint32_t(v) : uint32_t(v); };
  *out = {magnitude(width), magnitude(height)};
  return true;
}

// Walks the segments up to the first start-of-frame, which holds the size.
bool Jpeg(const unsigned char* b, size_t n, PictureSize* out) {
  if (n < 4 || b[0] != 0xFF || b[1] != 0xD8) return false;
  size_t at = 2;
  while (at + 4 <= n) {
    if (b[at] != 0xFF) return false;
    const unsigned char marker = b[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
      at += 2;  // markers without a length
      continue;
    }
    if (marker == 0xD9 || marker == 0xDA) return false;  // image data before any frame
    const size_t length = BigEndian16(b + at + 2);
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                       marker != 0xCC;
    if (frame) {
      if (at + 9 > n || length < 7) return false;
      *out = {BigEndian16(b + at + 7), BigEndian16(b + at + 5)};
      return true;
    }
    if (length < 2) return false;
    at += 2 + length;
  }
  return false;
}

}  // namespace

bool ReadPictureSize(const unsigned char* bytes, size_t size, PictureSize* out) {
  if (!bytes || !out) return false;
  return Png(bytes, size, out) || Gif(bytes, size, out) || Jpeg(bytes, size, out) ||
         Bmp(bytes, size, out);
}

bool FitsPixelBudget(const PictureSize& size) {
  return uint64_t(size.width) * uint64_t(size.height) <= kPicturePixelBudget;
}

bool ReadPictureFileSize(const std::wstring& path, PictureSize* out) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  // Most formats answer from their first bytes; only a JPEG needs a longer look.
  std::vector<unsigned char> bytes(4096);
  DWORD read = 0;
  bool known = false;
  if (::ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr)) {
    known = ReadPictureSize(bytes.data(), read, out);
    if (!known && read == bytes.size() && bytes[0] == 0xFF && bytes[1] == 0xD8) {
      bytes.resize(kPictureHeaderBytes);
      DWORD more = 0;
      if (::ReadFile(file, bytes.data() + read, DWORD(bytes.size() - read), &more, nullptr))
        known = ReadPictureSize(bytes.data(), read + more, out);
    }
  }
  ::CloseHandle(file);
  return known;
}
