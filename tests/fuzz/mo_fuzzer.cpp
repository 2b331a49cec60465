// The .mo reader on any bytes: a catalogue is refused or read whole, never read past its end.
#include <cstring>
#include <memory>
#include <string>

#include "linguo/mo_catalogue.h"

#define FUZZ_CHECK(condition) \
  do {                        \
    if (!(condition)) __builtin_trap(); \
  } while (0)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The reader is handed exactly the file's bytes; a copy of that size makes every read past
  // them an error the sanitizer sees.
  std::unique_ptr<unsigned char[]> bytes(new unsigned char[size ? size : 1]);
  if (size) std::memcpy(bytes.get(), data, size);
  const auto catalogue = linguo::Catalogue::Parse(bytes.get(), size);
  if (!catalogue) return 0;
  FUZZ_CHECK(catalogue->entry_count() <= size / 8);  // two table words per entry
  // Look-ups with keys taken from the same bytes, and the empty key no entry may have.
  FUZZ_CHECK(catalogue->Find(std::wstring_view()) == nullptr);
  std::wstring key;
  for (size_t i = 0; i < size && i < 64; ++i) {
    key.push_back(wchar_t(data[i]));
    if (const wchar_t* text = catalogue->Find(key)) FUZZ_CHECK(*text != L'\0');
  }
  return 0;
}
