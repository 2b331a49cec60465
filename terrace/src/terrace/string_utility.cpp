#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>
#include <string>

#include "ter_utility.h"
#include "terrace/string_rules.h"
#include "terrace/text.h"

namespace terrace {
namespace {

class StringUtility final : public ITerUtilityString {
 public:
  wchar_t* Utf8ToUtf16(const char* text) override {
    if (!text) return nullptr;
    try {
      const std::wstring wide = Widen(text);
      if (wide.empty() && *text) return nullptr;
      return CopyWide(wide);
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
  }

  char* Utf16ToUtf8(const wchar_t* text) override {
    if (!text) return nullptr;
    try {
      const std::string narrow = Narrow(text);
      if (narrow.empty() && *text) return nullptr;
      return CopyText(narrow);
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
  }

  wchar_t* FormatWide(const wchar_t* format, const wchar_t* argument) override {
    if (!format) return nullptr;
    try {
      return CopyWide(SubstituteArgument(format, argument));
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
  }

  int CompareVersions(const char* left, const char* right) override {
    return CompareVersionText(left, right);
  }

  void Release(void* text) override { std::free(text); }
};

}  // namespace
}  // namespace terrace

extern "C" TERRACE_API ITerUtilityString* TerUtilityString() {
  static terrace::StringUtility instance;
  return &instance;
}
