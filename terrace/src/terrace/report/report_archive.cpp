#include "terrace/report/report_archive.h"

#include <windows.h>

#include <minizip/zip.h>
// After the header above, whose declarations it uses.
#include <minizip/iowin32.h>

#include <cwctype>

namespace terrace {
namespace {

constexpr unsigned long kUtf8NamesFlag = 1u << 11;
constexpr DWORD kChunk = 64 * 1024;

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (valid()) ::CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// Buffers come from VirtualAlloc: a crash may have left the process heap damaged.
class Chunk {
 public:
  Chunk() : data_(::VirtualAlloc(nullptr, kChunk, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
  ~Chunk() {
    if (data_) ::VirtualFree(data_, 0, MEM_RELEASE);
  }
  Chunk(const Chunk&) = delete;
  Chunk& operator=(const Chunk&) = delete;
  void* get() const { return data_; }

 private:
  void* data_;
};

zip_fileinfo InfoFor(HANDLE file) {
  zip_fileinfo info = {};
  FILETIME written = {}, local = {};
  SYSTEMTIME time = {};
  if (::GetFileTime(file, nullptr, nullptr, &written) && ::FileTimeToLocalFileTime(&written, &local) &&
      ::FileTimeToSystemTime(&local, &time)) {
    info.tmz_date.tm_sec = time.wSecond;
    info.tmz_date.tm_min = time.wMinute;
    info.tmz_date.tm_hour = time.wHour;
    info.tmz_date.tm_mday = time.wDay;
    info.tmz_date.tm_mon = time.wMonth - 1;
    info.tmz_date.tm_year = time.wYear;
  }
  return info;
}

// A file another process (or the log writer) still has open is read all the same.
bool AddFile(zipFile zip, const ArchiveEntry& entry, const Chunk& buffer) {
  FileHandle file(::CreateFileW(entry.path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size = {};
  if (!file.valid() || !::GetFileSizeEx(file.get(), &size)) return false;
  const zip_fileinfo info = InfoFor(file.get());
  const int large = size.QuadPart >= 0xFFFFFFFFLL ? 1 : 0;
  if (zipOpenNewFileInZip4_64(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                              Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL,
                              Z_DEFAULT_STRATEGY, nullptr, 0, 0, kUtf8NamesFlag,
                              large) != ZIP_OK)
    return false;
  bool ok = true;
  DWORD read = 0;
  while (ok && ::ReadFile(file.get(), buffer.get(), kChunk, &read, nullptr) && read > 0)
    ok = zipWriteInFileInZip(zip, buffer.get(), read) == ZIP_OK;
  return zipCloseFileInZip(zip) == ZIP_OK && ok;
}

bool FlushToDisk(const std::wstring& path) {
  FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr));
  return file.valid() && ::FlushFileBuffers(file.get());
}

}  // namespace

std::wstring PartialArchiveName(const std::wstring& archive) {
  std::wstring stem = archive;
  if (stem.size() >= 4) {
    std::wstring tail = stem.substr(stem.size() - 4);
    for (wchar_t& c : tail) c = static_cast<wchar_t>(std::towlower(c));
    if (tail == L".zip") stem.resize(stem.size() - 4);
  }
  return stem + L".partial";
}

bool WriteArchive(const std::wstring& archive, const std::vector<ArchiveEntry>& entries) {
  const std::wstring partial = PartialArchiveName(archive);
  Chunk buffer;
  if (!buffer.get()) return false;
  zlib_filefunc64_def files;
  fill_win32_filefunc64W(&files);
  zipFile zip = zipOpen2_64(partial.c_str(), APPEND_STATUS_CREATE, nullptr, &files);
  if (!zip) return false;
  size_t added = 0;
  for (const ArchiveEntry& entry : entries)
    if (AddFile(zip, entry, buffer)) ++added;
  const bool closed = zipClose(zip, nullptr) == ZIP_OK;
  if (!closed || added == 0 || !FlushToDisk(partial) ||
      !::MoveFileExW(partial.c_str(), archive.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileW(partial.c_str());
    return false;
  }
  return true;
}

}  // namespace terrace
