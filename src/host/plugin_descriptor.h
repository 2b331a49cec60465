// The `plugin.load` descriptor of one module version, and how versions are ordered.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PluginDescriptor {
  std::string path;          // library path relative to the platform folder
  std::string platform_dir;  // the value of "x64" or "win32", whichever is in use
  uint32_t type = 0;
  std::string version;
  std::string id;
  int32_t width = 0;
  int32_t height = 0;
  std::string creation_command;
  std::vector<std::string> received;  // non-string elements are skipped
  std::vector<std::string> sent;
  std::vector<std::string> required;
  std::vector<std::string> optional;
};

// Parses and checks a descriptor. A descriptor that does not parse, or lacks "path",
// "version", "id" or the platform key, or whose "type" is not a number, or whose path
// leaves its folder (absolute, UNC, drive-relative or climbing with ".."), is refused with a
// message in `error`.
bool ParsePluginDescriptor(const std::string& text, bool is_64bit, PluginDescriptor* descriptor,
                           std::string* error);

// Candidate order: the first name is always the highest version; a later name that is not
// lower than the current best goes to the front, a lower one to the end. This is not a
// full sort: 1.0.0, 3.0.0, 2.0.0 gives 3.0.0, 1.0.0, 2.0.0.
using VersionCompare = int (*)(const char* left, const char* right);
std::vector<std::string> OrderVersionCandidates(const std::vector<std::string>& names,
                                                VersionCompare compare);
