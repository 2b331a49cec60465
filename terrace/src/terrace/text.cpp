#include "terrace/text.h"

#include <windows.h>
// After windows.h, which it needs.
#include <objbase.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
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

char* CopyText(const char* text, size_t length) {
  auto* copy = static_cast<char*>(std::malloc(length + 1));
  if (!copy) return nullptr;
  if (length) std::memcpy(copy, text, length);
  copy[length] = '\0';
  return copy;
}

char* CopyText(const std::string& text) {
  return CopyText(text.data(), text.size());
}

wchar_t* CopyWide(const std::wstring& text) {
  auto* copy = static_cast<wchar_t*>(std::malloc((text.size() + 1) * sizeof(wchar_t)));
  if (!copy) return nullptr;
  std::wmemcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

bool IsValidUtf8(const char* text, size_t length) {
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  size_t i = 0;
  while (i < length) {
    const unsigned char c = s[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    size_t extra;
    unsigned long code;
    if (c >= 0xC2 && c <= 0xDF) {
      extra = 1, code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2, code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3, code = c & 0x07;
    } else {
      return false;
    }
    if (length - i <= extra) return false;
    for (size_t k = 1; k <= extra; ++k) {
      if ((s[i + k] & 0xC0) != 0x80) return false;
      code = (code << 6) | (s[i + k] & 0x3F);
    }
    if ((extra == 2 && code < 0x800) || (extra == 3 && code < 0x10000) || code > 0x10FFFF ||
        (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    i += extra + 1;
  }
  return true;
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
