// A module's own catalogue: each row a key and its text in the fifteen languages, in the
// host's language order (0 zh_CN, 1 zh_TW, 2 de, 3 en, 4 fr, 5 it, 6 es, 7 pt, 8 ja, 9 ko,
// 10 ru, 11 id, 12 hi, 13 tr, 14 nl). Texts are UTF-8.
#pragma once

#include <cstddef>
#include <string>

constexpr int kLanguageCount = 15;
constexpr int kEnglish = 3;

struct TextRow {
  const char* key;
  const char* texts[kLanguageCount];
};

// The language number for the host's language sub-folder ("de/", "zh-cn/", "" for English);
// English for anything unknown.
int LanguageFromSubDirectory(const std::string& sub_directory);

class ModuleTexts {
 public:
  ModuleTexts(const TextRow* rows, size_t count) : rows_(rows), count_(count) {}
  void SetLanguage(int language) { language_ = language; }
  int language() const { return language_; }
  // The text in the current language, falling back to English, then to the key itself.
  std::wstring Get(const char* key) const;

 private:
  const TextRow* rows_;
  size_t count_;
  int language_ = kEnglish;
};
