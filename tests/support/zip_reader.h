// Reads a zip archive back, for the tests of the crash report.
#pragma once

#include <map>
#include <string>

// Name inside the archive → content. False when the archive cannot be opened or an entry
// fails its checksum.
bool ReadZip(const std::wstring& path, std::map<std::string, std::string>* entries);
