#include "host/module_table.h"

#include "ter_utility.h"

ModuleTable& ModuleTable::Instance() {
  // Lives until the process ends, like the modules it describes.
  static ModuleTable* table = new ModuleTable();
  return *table;
}

void ModuleTable::Lock() const { TerLock()->Lock(this); }
void ModuleTable::Unlock() const { TerLock()->Unlock(this); }

const ModuleRecord* ModuleTable::Find(const std::string& key) const {
  Lock();
  auto found = records_.find(key);
  const ModuleRecord* record = found == records_.end() ? nullptr : found->second.get();
  Unlock();
  return record;
}

void ModuleTable::EnterHost() {
  auto host = std::make_unique<ModuleRecord>();
  host->type = 2;
  host->id = "Product";
  Enter("Product", std::move(host), [](ModuleRecord*) {});
}

size_t ModuleTable::size() const {
  Lock();
  const size_t count = records_.size();
  Unlock();
  return count;
}
