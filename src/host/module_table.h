// The loaded modules, by key (the module folder's name), for the life of the process.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct ModuleRecord {
  uint32_t type = 0;
  std::string library_path;  // full path, "\" separators
  std::string id;
  std::string version;
  int32_t width = 0;
  int32_t height = 0;
  std::string creation_command;
  std::vector<std::string> received;
  std::vector<std::string> sent;
  std::vector<std::string> required;
  std::vector<std::string> optional;
};

class ModuleTable {
 public:
  static ModuleTable& Instance();

  // Records are never removed or freed, so the pointer stays valid.
  const ModuleRecord* Find(const std::string& key) const;
  // Enters `record` under `key` unless the key is taken; answers the entered record (or
  // null). `and_then` runs under the table's lock once the record is in (for bus
  // registration).
  template <typename Then>
  ModuleRecord* Enter(const std::string& key, std::unique_ptr<ModuleRecord> record, Then and_then);
  // The host itself: "Product", type 2.
  void EnterHost();
  size_t size() const;

  // The table's lock is the service library's lock keyed by the table.
  void Lock() const;
  void Unlock() const;

 private:
  ModuleTable() = default;
  std::map<std::string, std::unique_ptr<ModuleRecord>> records_;
};

template <typename Then>
ModuleRecord* ModuleTable::Enter(const std::string& key, std::unique_ptr<ModuleRecord> record,
                                 Then and_then) {
  Lock();
  auto inserted = records_.emplace(key, std::move(record));
  ModuleRecord* entered = inserted.second ? inserted.first->second.get() : nullptr;
  if (entered) and_then(entered);
  Unlock();
  return entered;
}
