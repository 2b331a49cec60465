// The locale objects and the translation entry points, as the shell uses them.
#include <gtest/gtest.h>

#include <atomic>
#include <cwchar>
#include <string>
#include <thread>
#include <vector>

#include "linguo/linguo.h"
#include "sample_catalogue.h"

namespace linguo_test {
namespace {

// Taken while the program starts, before any test can have created a locale.
const wchar_t kStartKey[] = L"ok";
const bool g_no_locale_at_start = wxGetLocale() == nullptr;
const wchar_t* const g_answer_at_start = wxGetTranslation(kStartKey, "Platform");
const wchar_t* const g_null_key_at_start = wxGetTranslation(nullptr, "Platform");

TEST(Locale, BeforeAnyLocaleKeysComeBackUnchanged) {
  EXPECT_TRUE(g_no_locale_at_start);
  EXPECT_EQ(g_answer_at_start, kStartKey);
  ASSERT_NE(g_null_key_at_start, nullptr);
  EXPECT_STREQ(g_null_key_at_start, L"");
}

TEST(Locale, CreatedLocaleBecomesCurrent) {
  wxLocale* first = wxCreateLocale(8);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(wxGetLocale(), first);
  EXPECT_EQ(first->Language(), 8);
  wxLocale* second = wxCreateLocale(42);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, first);
  EXPECT_EQ(wxGetLocale(), second);
  EXPECT_EQ(second->Language(), 42);
  EXPECT_EQ(first->Language(), 8);
}

TEST(Locale, UnloadedLocaleAnswersTheKey) {
  wxCreateLocale(3);
  const wchar_t* key = L"cancel";
  EXPECT_EQ(T(key), key);
}

TEST(Locale, LoadNeedsACatalogueForItsOwnLanguage) {
  TempFolder folder;
  WriteFile(folder.path() / L"de_DE" / L"strings.mo", BuildMo(SampleEntries(), false));
  wxLocale* locale = wxCreateLocale(3);
  EXPECT_FALSE(locale->Load(folder.folder().c_str(), 0));  // nothing registered
  EXPECT_TRUE(locale->AddCatalog(2, L"de_DE\\strings.mo"));
  EXPECT_FALSE(locale->Load(folder.folder().c_str(), 0));  // only German registered
  EXPECT_FALSE(locale->AddCatalog(3, nullptr));
  EXPECT_FALSE(locale->AddCatalog(3, L""));
  EXPECT_TRUE(locale->AddCatalog(3, L"de_DE\\strings.mo"));
  EXPECT_TRUE(locale->Load(folder.folder().c_str(), 0));
  EXPECT_STREQ(T(L"ok"), L"Okay");
}

TEST(Locale, MissingCatalogueFileFailsTheLoad) {
  TempFolder folder;
  wxLocale* locale = wxCreateLocale(3);
  locale->AddCatalog(3, L"en_US\\strings.mo");
  EXPECT_FALSE(locale->Load(folder.folder().c_str(), 0));
  EXPECT_FALSE(locale->Load(nullptr, 0));
  const wchar_t* key = L"ok";
  EXPECT_EQ(T(key), key);
}

TEST(Locale, HugeFileIsRefusedUnread) {
  TempFolder folder;
  Bytes padded = BuildMo(SampleEntries(), false);
  padded.resize((16u << 20) - 1, 0);  // bytes after the strings belong to no entry
  bool loaded = false;
  NewLocaleWith(folder, padded, &loaded);
  EXPECT_TRUE(loaded);
  padded.resize((16u << 20) + 1, 0);
  NewLocaleWith(folder, padded, &loaded);
  EXPECT_FALSE(loaded);
}

TEST(Locale, LaterRegistrationReplacesEarlierOne) {
  TempFolder folder;
  WriteFile(folder.path() / L"b" / L"strings.mo", BuildMo(SampleEntries(), false));
  wxLocale* locale = wxCreateLocale(5);
  locale->AddCatalog(5, L"a\\strings.mo");  // does not exist
  locale->AddCatalog(5, L"b\\strings.mo");
  EXPECT_TRUE(locale->Load(folder.folder().c_str(), 0));
}

TEST(Locale, FolderWithoutTrailingSeparatorOrWithSlashes) {
  TempFolder folder;
  WriteFile(folder.path() / L"xx" / L"strings.mo", BuildMo(SampleEntries(), false));
  std::wstring bare = folder.path().wstring();
  while (!bare.empty() && (bare.back() == L'\\' || bare.back() == L'/')) bare.pop_back();

  wxLocale* locale = wxCreateLocale(3);
  locale->AddCatalog(3, L"xx\\strings.mo");
  EXPECT_TRUE(locale->Load(bare.c_str(), 0));

  std::wstring slashed = bare;
  for (wchar_t& c : slashed) {
    if (c == L'\\') c = L'/';
  }
  locale = wxCreateLocale(3);
  locale->AddCatalog(3, L"xx/strings.mo");
  EXPECT_TRUE(locale->Load((slashed + L"/").c_str(), 0));
  EXPECT_STREQ(T(L"cancel"), L"Abbrechen");
}

TEST(Locale, KeysDomainsAndMisses) {
  TempFolder folder;
  bool loaded = false;
  NewLocaleWith(folder, BuildMo(SampleEntries(), false), &loaded);
  ASSERT_TRUE(loaded);

  EXPECT_STREQ(T(L"ok"), L"Okay");
  // Every loaded catalogue serves every domain; only a missing domain is refused.
  EXPECT_STREQ(wxGetTranslation(L"ok", "Other"), L"Okay");
  EXPECT_STREQ(wxGetTranslation(L"ok", ""), L"Okay");
  const wchar_t* ok = L"ok";
  EXPECT_EQ(wxGetTranslation(ok, nullptr), ok);

  const wchar_t* missing = L"no-such-key";
  EXPECT_EQ(T(missing), missing);
  const wchar_t* prefix = L"o";  // look-ups match whole keys only
  EXPECT_EQ(T(prefix), prefix);
  const wchar_t* longer = L"okay";
  EXPECT_EQ(T(longer), longer);
  const wchar_t* upper = L"OK";
  EXPECT_EQ(T(upper), upper);
  ASSERT_NE(wxGetTranslation(nullptr, "Platform"), nullptr);
  EXPECT_STREQ(wxGetTranslation(nullptr, "Platform"), L"");
  EXPECT_STREQ(wxGetTranslation(nullptr, nullptr), L"");
}

TEST(Locale, RepeatedCallsAnswerTheSameStorage) {
  TempFolder folder;
  bool loaded = false;
  NewLocaleWith(folder, BuildMo(SampleEntries(), false), &loaded);
  ASSERT_TRUE(loaded);
  const wchar_t* first = T(L"exit");
  std::wstring key = L"exit";  // a different pointer to an equal key
  EXPECT_EQ(T(key.c_str()), first);
}

TEST(Locale, CharacterSetAnswerPerLanguage) {
  // Non-zero for scripts outside Latin-1.
  const int expected[15] = {1, 1, 0, 0, 0, 0, 0, 0, 1, 1, 1, 0, 1, 1, 0};
  for (int language = 0; language < 15; ++language) {
    wxLocale* locale = wxCreateLocale(language);
    EXPECT_EQ(locale->IsDefaultCharsetLanguage() != 0, expected[language] != 0)
        << "language " << language;
  }
  for (int language : {-1, 15, 99, 1 << 30}) {
    EXPECT_EQ(wxCreateLocale(language)->IsDefaultCharsetLanguage(), 0) << language;
  }
}

TEST(Locale, FailedReloadKeepsTheLoadedCatalogue) {
  TempFolder folder;
  bool loaded = false;
  wxLocale* locale = NewLocaleWith(folder, BuildMo(SampleEntries(), false), &loaded);
  ASSERT_TRUE(loaded);
  const wchar_t* before = T(L"ok");
  Bytes damaged = BuildMo(SampleEntries(), false);
  damaged[0] ^= 0xFF;
  EXPECT_FALSE(LoadInto(locale, folder, damaged));
  EXPECT_EQ(T(L"ok"), before);
  EXPECT_STREQ(before, L"Okay");
}

TEST(Locale, ReloadKeepsEarlierTextsValid) {
  TempFolder folder;
  bool loaded = false;
  wxLocale* locale = NewLocaleWith(folder, BuildMo(SampleEntries(), false), &loaded);
  ASSERT_TRUE(loaded);
  const wchar_t* old_text = T(L"cancel");
  ASSERT_TRUE(LoadInto(locale, folder, BuildMo({{"cancel", "Annuler"}}, true)));
  EXPECT_STREQ(T(L"cancel"), L"Annuler");
  EXPECT_STREQ(old_text, L"Abbrechen");
}

TEST(Locale, SecondLocaleKeepsTextsOfTheFirstValid) {
  TempFolder first_folder;
  TempFolder second_folder;
  bool loaded = false;
  wxLocale* first = NewLocaleWith(first_folder, BuildMo(SampleEntries(), false), &loaded, 10);
  ASSERT_TRUE(loaded);
  const wchar_t* exit_text = T(L"exit");
  const wchar_t* close_text = T(L"close");

  wxLocale* second =
      NewLocaleWith(second_folder, BuildMo({{"exit", "Quitter"}}, true), &loaded, 4);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(wxGetLocale(), second);
  EXPECT_STREQ(T(L"exit"), L"Quitter");
  const wchar_t* close_key = L"close";
  EXPECT_EQ(T(close_key), close_key);  // the new locale does not borrow the old catalogue

  EXPECT_STREQ(exit_text, kRussianExit);
  EXPECT_STREQ(close_text, kJapaneseClose);
  EXPECT_EQ(first->Language(), 10);
  EXPECT_NE(first->IsDefaultCharsetLanguage(), 0);
}

TEST(Locale, ConcurrentLookupsWhileLocalesAreReplaced) {
  std::vector<MoEntry> entries;
  for (int i = 0; i < 200; ++i) {
    entries.push_back({"key-" + std::to_string(i), "text " + std::to_string(i * 7)});
  }
  TempFolder folder;
  bool loaded = false;
  NewLocaleWith(folder, BuildMo(entries, false), &loaded);
  ASSERT_TRUE(loaded);

  std::vector<std::wstring> keys;
  std::vector<std::wstring> texts;
  for (int i = 0; i < 200; ++i) {
    keys.push_back(L"key-" + std::to_wstring(i));
    texts.push_back(L"text " + std::to_wstring(i * 7));
  }

  std::atomic<bool> stop{false};
  std::atomic<int> wrong{0};
  std::atomic<long> answered{0};
  std::vector<std::thread> readers;
  for (int t = 0; t < 8; ++t) {
    readers.emplace_back([&, t] {
      for (int round = 0; round < 4000 || !stop.load(); ++round) {
        const int i = (round * 31 + t * 17) % 200;
        const wchar_t* key = keys[i].c_str();
        const wchar_t* text = T(key);
        // A locale created a moment ago may not have loaded yet: then the key comes back.
        if (text != key && texts[i] != text) ++wrong;
        if (text != key) ++answered;
        if (round > 1000000) break;
      }
    });
  }
  std::thread replacer([&] {
    for (int round = 0; round < 20; ++round) {
      wxLocale* locale = wxCreateLocale(round % 15);
      locale->AddCatalog(round % 15, L"xx\\strings.mo");
      if (!locale->Load(folder.folder().c_str(), 0)) ++wrong;
    }
    stop = true;
  });
  replacer.join();
  for (std::thread& reader : readers) reader.join();
  EXPECT_EQ(wrong.load(), 0);
  EXPECT_GT(answered.load(), 0);
}

}  // namespace
}  // namespace linguo_test
