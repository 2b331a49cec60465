// The interface language: chosen at start (saved choice, else the Windows user language),
// translated through libLinguo, and the language site's placeholders in addresses.
#pragma once

#include <windows.h>

#include <map>
#include <string>

constexpr int kEnglishLanguage = 3;
constexpr int kLanguageCount = 15;

// The number of the current language; 3 until start-up chooses one.
int CurrentLanguageNumber();
void SetCurrentLanguageNumber(int number);

// Reads LangSite.json beside the executable and builds the user-language table. Logs an
// error and leaves the table empty when the file is missing or malformed.
void LoadLanguageSites();
// The saved choice, else the guess from the Windows user language, else English.
int StartupLanguageNumber();
// Makes `number` current and loads its catalogue; false when it cannot be loaded.
bool ActivateLanguage(int number);
// Writes the bare decimal number to language.txt.
bool SaveLanguageNumber(int number);
// The site's "langName" of a language, "en" when the site has no entry for it.
std::string LanguageName(int number);
// Fills "$(kLocalSubDir)", "$(rootPath)" and "$(aPath)" for the current language.
std::string ReplaceLanguagePlaceholders(const std::string& text);
// The translation of `key` in the "Platform" domain; the key itself when there is none.
std::wstring Translate(const wchar_t* key);

using UserLanguageTable = std::map<int, std::map<int, int>>;  // primary → sub → number
// The table LoadLanguageSites built from the site's "sublangDefault"/"sublangNeutral".
const UserLanguageTable& UserLanguages();

// Pure parts, for the tests.
// Outer key: the low 8 bits (the primary language of every shipped language); inner key:
// the sub-language field (bits 10..15), matched exactly, else the entry -1, else the
// smallest sub-language key. No entry for the primary language gives English.
int GuessLanguageNumber(const UserLanguageTable& table, LANGID user_language);
// atoi: leading blanks skipped, anything non-numeric is 0.
int ParseLanguageFile(const std::string& content);
struct LanguageSiteValues {
  std::string sub_dir;
  std::string root_path;
  std::string a_path;
};
// Replaces every placeholder by its value, literally (a "$" in a value is copied as it is).
// Without an entry, "$(kLocalSubDir)" becomes empty and the two roots become
// `fallback_root`. The trailing "/" is dropped only when "$(aPath)" was replaced.
std::string ReplacePlaceholders(const std::string& text, const LanguageSiteValues* entry,
                                const std::string& fallback_root);
