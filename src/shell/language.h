// The interface language: chosen at start (saved choice, else the Windows user language),
// translated through libLinguo, and the language site's placeholders in addresses.
#pragma once

#include <windows.h>

#include <string>

#include "shell/language_site.h"

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

// The table LoadLanguageSites built from the site's "sublangDefault"/"sublangNeutral".
const UserLanguageTable& UserLanguages();
