#include "host/platform_handler.h"

#include <map>
#include <string_view>

namespace {

using CommandFunction = void (*)(TERObserveData1* record);

// Built once, read-only afterwards; looked up by view so a command allocates nothing.
const std::map<std::string_view, CommandFunction>& CommandTable() {
  static const std::map<std::string_view, CommandFunction> table = {};
  return table;
}

}  // namespace

void PlatformHandler(TERObserveData1* record) {
  if (!record || !record->name) return;
  const auto& table = CommandTable();
  auto found = table.find(std::string_view(record->name));
  if (found != table.end()) found->second(record);
}
