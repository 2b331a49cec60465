// The map behind each catalogue. Catalogues are never torn down: windows and modules hold
// their values to the end of the process.
#pragma once

#include <map>
#include <string>

template <typename Value>
std::map<std::string, Value, std::less<>>& Catalogue() {
  static auto* catalogue = new std::map<std::string, Value, std::less<>>();
  return *catalogue;
}

// The value under `key`, or Value() when there is none.
template <typename Value>
Value FindInCatalogue(const std::string& key) {
  const auto& catalogue = Catalogue<Value>();
  auto found = catalogue.find(key);
  return found == catalogue.end() ? Value() : found->second;
}
