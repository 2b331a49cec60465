#include "app/system_info.h"

#include <windows.h>

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <sstream>

#include "app/product_identity.h"
#include "app/terrace_text.h"

std::string FormatSystemInfoLine(const SystemFacts& facts) {
  rapidjson::StringBuffer buffer;
  rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
  writer.StartObject();
  writer.Key("Product");
  writer.String(facts.product.c_str(), static_cast<rapidjson::SizeType>(facts.product.size()));
  writer.Key("Version");
  writer.String(facts.version.c_str(), static_cast<rapidjson::SizeType>(facts.version.size()));
  writer.Key("System");
  writer.String(facts.system.c_str(), static_cast<rapidjson::SizeType>(facts.system.size()));
  writer.Key("FreeMemSize");
  writer.Int64(facts.free_memory);
  writer.Key("TotalMemSize");
  writer.Int64(facts.total_memory);
  writer.EndObject();
  return std::string(buffer.GetString(), buffer.GetSize());
}

std::wstring FormatSystemVersion(unsigned major, unsigned minor, unsigned build,
                                 unsigned service_pack_major, unsigned service_pack_minor) {
  std::wostringstream text;
  text << major << L"." << minor << L" Build " << build << L" Service Pack "
       << service_pack_major << L"." << service_pack_minor;
  return text.str();
}

std::string SystemInfoLine() {
  SystemFacts facts{ProductDisplayName(), ProductVersion(), std::string(), 0, 0};

  OSVERSIONINFOEXW version = {};
  version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  const BOOL have_version = ::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version));
#pragma GCC diagnostic pop
  if (have_version) {
    facts.system = WideToUtf8(FormatSystemVersion(
        version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber,
        version.wServicePackMajor, version.wServicePackMinor));
  }

  MEMORYSTATUSEX memory = {};
  memory.dwLength = sizeof(memory);
  if (::GlobalMemoryStatusEx(&memory)) {  // a failed query reports zeros
    facts.free_memory = static_cast<int64_t>(memory.ullAvailPhys);
    facts.total_memory = static_cast<int64_t>(memory.ullTotalPhys);
  }
  return FormatSystemInfoLine(facts);
}
