// Every shipped catalogue loads through libLinguo and translates every key the shell uses,
// keeping the key's printf placeholders.
#include <gtest/gtest.h>

#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "linguo/linguo.h"

namespace {

struct Language {
  int number;
  const wchar_t* folder;
};

// The shell's catalogue table.
const Language kLanguages[] = {
    {0, L"zh_CN"},  {1, L"zh_TW"},  {2, L"de_DE"},  {3, L"en_US"},  {4, L"fr_FR"},
    {5, L"it_IT"},  {6, L"es_ES"},  {7, L"pt_PT"},  {8, L"ja_JP"},  {9, L"ko_KR"},
    {10, L"ru_RU"}, {11, L"id_ID"}, {12, L"hi_IN"}, {13, L"tr_TR"}, {14, L"nl_NL"},
};
constexpr int kEnglish = 3;

// Every key the shell translates, spelled exactly as the shell spells it (misspellings
// included). This is the one list; the catalogues are checked against it both ways.
const wchar_t* const kKeys[] = {
    L"ok",
    L"cancel",
    L"open",
    L"settings",
    L"general",
    L"language",
    L"language-change-tip-%s",  // %s: the product's display name
    L"show-window",
    L"exit",
    L"tray-tip",
    L"appplication-crash-warning",  // followed by " " and the crash report folder
    L"open-folder",
    L"failed",   // followed by "(count)"
    L"finish",
    L"[Fail] ",  // followed by a count, "." and an item name
    L"version",  // followed by ": " and a version
    L"more-info-visit-%s",     // %s: the brand word
    L"new-version-found-%s",   // %s: the new version
    L"new-version-found-tip",
    L"is-lastest-version-%s",  // %s: the running version
    L"update-failed-check-network",
    L"read-more-versions",
    L"update-now",
    L"remind-me-later",
    L"downloading-update",
    L"update-download",  // followed by " " and a size
    L"update-total",     // followed by " " and a size
    L"close-app-desc",
    L"download-failed-check-network",
};
constexpr std::size_t kKeyCount = sizeof(kKeys) / sizeof(kKeys[0]);

const wchar_t kDisplayName[] = L"Pellavorne Screen Recorder";
const wchar_t kBrand[] = L"Pellavorne";

// The printf conversions of a text, in order ("%%" is plain text, not a conversion).
std::vector<std::wstring> Placeholders(const std::wstring& text) {
  std::vector<std::wstring> found;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'%') continue;
    std::size_t j = i + 1;
    if (j < text.size() && text[j] == L'%') {
      i = j;
      continue;
    }
    while (j < text.size() && std::wcschr(L"-+ #0123456789.*hlLzjtI", text[j])) ++j;
    if (j < text.size()) ++j;  // the conversion letter
    found.push_back(text.substr(i, j - i));
    i = j - 1;
  }
  return found;
}

wxLocale* Activate(const Language& language) {
  wxLocale* locale = wxCreateLocale(language.number);
  // As the shell does: register all fifteen, then load.
  for (const Language& each : kLanguages) {
    locale->AddCatalog(each.number, (std::wstring(each.folder) + L"\\strings.mo").c_str());
  }
  return locale;
}

std::vector<std::wstring> EnglishTexts() {
  wxLocale* locale = Activate(kLanguages[kEnglish]);
  std::vector<std::wstring> texts;
  if (!locale->Load(OSTREVAN_APP_DIR_W L"I18n\\", 0)) return texts;
  for (const wchar_t* key : kKeys) texts.push_back(wxGetTranslation(key, "Platform"));
  return texts;
}

// msgid lines of a .po file; every msgid of these catalogues fits on one line.
std::set<std::string> PoKeys(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  std::set<std::string> keys;
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("msgid \"", 0) != 0) continue;
    const std::size_t end = line.rfind('"');
    std::string key = line.substr(7, end - 7);
    if (!key.empty()) keys.insert(key);
  }
  return keys;
}

std::string Narrow(const wchar_t* ascii) {
  std::string s;
  for (; *ascii; ++ascii) s.push_back(char(*ascii));
  return s;
}

void PrintTo(const Language& language, std::ostream* out) { *out << Narrow(language.folder); }

class Catalogue : public ::testing::TestWithParam<Language> {};

TEST_P(Catalogue, TranslatesEveryKeyKeepingPlaceholders) {
  const Language& language = GetParam();
  const std::vector<std::wstring> english = EnglishTexts();
  ASSERT_EQ(english.size(), kKeyCount) << "the English catalogue does not load";

  wxLocale* locale = Activate(language);
  ASSERT_TRUE(locale->Load(OSTREVAN_APP_DIR_W L"I18n\\", 0));
  ASSERT_EQ(wxGetLocale(), locale);

  std::size_t same_as_english = 0;
  for (std::size_t k = 0; k < kKeyCount; ++k) {
    const wchar_t* key = kKeys[k];
    const wchar_t* text = wxGetTranslation(key, "Platform");
    ASSERT_NE(text, key) << "no translation of \"" << Narrow(key) << "\"";
    const std::wstring translated = text;
    EXPECT_FALSE(translated.empty()) << Narrow(key);
    EXPECT_EQ(Placeholders(translated), Placeholders(key)) << Narrow(key);
    if (key[std::wcslen(key) - 1] == L' ') {
      EXPECT_EQ(translated.back(), L' ') << "the text runs on after \"" << Narrow(key) << "\"";
    }
    if (translated == english[k]) ++same_as_english;
  }
  if (language.number != kEnglish) {
    // Words like "OK" or "Version" may rightly stay as they are; most texts may not.
    EXPECT_LE(same_as_english, kKeyCount / 8) << same_as_english << " texts are English";
  }
}

TEST_P(Catalogue, TextsFitTheShellsBuffers) {
  wxLocale* locale = Activate(GetParam());
  ASSERT_TRUE(locale->Load(OSTREVAN_APP_DIR_W L"I18n\\", 0));
  wchar_t buffer[1024];
  // The tray balloon holds 255 characters and a terminator.
  EXPECT_LE(std::wcslen(wxGetTranslation(L"tray-tip", "Platform")), 255u);
  // The language-change notice is formatted into 512 characters.
  EXPECT_LT(std::swprintf(buffer, 1024, wxGetTranslation(L"language-change-tip-%s", "Platform"),
                          kDisplayName),
            512);
  // The about dialog's more-info line is formatted into 260 characters.
  EXPECT_LT(std::swprintf(buffer, 1024, wxGetTranslation(L"more-info-visit-%s", "Platform"),
                          kBrand),
            260);
}

TEST_P(Catalogue, SourceHoldsExactlyTheShellsKeys) {
  std::set<std::string> expected;
  for (const wchar_t* key : kKeys) expected.insert(Narrow(key));
  const std::set<std::string> found =
      PoKeys(std::wstring(OSTREVAN_PO_DIR_W) + GetParam().folder + L".po");
  EXPECT_EQ(found, expected);
}

INSTANTIATE_TEST_SUITE_P(I18n, Catalogue, ::testing::ValuesIn(kLanguages),
                         [](const ::testing::TestParamInfo<Language>& info) {
                           return Narrow(info.param.folder);
                         });

TEST(I18n, EveryKeyIsListedOnce) {
  std::set<std::wstring> unique(std::begin(kKeys), std::end(kKeys));
  EXPECT_EQ(unique.size(), kKeyCount);
}

}  // namespace
