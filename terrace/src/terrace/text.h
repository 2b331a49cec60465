// Text helpers shared by the library's pieces. Nothing here throws except std::bad_alloc
// from the std::string/std::wstring results.
#pragma once

#include <stddef.h>

#include <string>

namespace terrace {

// Conversions through the platform (text_win32.cpp). Empty on null or unconvertible input.
std::wstring Widen(const char* utf8);
std::string Narrow(const wchar_t* utf16);
std::string Narrow(const std::wstring& utf16);

// malloc'ed, zero-terminated copies handed across the DLL boundary; null when out of memory.
char* CopyText(const char* text, size_t length);
char* CopyText(const std::string& text);
wchar_t* CopyWide(const std::wstring& text);

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(const char* text, size_t length);

// Lower-case GUID text, from the platform such as "5b0c1d2e-...". Empty on failure.
std::string NewGuidText();

inline bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

}  // namespace terrace
