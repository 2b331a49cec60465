#include "test_pictures.h"

#include <vector>

namespace {

uint32_t Crc32(const std::string& bytes, size_t from) {
  static const std::vector<uint32_t> table = [] {
    std::vector<uint32_t> t(256);
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = from; i < bytes.size(); ++i)
    crc = table[(crc ^ static_cast<uint8_t>(bytes[i])) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

void PutBigEndian(std::string* out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<char>(value >> shift));
}

void Chunk(std::string* png, const char* type, const std::string& data) {
  PutBigEndian(png, static_cast<uint32_t>(data.size()));
  const size_t start = png->size();
  png->append(type, 4).append(data);
  PutBigEndian(png, Crc32(*png, start));
}

// Deflate bits go out least significant first; Huffman codes most significant first.
class BitWriter {
 public:
  void Bits(uint32_t value, int count) {
    for (int i = 0; i < count; ++i) Bit((value >> i) & 1);
  }
  void Code(uint32_t code, int length) {
    for (int i = length - 1; i >= 0; --i) Bit((code >> i) & 1);
  }
  std::string Finish() {
    if (used_) bytes_.push_back(static_cast<char>(current_));
    return bytes_;
  }

 private:
  void Bit(uint32_t bit) {
    current_ |= bit << used_;
    if (++used_ == 8) {
      bytes_.push_back(static_cast<char>(current_));
      current_ = used_ = 0;
    }
  }
  std::string bytes_;
  uint32_t current_ = 0;
  int used_ = 0;
};

// A zlib stream of `count` zero bytes: one fixed-Huffman block of a literal 0 and then
// copies of the previous byte.
std::string ZlibZeros(uint64_t count) {
  BitWriter bits;
  bits.Bits(1, 1);  // final block
  bits.Bits(1, 2);  // fixed Huffman codes
  bits.Code(0x30, 8);  // literal 0
  uint64_t left = count - 1;
  while (left >= 3) {
    const uint32_t length = left >= 258 ? 258 : left > 10 ? 10 : static_cast<uint32_t>(left);
    if (length == 258) {
      bits.Code(0xC5, 8);  // length symbol 285
    } else {
      bits.Code(length - 2, 7);  // symbols 257..264 stand for lengths 3..10
    }
    bits.Code(0, 5);  // distance 1
    left -= length;
  }
  for (; left > 0; --left) bits.Code(0x30, 8);
  bits.Code(0, 7);  // end of block
  std::string stream = "\x78\x01";
  stream += bits.Finish();
  // Adler-32 of zeros: a stays 1, b grows by 1 per byte.
  PutBigEndian(&stream, static_cast<uint32_t>((count % 65521) << 16 | 1));
  return stream;
}

}  // namespace

std::string BlackPng(uint32_t width, uint32_t height) {
  std::string png("\x89PNG\r\n\x1A\n", 8);
  std::string header;
  PutBigEndian(&header, width);
  PutBigEndian(&header, height);
  header += std::string("\x01\x00\x00\x00\x00", 5);  // 1 bit, greyscale, deflate, no interlace
  Chunk(&png, "IHDR", header);
  const uint64_t row = 1 + (uint64_t(width) + 7) / 8;  // filter byte and packed pixels
  Chunk(&png, "IDAT", ZlibZeros(row * height));
  Chunk(&png, "IEND", "");
  return png;
}
