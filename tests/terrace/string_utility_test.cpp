#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "test_support.h"

namespace {

std::wstring Wide(const char* text) {
  wchar_t* wide = TerUtilityString()->Utf8ToUtf16(text);
  const std::wstring copy = wide ? wide : L"<null>";
  TerUtilityString()->Release(wide);
  return copy;
}

TEST(UtfConversion, NonAsciiTextSurvivesBothWays) {
  const char utf8[] =
      "Gr\xC3\xBC\xC3\x9F"
      "e \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80";
  const wchar_t utf16[] = L"Gr\u00FC\u00DFe \u65E5\u672C \xD83D\xDE00";
  EXPECT_EQ(Wide(utf8), utf16);
  EXPECT_EQ(Str(TerUtilityString()->Utf16ToUtf8(utf16)), utf8);
  EXPECT_EQ(Wide(""), L"");
  EXPECT_EQ(Wide(nullptr), L"<null>");
}

TEST(UtfConversion, BrokenInputBecomesReplacementCharacters) {
  EXPECT_EQ(Wide("a\x80z"), L"a\uFFFDz");
  const wchar_t lone_surrogate[] = {L'a', 0xD800, L'z', 0};
  EXPECT_EQ(Str(TerUtilityString()->Utf16ToUtf8(lone_surrogate)), "a\xEF\xBF\xBDz");
}

std::wstring Format(const wchar_t* format, const wchar_t* argument) {
  wchar_t* text = TerUtilityString()->FormatWide(format, argument);
  const std::wstring result = text ? text : L"<null>";
  std::free(text);  // the contract: freed with the runtime's free()
  return result;
}

TEST(FormatWide, SubstitutesOneArgumentAndLeavesExtraDirectivesLiteral) {
  EXPECT_EQ(Format(L"Saved to %s.", L"C:\\Videos"), L"Saved to C:\\Videos.");
  EXPECT_EQ(Format(L"100%% of %ls", L"\u65E5\u672C"), L"100% of \u65E5\u672C");
  EXPECT_EQ(Format(L"[%s]", nullptr), L"[]");
  EXPECT_EQ(Format(nullptr, L"x"), L"<null>");
  // Formats come from translations: they must never read arguments that were not passed.
  EXPECT_EQ(Format(L"%s and %s", L"one"), L"one and %s");
  EXPECT_EQ(Format(L"%d files in %s %n", L"x"), L"%d files in x %n");
  EXPECT_EQ(Format(L"50%", L"x"), L"50%");
}

TEST(CompareVersions, NumericPartByPartWithMissingPartsAsZeroAndTextBreakingTies) {
  struct Case {
    const char* left;
    const char* right;
    int order;
  };
  // clang-format off
  const Case cases[] = {
      {"1.2.3", "1.2.3", 0}, {"1.10", "1.9", 1}, {"2.0", "10.0", -1}, {"01.002", "1.2", 0},
      {"1.1.64", "1.1.7", 1}, {"1.2", "1.2.0", 0}, {"1.2", "1.2.1", -1}, {"1", "0.9", 1},
      {nullptr, "0.0", 0}, {"1", nullptr, 1}, {"1.2b", "1.2a", 1}, {"1.2a", "1.2", 1},
      {"1.2-beta", "1.3", -1}, {"1.10rc", "1.9", 1}, {"beta", "0", 1}, {"1.x", "1.1", -1},
      {"123456789012345678901234567890", "123456789012345678901234567889", 1}};
  // clang-format on
  for (const Case& c : cases) {
    const int order = TerUtilityString()->CompareVersions(c.left, c.right);
    EXPECT_EQ((order > 0) - (order < 0), c.order)
        << (c.left ? c.left : "null") << " vs " << (c.right ? c.right : "null");
    const int reverse = TerUtilityString()->CompareVersions(c.right, c.left);
    EXPECT_EQ((reverse > 0) - (reverse < 0), -c.order) << "reversed";
  }
}

}  // namespace
