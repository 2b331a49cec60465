// The one-line JSON description of product and machine, for the log and crash reports.
#pragma once

#include <cstdint>
#include <string>

struct SystemFacts {
  std::string product;
  std::string version;
  std::string system;  // "10.0 Build 19045 Service Pack 0.0"; empty when unknown
  int64_t free_memory;
  int64_t total_memory;
};

// {"Product":…,"Version":…,"System":…,"FreeMemSize":…,"TotalMemSize":…}, compact.
std::string FormatSystemInfoLine(const SystemFacts& facts);
std::wstring FormatSystemVersion(unsigned major, unsigned minor, unsigned build,
                                 unsigned service_pack_major, unsigned service_pack_minor);
// Reads the facts of this machine now and formats them. Safe on any thread.
std::string SystemInfoLine();
