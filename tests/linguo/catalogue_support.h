// The steps that make a locale use a catalogue built in memory (mo_bytes.h).
#pragma once

#include "linguo/linguo.h"
#include "mo_bytes.h"
#include "test_files.h"

namespace linguo_test {

// Writes the bytes as the catalogue of `language` under the folder and loads them.
inline bool LoadInto(wxLocale* locale, const TempFolder& folder, const Bytes& bytes,
                     int language = 3) {
  MakeFolders(folder.path() + L"xx");
  WriteText(folder.path() + L"xx\\strings.mo", bytes);
  locale->AddCatalog(language, L"xx\\strings.mo");
  return locale->Load(folder.path().c_str(), 0);
}

inline const wchar_t* T(const wchar_t* key) {
  return wxGetTranslation(key, "Platform");
}

}  // namespace linguo_test
