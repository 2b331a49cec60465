#include "terrace/text.h"

#include <windows.h>
// After windows.h, which it needs.
#include <objbase.h>

#include <climits>
#include <cstdio>
#include <cstring>

namespace terrace {

std::wstring Widen(const char* utf8) {
  std::wstring result;
  if (!utf8 || !*utf8) return result;
  const size_t length = std::strlen(utf8);
  if (length > INT_MAX) return result;
  const int size = ::MultiByteToWideChar(CP_UTF8, 0, utf8, static_cast<int>(length), nullptr, 0);
  if (size <= 0) return result;
  result.resize(size);
  ::MultiByteToWideChar(CP_UTF8, 0, utf8, static_cast<int>(length), &result[0], size);
  return result;
}

static std::string NarrowRange(const wchar_t* utf16, size_t length) {
  std::string result;
  if (!utf16 || length == 0 || length > INT_MAX) return result;
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, utf16, static_cast<int>(length), nullptr, 0,
                                         nullptr, nullptr);
  if (size <= 0) return result;
  result.resize(size);
  ::WideCharToMultiByte(CP_UTF8, 0, utf16, static_cast<int>(length), &result[0], size, nullptr,
                        nullptr);
  return result;
}

std::string Narrow(const wchar_t* utf16) {
  return utf16 ? NarrowRange(utf16, std::wcslen(utf16)) : std::string();
}

std::string Narrow(const std::wstring& utf16) {
  return NarrowRange(utf16.data(), utf16.size());
}

std::string NewGuidText() {
  GUID guid;
  if (FAILED(::CoCreateGuid(&guid))) return std::string();
  char text[40];
  std::snprintf(text, sizeof text, "%08lx-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x",
                static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                guid.Data4[6], guid.Data4[7]);
  return text;
}

}  // namespace terrace
