#include "shell/language_site.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "common/defaults_text.h"

namespace {

constexpr int kEnglish = 3;

// The site entry of a language; null when the site or the entry is missing.
const TerJsonValue* SiteEntry(ITerUserDefaults* site, int number) {
  return site ? site->GetChild(std::to_string(number).c_str(), nullptr) : nullptr;
}

// One pass that copies the text once: replacing in place would move the tail once per
// match, which is quadratic in the number of placeholders.
std::string ReplaceAll(const std::string& text, const std::string& placeholder,
                       const std::string& value) {
  std::string result;
  size_t from = 0;
  for (size_t at = text.find(placeholder); at != std::string::npos;
       at = text.find(placeholder, from)) {
    result.append(text, from, at - from).append(value);
    from = at + placeholder.size();
  }
  return result.append(text, from, std::string::npos);
}

int LeadingNumber(const char* text) {
  if (!text) return 0;
  while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
  const bool negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  int64_t number = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    number = std::min<int64_t>(number * 10 + (*text - '0'), int64_t{INT_MAX} + 1);
  }
  if (negative) return static_cast<int>(-number);
  return static_cast<int>(std::min<int64_t>(number, INT_MAX));
}

}  // namespace

UserLanguageTable BuildUserLanguageTable(ITerUserDefaults* site) {
  UserLanguageTable table;
  if (!site) return table;
  const TerJsonValue* root = site->GetRoot();
  for (const TerJsonValue* member = site->FirstMember(root); member != site->MemberEnd(root);
       member = site->NextMember(member)) {
    const int number = LeadingNumber(site->MemberName(member));
    const TerJsonValue* entry = site->MemberValue(member);
    const int primary = static_cast<int>(site->GetInt("sublangDefault", entry, 0));
    const int sub_language = static_cast<int>(site->GetInt("sublangNeutral", entry, 0));
    table[primary][sub_language] = number;
  }
  return table;
}

bool ReadSiteEntry(ITerUserDefaults* site, int number, LanguageSiteValues* values) {
  const TerJsonValue* entry = SiteEntry(site, number);
  if (!entry) return false;
  values->sub_dir = TakeDefaultsText(site->GetString("subDir", entry));
  values->root_path = TakeDefaultsText(site->GetString("rootPath", entry));
  values->a_path = TakeDefaultsText(site->GetString("aPath", entry));
  return true;
}

std::string SiteLanguageName(ITerUserDefaults* site, int number) {
  const TerJsonValue* entry = SiteEntry(site, number);
  if (!entry) return "en";
  return TakeDefaultsText(site->GetString("langName", entry));
}

int GuessLanguageNumber(const UserLanguageTable& table, uint16_t user_language) {
  auto primary = table.find(user_language & 0xFF);
  if (primary == table.end() || primary->second.empty()) return kEnglish;
  const auto& by_sub_language = primary->second;
  auto exact = by_sub_language.find(user_language >> 10);
  if (exact != by_sub_language.end()) return exact->second;
  auto any = by_sub_language.find(-1);
  if (any != by_sub_language.end()) return any->second;
  return by_sub_language.begin()->second;
}

int ParseLanguageFile(const std::string& content) { return LeadingNumber(content.c_str()); }

std::vector<SiteLanguage> SiteLanguages(ITerUserDefaults* site) {
  std::vector<SiteLanguage> languages;
  if (!site) return languages;
  const TerJsonValue* root = site->GetRoot();
  for (const TerJsonValue* member = site->FirstMember(root); member != site->MemberEnd(root);
       member = site->NextMember(member)) {
    languages.push_back({LeadingNumber(site->MemberName(member)),
                         TakeDefaultsText(site->GetString("name", site->MemberValue(member)))});
  }
  return languages;
}

std::string ReplacePlaceholders(const std::string& text, const LanguageSiteValues* entry,
                                const std::string& fallback_root) {
  std::string result = text;
  if (result.find("$(kLocalSubDir)") != std::string::npos)
    result = ReplaceAll(result, "$(kLocalSubDir)", entry ? entry->sub_dir : std::string());
  if (result.find("$(rootPath)") != std::string::npos)
    result = ReplaceAll(result, "$(rootPath)", entry ? entry->root_path : fallback_root);
  if (result.find("$(aPath)") != std::string::npos) {
    result = ReplaceAll(result, "$(aPath)", entry ? entry->a_path : fallback_root);
    if (!result.empty() && result.back() == '/') result.pop_back();
  }
  return result;
}
