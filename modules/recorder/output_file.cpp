#include "output_file.h"

#include <shlobj.h>

#include <cwchar>

std::wstring DatedName(const std::wstring& prefix, const SYSTEMTIME& time,
                       const std::wstring& extension) {
  wchar_t stamp[32];
  std::swprintf(stamp, 32, L" %04u-%02u-%02u %02u-%02u-%02u", time.wYear, time.wMonth, time.wDay,
                time.wHour, time.wMinute, time.wSecond);
  return prefix + stamp + extension;
}

WriteError ClassifyWriteError(DWORD error) {
  switch (error) {
    case ERROR_SUCCESS:
      return WriteError::kNone;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return WriteError::kDiskFull;
    default:
      return WriteError::kUnwritable;
  }
}

namespace {
bool Exists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
}  // namespace

OutputFile::~OutputFile() { Drop(); }

bool OutputFile::Create(const std::wstring& folder, const std::wstring& final_name) {
  std::wstring base = folder;
  if (!base.empty() && base.back() != L'\\') base += L'\\';
  if (!Exists(base)) {
    const int created = ::SHCreateDirectoryExW(nullptr, base.c_str(), nullptr);
    if (created != ERROR_SUCCESS && created != ERROR_ALREADY_EXISTS) {
      Fail(static_cast<DWORD>(created));
      return false;
    }
  }
  const std::wstring name =
      FreeName(final_name, [&](const std::wstring& candidate) {
        return Exists(base + candidate) || Exists(base + candidate + L".part");
      });
  final_path_ = base + name;
  temporary_path_ = final_path_ + L".part";
  file_ = ::CreateFileW(temporary_path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file_ == INVALID_HANDLE_VALUE) {
    Fail(::GetLastError());
    return false;
  }
  return true;
}

bool OutputFile::Write(const void* data, size_t size) {
  if (file_ == INVALID_HANDLE_VALUE || error_ != WriteError::kNone) return false;
  const auto* bytes = static_cast<const uint8_t*>(data);
  while (size > 0) {
    const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!::WriteFile(file_, bytes, chunk, &written, nullptr) || written != chunk) {
      Fail(written != chunk && ::GetLastError() == ERROR_SUCCESS ? ERROR_DISK_FULL
                                                                 : ::GetLastError());
      return false;
    }
    bytes += chunk;
    size -= chunk;
    position_ += chunk;
  }
  return true;
}

bool OutputFile::WriteAt(uint64_t offset, const void* data, size_t size) {
  if (file_ == INVALID_HANDLE_VALUE || error_ != WriteError::kNone) return false;
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(position_);
  const uint64_t saved = position_;
  if (!::SetFilePointerEx(file_, at, nullptr, FILE_BEGIN)) {
    Fail(::GetLastError());
    return false;
  }
  position_ = offset;
  const bool written = Write(data, size);
  position_ = saved;
  if (!::SetFilePointerEx(file_, end, nullptr, FILE_BEGIN)) Fail(::GetLastError());
  return written && error_ == WriteError::kNone;
}

bool OutputFile::Commit() {
  if (temporary_path_.empty() || error_ != WriteError::kNone) {
    Drop();
    return false;
  }
  if (file_ != INVALID_HANDLE_VALUE) {
    if (!::FlushFileBuffers(file_)) {
      Fail(::GetLastError());
      Drop();
      return false;
    }
    ::CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
  }
  if (!::MoveFileExW(temporary_path_.c_str(), final_path_.c_str(), MOVEFILE_WRITE_THROUGH)) {
    Fail(::GetLastError());
    Drop();
    return false;
  }
  temporary_path_.clear();
  return true;
}

void OutputFile::CloseForOutsideWriter() {
  if (file_ != INVALID_HANDLE_VALUE) {
    ::CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
  }
}

bool OutputFile::Reopen() {
  CloseForOutsideWriter();
  if (temporary_path_.empty()) return false;
  error_ = WriteError::kNone;  // what the outside writer met is its own affair
  file_ = ::CreateFileW(temporary_path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  position_ = 0;
  if (file_ == INVALID_HANDLE_VALUE) {
    Fail(::GetLastError());
    return false;
  }
  return true;
}

void OutputFile::Drop() {
  if (file_ != INVALID_HANDLE_VALUE) {
    ::CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
  }
  if (!temporary_path_.empty()) {
    ::DeleteFileW(temporary_path_.c_str());
    temporary_path_.clear();
  }
}

void OutputFile::Fail(DWORD error) {
  if (error_ == WriteError::kNone) error_ = ClassifyWriteError(error);
}

uint64_t FreeSpace(const std::wstring& folder) {
  ULARGE_INTEGER available = {};
  // The folder itself may not exist yet: ask for the nearest existing parent.
  std::wstring path = folder;
  while (!path.empty()) {
    if (::GetDiskFreeSpaceExW(path.c_str(), &available, nullptr, nullptr))
      return available.QuadPart;
    const size_t at = path.find_last_of(L'\\', path.size() >= 2 ? path.size() - 2 : 0);
    if (at == std::wstring::npos) break;
    path = path.substr(0, at + 1);
  }
  return 0;
}
