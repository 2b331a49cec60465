#include "module_texts.h"

#include <cstring>

#include "module_link.h"

namespace {
// The host's language sub-folders, by language number.
constexpr const char* kSubDirectories[kLanguageCount] = {
    "zh-cn/", "zh-tw/", "de/", "", "fr/", "it/", "es/", "pt/",
    "ja/",    "ko/",    "ru/", "id/", "hi/", "tr/", "nl/"};
}  // namespace

int LanguageFromSubDirectory(const std::string& sub_directory) {
  for (int language = 0; language < kLanguageCount; ++language) {
    if (sub_directory == kSubDirectories[language]) return language;
  }
  return kEnglish;
}

std::wstring ModuleTexts::Get(const char* key) const {
  for (size_t i = 0; i < count_; ++i) {
    if (std::strcmp(rows_[i].key, key) != 0) continue;
    const char* text = rows_[i].texts[language_];
    if (!text || !*text) text = rows_[i].texts[kEnglish];
    return ToUtf16(text);
  }
  return ToUtf16(key);
}
