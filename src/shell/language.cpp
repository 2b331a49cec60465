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

}  // namespace

const UserLanguageTable& UserLanguages() { return g_user_languages; }

int CurrentLanguageNumber() { return g_current_language.load(); }
void SetCurrentLanguageNumber(int number) { g_current_language.store(number); }

void LoadLanguageSites() {
  const std::string path = ApplicationFolder() + "LangSite.json";
  if (!InitUserDefaults("langSite", Utf8ToWide(path).c_str())) {
    LogError("Load LangSite.json ERROR: " + path + ": " + DataFileProblem(Utf8ToWide(path)));
    return;
  }
  g_user_languages = BuildUserLanguageTable(GetUserDefaults("langSite"));
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
  return SiteLanguageName(GetUserDefaults("langSite"), number);
}

std::string ReplaceLanguagePlaceholders(const std::string& text) {
  if (text.find("$(") == std::string::npos) return text;
  LanguageSiteValues values;
  const bool entry = ReadSiteEntry(GetUserDefaults("langSite"), CurrentLanguageNumber(), &values);
  return ReplacePlaceholders(text, entry ? &values : nullptr, FindUrl("url:root:brand"));
}

std::wstring Translate(const wchar_t* key) {
  const wchar_t* translation = wxGetTranslation(key, "Platform");
  return translation ? translation : L"";
}
