#include "app/terrace_text.h"

std::wstring Utf8ToWide(const std::string& text) {
  wchar_t* wide = TerUtilityString()->Utf8ToUtf16(text.c_str());
  std::wstring result = wide ? wide : L"";
  TerUtilityString()->Release(wide);
  return result;
}

std::string WideToUtf8(const std::wstring& text) {
  char* narrow = TerUtilityString()->Utf16ToUtf8(text.c_str());
  std::string result = narrow ? narrow : "";
  TerUtilityString()->Release(narrow);
  return result;
}
