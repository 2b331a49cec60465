#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "ter_utility.h"
#include "test_support.h"

using terrace_test::Text;
using terrace_test::WideText;

namespace {

const char kMixedUtf8[] =
    "Gr\xC3\xBC\xC3\x9F"
    "e \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80";
const wchar_t kMixedUtf16[] = L"Gr\u00FC\u00DFe \u65E5\u672C \xD83D\xDE00";

TEST(UtfConversion, NonAsciiTextSurvivesBothWays) {
  WideText wide(TerUtilityString()->Utf8ToUtf16(kMixedUtf8));
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(std::wstring(wide.get()), std::wstring(kMixedUtf16));

  Text narrow(TerUtilityString()->Utf16ToUtf8(kMixedUtf16));
  ASSERT_NE(narrow, nullptr);
  EXPECT_EQ(std::string(narrow.get()), std::string(kMixedUtf8));
}

TEST(UtfConversion, NullGivesNullAndEmptyGivesEmpty) {
  EXPECT_EQ(TerUtilityString()->Utf8ToUtf16(nullptr), nullptr);
  EXPECT_EQ(TerUtilityString()->Utf16ToUtf8(nullptr), nullptr);
  WideText wide(TerUtilityString()->Utf8ToUtf16(""));
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(wide.get()[0], L'\0');
  Text narrow(TerUtilityString()->Utf16ToUtf8(L""));
  ASSERT_NE(narrow, nullptr);
  EXPECT_EQ(narrow.get()[0], '\0');
}

TEST(UtfConversion, BrokenInputBecomesReplacementCharacters) {
  // A lone continuation byte and a lone surrogate: no crash, and the valid rest is kept.
  WideText wide(TerUtilityString()->Utf8ToUtf16("a\x80z"));
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(std::wstring(wide.get()), L"a\uFFFDz");
  const wchar_t lone_surrogate[] = {L'a', 0xD800, L'z', 0};
  Text narrow(TerUtilityString()->Utf16ToUtf8(lone_surrogate));
  ASSERT_NE(narrow, nullptr);
  EXPECT_EQ(narrow.get()[0], 'a');
}

std::wstring Format(const wchar_t* format, const wchar_t* argument) {
  wchar_t* text = TerUtilityString()->FormatWide(format, argument);
  if (!text) return L"<null>";
  std::wstring result = text;
  std::free(text);  // the contract: freed with the runtime's free()
  return result;
}

TEST(FormatWide, SubstitutesTheOneArgument) {
  EXPECT_EQ(Format(L"Saved to %s.", L"C:\\Videos"), L"Saved to C:\\Videos.");
  EXPECT_EQ(Format(L"%ls!", L"\u65E5\u672C"), L"\u65E5\u672C!");
  EXPECT_EQ(Format(L"No argument here", L"x"), L"No argument here");
  EXPECT_EQ(Format(L"100%% of %s", L"it"), L"100% of it");
  EXPECT_EQ(Format(L"[%s]", nullptr), L"[]");
  EXPECT_EQ(Format(nullptr, L"x"), L"<null>");
}

TEST(FormatWide, ExtraDirectivesStayLiteralInsteadOfReadingMissingArguments) {
  EXPECT_EQ(Format(L"%s and %s", L"one"), L"one and %s");
  EXPECT_EQ(Format(L"%d files in %s %n", L"x"), L"%d files in x %n");
  EXPECT_EQ(Format(L"50%", L"x"), L"50%");
}

int Compare(const char* left, const char* right) {
  const int order = TerUtilityString()->CompareVersions(left, right);
  return (order > 0) - (order < 0);
}

TEST(CompareVersions, NumbersComparePartByPart) {
  EXPECT_EQ(Compare("1.2.3", "1.2.3"), 0);
  EXPECT_EQ(Compare("1.10", "1.9"), 1);
  EXPECT_EQ(Compare("1.9", "1.10"), -1);
  EXPECT_EQ(Compare("2.0", "10.0"), -1);
  EXPECT_EQ(Compare("1.1.64", "1.1.7"), 1);
  EXPECT_EQ(Compare("01.002", "1.2"), 0);
  EXPECT_EQ(Compare("123456789012345678901234567890", "123456789012345678901234567889"), 1);
}

TEST(CompareVersions, MissingPartsCountAsZero) {
  EXPECT_EQ(Compare("1.2", "1.2.0"), 0);
  EXPECT_EQ(Compare("1.2.0.0", "1.2"), 0);
  EXPECT_EQ(Compare("1.2", "1.2.1"), -1);
  EXPECT_EQ(Compare("1", "0.9"), 1);
  EXPECT_EQ(Compare("", "0"), 0);
  EXPECT_EQ(Compare(nullptr, "0.0"), 0);
  EXPECT_EQ(Compare(nullptr, "0.1"), -1);
  EXPECT_EQ(Compare("1", nullptr), 1);
  EXPECT_EQ(Compare(nullptr, nullptr), 0);
}

TEST(CompareVersions, TextAfterTheDigitsOnlyBreaksTies) {
  EXPECT_EQ(Compare("1.2b", "1.2a"), 1);
  EXPECT_EQ(Compare("1.2a", "1.2"), 1);
  EXPECT_EQ(Compare("1.2-beta", "1.3"), -1);  // the number decides first
  EXPECT_EQ(Compare("1.10rc", "1.9"), 1);
  EXPECT_EQ(Compare("beta", "0"), 1);  // no digits: 0, then the text
  EXPECT_EQ(Compare("x.1", "0.1"), 1);
  EXPECT_EQ(Compare("1.x", "1.0"), 1);
  EXPECT_EQ(Compare("1.x", "1.1"), -1);
}

}  // namespace
