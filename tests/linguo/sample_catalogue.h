// A small catalogue shared by the tests, and the steps to make a locale use it.
#pragma once

#include <string>
#include <vector>

#include "linguo/linguo.h"
#include "mo_writer.h"

namespace linguo_test {

inline std::vector<MoEntry> SampleEntries() {
  return {
      {"", "Content-Type: text/plain; charset=UTF-8\n"
           "Plural-Forms: nplurals=2; plural=(n != 1);\n"},
      {"ok", "Okay"},
      {"cancel", "Abbrechen"},
      {"close", "\xE9\x96\x89\xE3\x81\x98\xE3\x82\x8B"},  // Japanese
      {"exit", "\xD0\x92\xD1\x8B\xD1\x85\xD0\xBE\xD0\xB4"},  // Russian
      {"smile", "\xF0\x9F\x98\x80"},  // beyond the BMP
      {std::string("file\0files", 10), std::string("Datei\0Dateien", 13)},
      {"untranslated", ""},
      {"language-change-tip-%s", "Restart %s to use the new language."},
  };
}

// Expected answers for the sample, as UTF-16.
inline const wchar_t* const kJapaneseClose = L"\u9589\u3058\u308B";
inline const wchar_t* const kRussianExit = L"\u0412\u044B\u0445\u043E\u0434";
inline const wchar_t* const kSmile = L"\xD83D\xDE00";

// Writes bytes as the catalogue of `language` under folder and loads it into the locale.
inline bool LoadInto(wxLocale* locale, const TempFolder& folder, const Bytes& bytes,
                     int language = 3) {
  WriteFile(folder.path() / L"xx" / L"strings.mo", bytes);
  locale->AddCatalog(language, L"xx\\strings.mo");
  return locale->Load(folder.folder().c_str(), 0);
}

// A new current locale for `language` with bytes as its catalogue.
inline wxLocale* NewLocaleWith(const TempFolder& folder, const Bytes& bytes, bool* loaded,
                               int language = 3) {
  wxLocale* locale = wxCreateLocale(language);
  *loaded = LoadInto(locale, folder, bytes, language);
  return locale;
}

inline const wchar_t* T(const wchar_t* key) { return wxGetTranslation(key, "Platform"); }

}  // namespace linguo_test
