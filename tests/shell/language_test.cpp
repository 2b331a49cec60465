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

TEST(LanguageGuess, InnerKeyRules) {
  const UserLanguageTable table = {{0x07, {{3, 20}, {5, 21}}}, {0x09, {{1, 30}, {-1, 31}}}};
  EXPECT_EQ(GuessLanguageNumber(table, MAKELANGID(0x07, 5)), 21);  // exact
  EXPECT_EQ(GuessLanguageNumber(table, MAKELANGID(0x07, 9)), 20);  // smallest key
  EXPECT_EQ(GuessLanguageNumber(table, MAKELANGID(0x09, 1)), 30);
  EXPECT_EQ(GuessLanguageNumber(table, MAKELANGID(0x09, 2)), 31);  // the -1 entry
  EXPECT_EQ(GuessLanguageNumber(table, MAKELANGID(0x0C, 1)), kEnglishLanguage);
  EXPECT_EQ(GuessLanguageNumber({}, 0x0407), kEnglishLanguage);
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

TEST(Placeholders, EveryOccurrenceIsReplacedLiterally) {
  const LanguageSiteValues site = {"de/", "https://root.example/", "https://a.example/de"};
  EXPECT_EQ(ReplacePlaceholders("$(kLocalSubDir)x/$(kLocalSubDir)", &site, "fb"), "de/x/de/");
  EXPECT_EQ(ReplacePlaceholders("$(rootPath)docs/", &site, "fb"), "https://root.example/docs/");
  EXPECT_EQ(ReplacePlaceholders("$(aPath)/", &site, "fb"), "https://a.example/de");
  EXPECT_EQ(ReplacePlaceholders("$(aPath)/x/", &site, "fb"), "https://a.example/de/x");
  EXPECT_EQ(ReplacePlaceholders("no placeholders/", &site, "fb"), "no placeholders/");
  EXPECT_EQ(ReplacePlaceholders("", &site, "fb"), "");

  const LanguageSiteValues dollars = {"$1/", "$&", "$$"};
  EXPECT_EQ(ReplacePlaceholders("$(kLocalSubDir)|$(rootPath)|$(aPath)", &dollars, ""),
            "$1/|$&|$$");
  EXPECT_EQ(ReplacePlaceholders("$(rootPath)|$(aPath)/|$(kLocalSubDir)", nullptr, "https://b/"),
            "https://b/|https://b//|");
}

// Option.json may hold hundreds of thousands of placeholders; replacing them in place moved
// the tail once per match and kept start-up busy for over a minute.
TEST(Placeholders, ManyPlaceholdersAreReplacedInOnePass) {
  const LanguageSiteValues site = {"de/", "https://root.example/", "$(kLocalSubDir)"};
  constexpr size_t kCount = 300000;
  std::string text;
  for (size_t i = 0; i < kCount; ++i) text += "$(kLocalSubDir)$(rootPath)x$(aPath)";
  const std::string result = ReplacePlaceholders(text, &site, "fb");
  const std::string unit = "de/https://root.example/x$(kLocalSubDir)";
  ASSERT_EQ(result.size(), kCount * unit.size());
  for (size_t at = 0; at < result.size(); at += unit.size())
    ASSERT_EQ(result.compare(at, unit.size(), unit), 0) << at;
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
