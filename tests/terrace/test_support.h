// Helpers of the libTerrace tests, on top of the shared temporary-folder and file helpers.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "test_files.h"
#include "ter_utility.h"

// Takes a string the library handed out, gives it back, and returns its text ("<null>").
inline std::string Str(char* text) {
  const std::string copy = text ? text : "<null>";
  TerUtilityString()->Release(text);
  return copy;
}

// UTF-8 paths for the library's narrow calls.
inline std::string Utf8(const std::wstring& path) {
  return Str(TerUtilityString()->Utf16ToUtf8(path.c_str()));
}

// Names directly inside `folder` (ending with "\"), sorted.
inline std::vector<std::wstring> Entries(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW entry;
  HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = entry.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (::FindNextFileW(search, &entry));
  ::FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}
