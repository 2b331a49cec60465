// The language site's table and entries, the language guess and the placeholders.
#include "shell/language_site.h"

#include <gtest/gtest.h>

#include <climits>

#include "defaults_from_text.h"

namespace {

constexpr int kEnglish = 3;

constexpr uint16_t Lang(int primary, int sub) { return uint16_t(sub << 10 | primary); }

TEST(LanguageGuess, InnerKeyRules) {
  const UserLanguageTable table = {{0x07, {{3, 20}, {5, 21}}}, {0x09, {{1, 30}, {-1, 31}}}};
  EXPECT_EQ(GuessLanguageNumber(table, Lang(0x07, 5)), 21);  // exact
  EXPECT_EQ(GuessLanguageNumber(table, Lang(0x07, 9)), 20);  // smallest key
  EXPECT_EQ(GuessLanguageNumber(table, Lang(0x09, 1)), 30);
  EXPECT_EQ(GuessLanguageNumber(table, Lang(0x09, 2)), 31);  // the -1 entry
  EXPECT_EQ(GuessLanguageNumber(table, Lang(0x0C, 1)), kEnglish);
  EXPECT_EQ(GuessLanguageNumber({}, 0x0407), kEnglish);
}

TEST(LanguageSite, TableAndEntriesFromTheFile) {
  const auto site = DefaultsFromText(R"({
    "2": {"langName": "de", "subDir": "de/", "rootPath": "r", "aPath": "a",
          "sublangDefault": 7, "sublangNeutral": -1},
    "4x": {"sublangDefault": 12, "sublangNeutral": 1},
    "x": {"sublangDefault": 12, "sublangNeutral": 2},
    "5": {"sublangDefault": 12, "sublangNeutral": 1},
    "6": "not an object",
    "8": {"langName": 8}})");
  const UserLanguageTable table = BuildUserLanguageTable(site.get());
  EXPECT_EQ(table, (UserLanguageTable{{7, {{-1, 2}}}, {12, {{1, 5}, {2, 0}}}, {0, {{0, 8}}}}))
      << "names read as atoi does; a later pair replaces an earlier one; missing numbers are 0";
  EXPECT_TRUE(BuildUserLanguageTable(nullptr).empty());

  LanguageSiteValues values;
  ASSERT_TRUE(ReadSiteEntry(site.get(), 2, &values));
  EXPECT_EQ(values.sub_dir, "de/");
  EXPECT_EQ(values.root_path, "r");
  EXPECT_EQ(values.a_path, "a");
  EXPECT_FALSE(ReadSiteEntry(site.get(), 3, &values));
  EXPECT_FALSE(ReadSiteEntry(nullptr, 2, &values));
  EXPECT_EQ(SiteLanguageName(site.get(), 2), "de");
  EXPECT_EQ(SiteLanguageName(site.get(), 8), "") << "an entry without a text name";
  EXPECT_EQ(SiteLanguageName(site.get(), 9), "en");
  EXPECT_EQ(SiteLanguageName(nullptr, 2), "en");
}

// The language file and the site's names are read as atoi reads them, except that numbers
// past the int range stop at its ends: atoi leaves them undefined.
TEST(LanguageSite, NumbersAsAtoiReadsThemBoundedToInt) {
  const struct {
    const char* text;
    int number;
  } cases[] = {{"7", 7},          {"  \t\n12x", 12}, {"+5", 5},
               {"-3", -3},        {"x5", 0},           {"", 0},
               {"- 5", 0},        {"2147483647", INT_MAX},
               {"2147483648", INT_MAX},                 {"99999999999999999999999", INT_MAX},
               {"-2147483648", INT_MIN},               {"-99999999999999999999", INT_MIN}};
  for (const auto& c : cases) EXPECT_EQ(ParseLanguageFile(c.text), c.number) << c.text;

  const auto site = DefaultsFromText(R"({"3": {"name": "English"}, "99999999999": {"name": 5},
                                         "x": {}, "4": "no object"})");
  const std::vector<SiteLanguage> languages = SiteLanguages(site.get());
  ASSERT_EQ(languages.size(), 4u) << "every entry, in the file's order";
  EXPECT_EQ(languages[0].number, 3);
  EXPECT_EQ(languages[0].name, "English");
  EXPECT_EQ(languages[1].number, INT_MAX);
  EXPECT_EQ(languages[1].name, "");
  EXPECT_EQ(languages[2].number, 0);
  EXPECT_EQ(languages[3].name, "");
  EXPECT_TRUE(SiteLanguages(nullptr).empty());
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

}  // namespace
