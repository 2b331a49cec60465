// Locales as the shell uses them: the character-set answer, texts that outlive their
// locale, and look-ups from several threads while locales are replaced.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "catalogue_support.h"

namespace linguo_test {
namespace {

TEST(Locale, CharacterSetAnswerPerLanguage) {
  // Non-zero for Chinese (both), Japanese, Korean, Russian, Hindi and Turkish.
  const int expected[15] = {1, 1, 0, 0, 0, 0, 0, 0, 1, 1, 1, 0, 1, 1, 0};
  for (int language = 0; language < 15; ++language) {
    EXPECT_EQ(wxCreateLocale(language)->IsDefaultCharsetLanguage() != 0, expected[language] != 0)
        << "language " << language;
  }
  for (int language : {-1, 15, 99}) {
    EXPECT_EQ(wxCreateLocale(language)->IsDefaultCharsetLanguage(), 0) << language;
  }
}

TEST(Locale, EarlierTextsStayValidAfterASecondLocaleAndAReload) {
  TempFolder first_folder(L"linguo");
  TempFolder second_folder(L"linguo");
  ASSERT_TRUE(LoadInto(wxCreateLocale(10), first_folder, SampleMo(false), 10));
  const wchar_t* exit_text = T(L"exit");
  const wchar_t* close_text = T(L"close");

  wxLocale* second = wxCreateLocale(4);
  ASSERT_TRUE(LoadInto(second, second_folder, BuildMo({{"exit", "Quitter"}}, true), 4));
  EXPECT_EQ(wxGetLocale(), second);
  EXPECT_STREQ(T(L"exit"), L"Quitter");
  const wchar_t* close_key = L"close";
  EXPECT_EQ(T(close_key), close_key) << "the new locale does not borrow the old catalogue";
  const wchar_t* quitter = T(L"exit");
  ASSERT_TRUE(LoadInto(second, second_folder, BuildMo({{"exit", "Sortir"}}, false), 4));
  EXPECT_STREQ(T(L"exit"), L"Sortir");

  EXPECT_STREQ(exit_text, kRussianExit);
  EXPECT_STREQ(close_text, kJapaneseClose);
  EXPECT_STREQ(quitter, L"Quitter");
}

TEST(Locale, ConcurrentLookupsWhileLocalesAreReplaced) {
  std::vector<std::pair<std::string, std::string>> entries;
  std::vector<std::wstring> keys;
  std::vector<std::wstring> texts;
  for (int i = 0; i < 200; ++i) {
    entries.push_back({"key-" + std::to_string(i), "text " + std::to_string(i * 7)});
    keys.push_back(L"key-" + std::to_wstring(i));
    texts.push_back(L"text " + std::to_wstring(i * 7));
  }
  TempFolder folder(L"linguo");
  ASSERT_TRUE(LoadInto(wxCreateLocale(3), folder, BuildMo(entries, false)));

  std::atomic<bool> stop{false};
  std::atomic<int> wrong{0};
  std::atomic<long> answered{0};
  std::vector<std::thread> readers;
  for (int t = 0; t < 8; ++t) {
    readers.emplace_back([&, t] {
      for (int round = 0; round < 1000000 && (round < 4000 || !stop); ++round) {
        const int i = (round * 31 + t * 17) % 200;
        const wchar_t* text = T(keys[i].c_str());
        // A locale created a moment ago may not have loaded yet: then the key comes back.
        if (text == keys[i].c_str()) continue;
        ++answered;
        if (texts[i] != text) ++wrong;
      }
    });
  }
  for (int round = 0; round < 20; ++round) {
    if (!LoadInto(wxCreateLocale(round % 15), folder, BuildMo(entries, round % 2 == 1),
                  round % 15)) {
      ++wrong;
    }
  }
  stop = true;
  for (std::thread& reader : readers) reader.join();
  EXPECT_EQ(wrong.load(), 0);
  EXPECT_GT(answered.load(), 0);
}

}  // namespace
}  // namespace linguo_test
