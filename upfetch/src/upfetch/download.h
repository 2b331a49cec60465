// Streams an installer to disk and keeps it only when it is exactly what the list promised.
#pragma once

#include <string>

#include "upfetch/update_list.h"
#include "upfetch/upfetch.h"

namespace upfetch {

struct DownloadRequest {
  std::string brand;
  std::string version;
  std::string address;
  uint64_t size = 0;
  Sha256Digest sha256 = {};
};

// The product's temporary folder: %TEMP%\<brand>\<yyyymmdd>\, created when missing.
std::wstring ProductTemporaryFolder(const std::string& brand);

// Writes to a private temporary name beside the final one, hashing as it goes; renames it
// to InstallerFileName only after the size and SHA-256 matched. Every other outcome
// deletes what was written. Answers a UF_ result; `local_path` (UTF-8) is set on UF_OK.
int DownloadInstaller(const DownloadRequest& request, UFProgressCallback progress, void* context,
                      std::string* local_path);

}  // namespace upfetch
