// Packs the files of a crash report into one zip archive.
#pragma once

#include <string>
#include <vector>

namespace terrace {

struct ArchiveEntry {
  std::wstring path;  // the file on disk
  std::string name;   // its name inside the archive: UTF-8, "/" between folders
};

// Writes `archive` from `entries` through a temporary file beside it that is renamed only
// once complete, so a half-written report never carries the final name. Files that cannot
// be read are left out. False when no archive could be made.
bool WriteArchive(const std::wstring& archive, const std::vector<ArchiveEntry>& entries);

// The temporary name used while `archive` is being written. It holds no ".zip", so the
// cleanup that keeps packed reports removes a leftover one.
std::wstring PartialArchiveName(const std::wstring& archive);

}  // namespace terrace
