// Preferences.json through the user-defaults store: whatever loads can be read whole, changed
// and written, and what is written loads again to the same document (a saved file that no
// longer loads would cost the user every setting at the next start). Numbers read as the
// nearest double, as the C library reads them.
#include <cstdlib>

#include "fuzz_support.h"

namespace {

std::string Compact(ITerUserDefaults* d) {
  return TakeDefaultsText(d->ValueJson(d->GetRoot()));
}

void ExpectReloadsAs(const std::string& text) {
  bool loaded = false;
  auto again = terrace::UserDefaults::FromText(L"again.json", text.data(), text.size(), &loaded);
  FUZZ_CHECK(loaded);
  FUZZ_CHECK(Compact(again.get()) == text);
}

bool IsNumberCharacter(char c) {
  return (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-';
}

// The input's first run of number characters, as the value of a document of its own.
void ExpectNearestDouble(const std::string& file) {
  size_t begin = 0;
  while (begin < file.size() && !IsNumberCharacter(file[begin])) ++begin;
  size_t end = begin;
  while (end < file.size() && end - begin < 64 && IsNumberCharacter(file[end])) ++end;
  const std::string number = file.substr(begin, end - begin);
  const std::string text = "{\"n\":" + number + "}";
  bool loaded = false;
  auto document = terrace::UserDefaults::FromText(L"n.json", text.data(), text.size(), &loaded);
  if (!loaded) return;
  const std::string written =
      TakeDefaultsText(document->ValueJson(document->GetChild("n", nullptr)));
  if (written.find_first_of(".eE") == std::string::npos) return;  // read as an integer
  FUZZ_CHECK(std::strtod(written.c_str(), nullptr) == std::strtod(number.c_str(), nullptr));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The whole input is the file; the texts a module sets are cut from it.
  const std::string file(reinterpret_cast<const char*>(data), size);
  const std::string key = file.substr(0, 16);
  const std::string value = file.substr(size / 2);
  const int64_t number = static_cast<int64_t>(size) * -0x1234567;
  ExpectNearestDouble(file);
  bool loaded = false;
  auto defaults = fuzz::Defaults(data, size, &loaded);
  fuzz::Walk(defaults.get(), defaults->GetRoot());
  if (!loaded) FUZZ_CHECK(Compact(defaults.get()) == "{}");
  ExpectReloadsAs(Compact(defaults.get()));

  // Modules set texts and numbers of any content; the store keeps the file loadable.
  defaults->SetString(key.c_str(), value.c_str());
  defaults->SetInt(value.c_str(), number);
  fuzz::Walk(defaults.get(), defaults->GetRoot());
  ExpectReloadsAs(Compact(defaults.get()));
  return 0;
}
