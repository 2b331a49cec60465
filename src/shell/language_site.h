// The language site (LangSite.json) and the language-choice rules, without the platform.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "ter_user_defaults.h"

using UserLanguageTable = std::map<int, std::map<int, int>>;  // primary → sub → number

// Every top-level member of the site, in document order: table[sublangDefault][sublangNeutral]
// = the member's name read as ParseLanguageFile does; a later member with the same pair
// replaces the number.
UserLanguageTable BuildUserLanguageTable(ITerUserDefaults* site);

struct LanguageSiteValues {
  std::string sub_dir;
  std::string root_path;
  std::string a_path;
};
// The site's entry for a language; false when the site or the entry is missing.
bool ReadSiteEntry(ITerUserDefaults* site, int number, LanguageSiteValues* values);
// The entry's "langName"; "en" when the site has no entry for the language.
std::string SiteLanguageName(ITerUserDefaults* site, int number);

// Outer key: the low 8 bits (the primary language of every shipped language); inner key:
// the sub-language field (bits 10..15), matched exactly, else the entry -1, else the
// smallest sub-language key. No entry for the primary language gives English.
int GuessLanguageNumber(const UserLanguageTable& table, uint16_t user_language);
// As atoi reads it: leading blanks, a sign, digits; anything non-numeric is 0, and numbers
// past the int range stop at its ends instead of being undefined.
int ParseLanguageFile(const std::string& content);

// Every top-level entry of the site in document order: its number, read as the language file
// is, and its "name" (empty when missing), for the language list of the settings.
struct SiteLanguage {
  int number;
  std::string name;
};
std::vector<SiteLanguage> SiteLanguages(ITerUserDefaults* site);
// Replaces every placeholder by its value, literally (a "$" in a value is copied as it is).
// Without an entry, "$(kLocalSubDir)" becomes empty and the two roots become
// `fallback_root`. The trailing "/" is dropped only when "$(aPath)" was replaced.
std::string ReplacePlaceholders(const std::string& text, const LanguageSiteValues* entry,
                                const std::string& fallback_root);
