#include "terrace/file_io.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <cwctype>
#include <mutex>
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

// The process id in "<name>.<digits>-<digits>.tmp", the temporary names of WriteFileAtomically;
// 0 for any other name.
DWORD TemporaryFileOwner(const std::wstring& name, const std::wstring& target_name) {
  const std::wstring suffix = L".tmp";
  if (name.size() <= target_name.size() + 1 + suffix.size() ||
      name.compare(0, target_name.size() + 1, target_name + L".") != 0 ||
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
    return 0;
  const std::wstring middle =
      name.substr(target_name.size() + 1, name.size() - target_name.size() - 1 - suffix.size());
  const size_t dash = middle.find(L'-');
  if (dash == 0 || dash == std::wstring::npos || dash + 1 == middle.size() || dash > 10)
    return 0;
  unsigned long long owner = 0;
  for (size_t i = 0; i < middle.size(); ++i) {
    if (i == dash) continue;
    if (!std::iswdigit(middle[i])) return 0;
    if (i < dash) owner = owner * 10 + (middle[i] - L'0');
  }
  return owner == 0 || owner > 0xFFFFFFFFull ? 0 : static_cast<DWORD>(owner);
}

bool ProcessRuns(DWORD process_id) {
  HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, process_id);
  if (!process) return ::GetLastError() == ERROR_ACCESS_DENIED;  // someone else's, running
  const bool runs = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  ::CloseHandle(process);
  return runs;
}

// Temporary files of a writer that was killed between creating and moving them. Ours are
// never in progress here (the caller holds the write lock); another running process's are
// left alone.
void RemoveStaleTemporaryFiles(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? L"" : path.substr(0, slash + 1);
  const std::wstring target_name = path.substr(folder.size());
  WIN32_FIND_DATAW entry;
  HANDLE search = ::FindFirstFileW((path + L".*-*.tmp").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  const DWORD self = ::GetCurrentProcessId();
  do {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const DWORD owner = TemporaryFileOwner(entry.cFileName, target_name);
    if (owner == 0 || (owner != self && ProcessRuns(owner))) continue;
    ::DeleteFileW((folder + entry.cFileName).c_str());
  } while (::FindNextFileW(search, &entry));
  ::FindClose(search);
}

// One atomic write at a time in this process, so that none of our own temporary files is
// ever mistaken for a stale one.
std::mutex& WriteLock() {
  static auto* lock = new std::mutex;
  return *lock;
}

}  // namespace

uint8_t* ReadWholeFile(const std::wstring& path, size_t prefix, size_t* size,
                       unsigned long* error) {
  if (error) *error = ERROR_INVALID_PARAMETER;
  if (path.empty() || !size) return nullptr;
  Handle file(::CreateFileW(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  auto failed = [error] {
    if (error) *error = ::GetLastError();
    return nullptr;
  };
  if (!file.valid()) return failed();
  LARGE_INTEGER file_size;
  if (!::GetFileSizeEx(file.get(), &file_size)) return failed();
  if (file_size.QuadPart < 0) return nullptr;
  const auto expected = static_cast<unsigned long long>(file_size.QuadPart);
  if (error) *error = ERROR_NOT_ENOUGH_MEMORY;
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
      if (error) *error = ::GetLastError();
      std::free(block);
      return nullptr;
    }
    if (got == 0) break;
    done += got;
  }
  block[prefix + done] = 0;
  *size = done;
  if (error) *error = 0;
  return block;
}

bool WriteFileAtomically(const std::wstring& path, const void* data, size_t length) {
  if (path.empty() || IsSeparator(path.back()) || (!data && length > 0)) return false;
  std::lock_guard<std::mutex> write_lock(WriteLock());
  RemoveStaleTemporaryFiles(path);
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
