#include "shell/language.h"

#include <atomic>
#include <cstdlib>
#include <string>

#include "app/data_file_problem.h"
#include "app/early_errors.h"
#include "app/product_identity.h"
#include "app/terrace_text.h"
#include "host/resource_catalogues.h"
#include "linguo/linguo.h"
#include "ter_user_defaults.h"

namespace {

constexpr const wchar_t* kCatalogues[kLanguageCount] = {
    L"zh_CN\\strings.mo", L"zh_TW\\strings.mo", L"de_DE\\strings.mo", L"en_US\\strings.mo",
    L"fr_FR\\strings.mo", L"it_IT\\strings.mo", L"es_ES\\strings.mo", L"pt_PT\\strings.mo",
    L"ja_JP\\strings.mo", L"ko_KR\\strings.mo", L"ru_RU\\strings.mo", L"id_ID\\strings.mo",
    L"hi_IN\\strings.mo", L"tr_TR\\strings.mo", L"nl_NL\\strings.mo"};

std::atomic<int> g_current_language{kEnglishLanguage};
UserLanguageTable g_user_languages;  // built once at start-up, read-only afterwards

std::string ApplicationFolder() {
  TerText folder(TerUtilityApp()->ApplicationFolder());
  return folder.str();
}

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

}  // namespace

const UserLanguageTable& UserLanguages() { return g_user_languages; }

int CurrentLanguageNumber() { return g_current_language.load(); }
void SetCurrentLanguageNumber(int number) { g_current_language.store(number); }

int GuessLanguageNumber(const UserLanguageTable& table, LANGID user_language) {
  auto primary = table.find(user_language & 0xFF);
  if (primary == table.end() || primary->second.empty()) return kEnglishLanguage;
  const auto& by_sub_language = primary->second;
  auto exact = by_sub_language.find(SUBLANGID(user_language));
  if (exact != by_sub_language.end()) return exact->second;
  auto any = by_sub_language.find(-1);
  if (any != by_sub_language.end()) return any->second;
  return by_sub_language.begin()->second;
}

int ParseLanguageFile(const std::string& content) { return std::atoi(content.c_str()); }

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

void LoadLanguageSites() {
  const std::string path = ApplicationFolder() + "LangSite.json";
  if (!InitUserDefaults("langSite", Utf8ToWide(path).c_str())) {
    LogError("Load LangSite.json ERROR: " + path + ": " + DataFileProblem(Utf8ToWide(path)));
    return;
  }
  ITerUserDefaults* site = GetUserDefaults("langSite");
  const TerJsonValue* root = site->GetRoot();
  for (const TerJsonValue* member = site->FirstMember(root); member != site->MemberEnd(root);
       member = site->NextMember(member)) {
    const int number = std::atoi(site->MemberName(member));
    const TerJsonValue* entry = site->MemberValue(member);
    const int primary = static_cast<int>(site->GetInt("sublangDefault", entry, 0));
    const int sub_language = static_cast<int>(site->GetInt("sublangNeutral", entry, 0));
    g_user_languages[primary][sub_language] = number;
  }
}

int StartupLanguageNumber() {
  TerBinaryData* saved = TerUtilityFile()->ReadFile(WideToUtf8(LanguageFilePath()).c_str());
  if (saved) {
    const std::string content(reinterpret_cast<const char*>(saved->data), saved->size);
    TerUtilityFile()->FreeBinayDataResult(saved);
    return ParseLanguageFile(content);
  }
  return GuessLanguageNumber(g_user_languages, ::GetUserDefaultLangID());
}

bool ActivateLanguage(int number) {
  SetCurrentLanguageNumber(number);
  wxLocale* locale = wxCreateLocale(number);
  if (!locale) return false;
  for (int i = 0; i < kLanguageCount; ++i) locale->AddCatalog(i, kCatalogues[i]);
  return locale->Load(Utf8ToWide(ApplicationFolder() + "I18n\\").c_str(), 0);
}

bool SaveLanguageNumber(int number) {
  const std::string text = std::to_string(number);
  return TerUtilityFile()->WriteFile(text.data(), text.size(),
                                     WideToUtf8(LanguageFilePath()).c_str());
}

std::string LanguageName(int number) {
  ITerUserDefaults* site = GetUserDefaults("langSite");
  const TerJsonValue* entry = SiteEntry(site, number);
  if (!entry) return "en";
  TerText name(site->GetString("langName", entry));
  return name.str();
}

std::string ReplaceLanguagePlaceholders(const std::string& text) {
  if (text.find("$(") == std::string::npos) return text;
  ITerUserDefaults* site = GetUserDefaults("langSite");
  const TerJsonValue* entry = SiteEntry(site, CurrentLanguageNumber());
  LanguageSiteValues values;
  if (entry) {
    values.sub_dir = TerText(site->GetString("subDir", entry)).str();
    values.root_path = TerText(site->GetString("rootPath", entry)).str();
    values.a_path = TerText(site->GetString("aPath", entry)).str();
  }
  return ReplacePlaceholders(text, entry ? &values : nullptr, FindUrl("url:root:brand"));
}

std::wstring Translate(const wchar_t* key) {
  const wchar_t* translation = wxGetTranslation(key, "Platform");
  return translation ? translation : L"";
}
