#include "terrace/file_io.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <string>

#include "terrace/text.h"

namespace terrace {
namespace {

constexpr DWORD kChunk = 1u << 30;

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  bool Close() {
    if (!valid()) return true;
    const bool closed = ::CloseHandle(handle_) != FALSE;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

bool WriteAll(HANDLE file, const uint8_t* data, size_t length) {
  while (length > 0) {
    const DWORD chunk = length > kChunk ? kChunk : static_cast<DWORD>(length);
    DWORD written = 0;
    if (!::WriteFile(file, data, chunk, &written, nullptr) || written == 0) return false;
    data += written;
    length -= written;
  }
  return true;
}

}  // namespace

uint8_t* ReadWholeFile(const std::wstring& path, size_t prefix, size_t* size) {
  if (path.empty() || !size) return nullptr;
  Handle file(::CreateFileW(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return nullptr;
  LARGE_INTEGER file_size;
  if (!::GetFileSizeEx(file.get(), &file_size) || file_size.QuadPart < 0) return nullptr;
  const auto expected = static_cast<unsigned long long>(file_size.QuadPart);
  if (expected > SIZE_MAX - prefix - 1) return nullptr;
  auto* block = static_cast<uint8_t*>(std::malloc(prefix + static_cast<size_t>(expected) + 1));
  if (!block) return nullptr;
  // The file may shrink while we read; what we got is what we report.
  size_t done = 0;
  while (done < expected) {
    const size_t left = static_cast<size_t>(expected) - done;
    const DWORD chunk = left > kChunk ? kChunk : static_cast<DWORD>(left);
    DWORD got = 0;
    if (!::ReadFile(file.get(), block + prefix + done, chunk, &got, nullptr)) {
      std::free(block);
      return nullptr;
    }
    if (got == 0) break;
    done += got;
  }
  block[prefix + done] = 0;
  *size = done;
  return block;
}

bool WriteFileAtomically(const std::wstring& path, const void* data, size_t length) {
  if (path.empty() || IsSeparator(path.back()) || (!data && length > 0)) return false;
  static std::atomic<unsigned> counter{0};
  const std::wstring stem = path + L"." + std::to_wstring(::GetCurrentProcessId()) + L"-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    // Stale temporary files of an earlier crashed run with the same process id may hold
    // the name; try the next one.
    const std::wstring temp = stem + std::to_wstring(counter++) + L".tmp";
    Handle file(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
      if (::GetLastError() == ERROR_FILE_EXISTS) continue;
      return false;
    }
    bool ok = WriteAll(file.get(), static_cast<const uint8_t*>(data), length) &&
              ::FlushFileBuffers(file.get());
    ok = file.Close() && ok;
    ok = ok && ::MoveFileExW(temp.c_str(), path.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) ::DeleteFileW(temp.c_str());
    return ok;
  }
  return false;
}

}  // namespace terrace
