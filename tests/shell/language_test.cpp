#include "shell/language.h"

#include <gtest/gtest.h>
#include <gdiplus.h>

#include "shipped_data.h"

namespace {

// GDI+, the shipped data files and the language site, once for the whole program.
class ShellEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token_, &input, nullptr);
    data_ = new ShippedData();
    LoadLanguageSites();
  }
  void TearDown() override {
    delete data_;
    Gdiplus::GdiplusShutdown(token_);
  }

 private:
  ULONG_PTR token_ = 0;
  ShippedData* data_ = nullptr;
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new ShellEnvironment);

TEST(LanguageGuess, ShippedSiteMapsCommonWindowsLanguages) {
  const UserLanguageTable& table = UserLanguages();
  const std::pair<LANGID, int> cases[] = {
      {0x0804, 0},  {0x0404, 1},  {0x0C04, 1},  {0x0407, 2},  {0x0807, 2},
      {0x0409, 3},  {0x0809, 3},  {0x040C, 4},  {0x0C0C, 4},  {0x0410, 5},  {0x0C0A, 6},
      {0x080A, 6},  {0x0816, 7},  {0x0416, 7},  {0x0411, 8},  {0x0412, 9},  {0x0419, 10},
      {0x0421, 11}, {0x0439, 12}, {0x041F, 13}, {0x0413, 14}, {0x0813, 14},
  };
  for (const auto& entry : cases)
    EXPECT_EQ(GuessLanguageNumber(table, entry.first), entry.second) << std::hex << entry.first;
  EXPECT_EQ(GuessLanguageNumber(table, 0x0415), kEnglishLanguage);  // Polish: not shipped
}

TEST(LanguageFile, SavedChoiceWinsAndIsReadLikeAtoi) {
  SavedLanguageFile file;
  file.Write("8");
  EXPECT_EQ(StartupLanguageNumber(), 8);
  file.Write("abc");
  EXPECT_EQ(StartupLanguageNumber(), 0);
  file.Write("  12xyz");
  EXPECT_EQ(StartupLanguageNumber(), 12);
  file.Write("-3");
  EXPECT_EQ(StartupLanguageNumber(), -3);
}

TEST(LanguageFile, NoFileGuessesAndWritesNothing) {
  SavedLanguageFile file;
  EXPECT_EQ(StartupLanguageNumber(), GuessLanguageNumber(UserLanguages(), ::GetUserDefaultLangID()));
  std::string content;
  EXPECT_FALSE(file.Read(&content));
}

TEST(LanguageFile, SavingWritesTheBareNumberAndSubstitutionFollowsAtOnce) {
  SavedLanguageFile file;
  const int previous = CurrentLanguageNumber();
  ASSERT_TRUE(SaveLanguageNumber(4));
  SetCurrentLanguageNumber(4);
  std::string content;
  ASSERT_TRUE(file.Read(&content));
  EXPECT_EQ(content, "4");
  EXPECT_EQ(ReplaceLanguagePlaceholders("https://x.example/$(kLocalSubDir)help"),
            "https://x.example/fr/help");
  EXPECT_EQ(LanguageName(4), "fr");
  ASSERT_TRUE(SaveLanguageNumber(-2));
  ASSERT_TRUE(file.Read(&content));
  EXPECT_EQ(content, "-2");
  SetCurrentLanguageNumber(previous);
}

TEST(LanguageSite, NamesAndMissingEntries) {
  EXPECT_EQ(LanguageName(2), "de");
  EXPECT_EQ(LanguageName(0), "zh-cn");
  EXPECT_EQ(LanguageName(99), "en");
  const int previous = CurrentLanguageNumber();
  SetCurrentLanguageNumber(99);
  // No entry: no sub-folder; the roots fall back to the catalogue's "url:root:brand".
  EXPECT_EQ(ReplaceLanguagePlaceholders("a/$(kLocalSubDir)b"), "a/b");
  SetCurrentLanguageNumber(previous);
}

TEST(Translation, LanguagesLoadTheirCatalogue) {
  ASSERT_TRUE(ActivateLanguage(8));
  EXPECT_EQ(CurrentLanguageNumber(), 8);
  EXPECT_NE(Translate(L"exit"), L"exit");
  EXPECT_EQ(Translate(L"no-such-key"), L"no-such-key");
  ASSERT_TRUE(ActivateLanguage(kEnglishLanguage));
  const std::wstring english_exit = Translate(L"exit");
  ASSERT_TRUE(ActivateLanguage(2));
  EXPECT_NE(Translate(L"exit"), english_exit);
  EXPECT_FALSE(ActivateLanguage(42));  // no catalogue for it
  ActivateLanguage(kEnglishLanguage);
}

}  // namespace
