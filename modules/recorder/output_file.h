// A file that appears under its final name only once it is complete: it is written under a
// temporary name beside it and renamed at the end; dropped otherwise. Also the dated names
// of screenshots and recordings.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "mp4_muxer.h"

// "Screenshot 2026-12-07 01-23-45.png"; `prefix` and `extension` as given.
std::wstring DatedName(const std::wstring& prefix, const SYSTEMTIME& time,
                       const std::wstring& extension);
// `name`, or "stem (2).ext", "stem (3).ext"... for the first that `taken` does not report.
template <typename Taken>
std::wstring FreeName(const std::wstring& name, Taken taken) {
  if (!taken(name)) return name;
  const size_t dot = name.find_last_of(L'.');
  const std::wstring stem = dot == std::wstring::npos ? name : name.substr(0, dot);
  const std::wstring extension = dot == std::wstring::npos ? L"" : name.substr(dot);
  for (int n = 2;; ++n) {
    std::wstring candidate = stem + L" (" + std::to_wstring(n) + L")" + extension;
    if (!taken(candidate)) return candidate;
  }
}

// Why writing failed, in the terms the user is told.
enum class WriteError { kNone, kDiskFull, kUnwritable };
WriteError ClassifyWriteError(DWORD error);

class OutputFile : public ByteSink {
 public:
  OutputFile() = default;
  ~OutputFile() override;  // drops an uncommitted file
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Creates the folder if needed and the temporary file; false with error() set otherwise.
  bool Create(const std::wstring& folder, const std::wstring& final_name);
  bool Write(const void* data, size_t size) override;
  bool WriteAt(uint64_t offset, const void* data, size_t size) override;
  uint64_t Position() const override { return position_; }
  bool Commit();  // flushes, closes and renames; false (and dropped) on any failure
  void Drop();    // closes and deletes the temporary file
  // For a writer that opens the file by name itself: closes our handle, keeps the name.
  void CloseForOutsideWriter();
  bool Reopen();  // takes the (emptied) temporary file back after an outside writer gave up
  void SetError(DWORD error) { Fail(error); }

  const std::wstring& temporary_path() const { return temporary_path_; }

  const std::wstring& final_path() const { return final_path_; }
  WriteError error() const { return error_; }

 private:
  void Fail(DWORD error);

  HANDLE file_ = INVALID_HANDLE_VALUE;
  std::wstring temporary_path_;
  std::wstring final_path_;
  uint64_t position_ = 0;
  WriteError error_ = WriteError::kNone;
};

// Free bytes on the volume that holds `folder` (0 when unknown).
uint64_t FreeSpace(const std::wstring& folder);
