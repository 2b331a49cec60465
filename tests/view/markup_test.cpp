#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "view/utils.h"

namespace {

using Pieces = std::vector<Utils::ColorPiece>;
constexpr DWORD kDefault = 0x123456;

Pieces Pick(const wchar_t* text, std::wstring* plain_out = nullptr) {
  std::wstring plain;
  Pieces pieces = Utils::PickColorParts(text, plain, kDefault);
  if (plain_out) *plain_out = plain;
  return pieces;
}

TEST(PickColorParts, TextWithoutTagsIsOnePieceInTheDefaultColour) {
  std::wstring plain;
  EXPECT_EQ(Pick(L"just words", &plain), (Pieces{{L"just words", kDefault}}));
  EXPECT_EQ(plain, L"just words");
}

TEST(PickColorParts, RunBetweenTextGivesThreePieces) {
  std::wstring plain;
  EXPECT_EQ(Pick(L"A<font color=\"255\">B</font>C", &plain),
            (Pieces{{L"A", kDefault}, {L"B", 255}, {L"C", kDefault}}));
  EXPECT_EQ(plain, L"ABC");
}

TEST(PickColorParts, LeadingRunStartsWithAnEmptyPieceAndFinalTagLeavesNoTail) {
  EXPECT_EQ(Pick(L"<font color=\"10\">red</font>"), (Pieces{{L"", kDefault}, {L"red", 10}}));
  // Adjacent runs: an empty piece before each.
  EXPECT_EQ(Pick(L"<font color=\"1\">a</font><font color=\"2\">b</font>"),
            (Pieces{{L"", kDefault}, {L"a", 1}, {L"", kDefault}, {L"b", 2}}));
}

TEST(PickColorParts, SingleCharacterAfterTheLastRunIsItsOwnPiece) {
  EXPECT_EQ(Pick(L"x<font color=\"7\">y</font>!"),
            (Pieces{{L"x", kDefault}, {L"y", 7}, {L"!", kDefault}}));
}

TEST(PickColorParts, TagsInAnyLetterCase) {
  std::wstring plain;
  EXPECT_EQ(Pick(L"a<FONT COLOR=\"16711680\">b</FoNt>c", &plain),
            (Pieces{{L"a", kDefault}, {L"b", 16711680}, {L"c", kDefault}}));
  EXPECT_EQ(plain, L"abc");
}

TEST(PickColorParts, ColourReadsAsDecimal) {
  EXPECT_EQ(Pick(L"<font color=\"#FF0000\">h</font>")[1], (Utils::ColorPiece{L"h", 0}));
  EXPECT_EQ(Pick(L"<font color=\" 42px\">h</font>")[1], (Utils::ColorPiece{L"h", 42}));
  EXPECT_EQ(Pick(L"<font color=\"-1\">h</font>")[1], (Utils::ColorPiece{L"h", 0xFFFFFFFF}));
  EXPECT_EQ(Pick(L"<font color=\"\">h</font>")[1], (Utils::ColorPiece{L"h", 0}));
}

TEST(PickColorParts, MalformedMarkupStaysAsText) {
  const wchar_t* const texts[] = {
      L"a<font color=\"1\">b",                 // no closing tag
      L"a<font color=\"1\">b<i>c</i></font>",  // a tag inside the run
      L"a<font color=1>b</font>",              // unquoted value
  };
  for (const wchar_t* text : texts) {
    std::wstring plain;
    EXPECT_EQ(Pick(text, &plain), (Pieces{{text, kDefault}})) << text;
    EXPECT_EQ(plain, text);
  }
}

TEST(PickColorParts, AppendsToThePlainTextAndAcceptsNull) {
  std::wstring plain = L">";
  Utils::PickColorParts(L"<font color=\"1\">x</font>y", plain, kDefault);
  EXPECT_EQ(plain, L">xy");
  EXPECT_TRUE(Utils::PickColorParts(nullptr, plain, kDefault).empty());
  EXPECT_EQ(plain, L">xy");
}

TEST(PickColorParts, LongRunsDoNotExhaustTheStack) {
  const std::wstring run(20000, L'x');
  const std::wstring text = L"<font color=\"9\">" + run + L"</font>" + run;
  std::wstring plain;
  const Pieces pieces = Utils::PickColorParts(text.c_str(), plain, kDefault);
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[1], (Utils::ColorPiece{run, 9}));
  EXPECT_EQ(plain.size(), 2 * run.size());
}

TEST(PickLinkShowContent, KeepsShownTextAndTheBlanksAround) {
  EXPECT_EQ(Utils::PickLinkShowContent(L"see <a href=\"https://x.example/?a=1\">here</a> now"),
            L"see here now");
  EXPECT_EQ(Utils::PickLinkShowContent(L"<A HREF=\"u\">one</A>, <a Href=\"v\">two</a>"),
            L"one, two");
  EXPECT_EQ(Utils::PickLinkShowContent(L"no links"), L"no links");
  EXPECT_EQ(Utils::PickLinkShowContent(L""), L"");
  // Only a lone, double-quoted HREF counts as a link.
  EXPECT_EQ(Utils::PickLinkShowContent(L"<a class=\"c\" href=\"u\">x</a>"),
            L"<a class=\"c\" href=\"u\">x</a>");
}

TEST(FindIfMatch, FirstMatchOrTheWholeText) {
  const std::wstring version = LR"(\d+\.\d+\.\d+)";
  EXPECT_EQ(Utils::FindIfMatchW(L"Version 1.2.30 beta", version), L"1.2.30");
  EXPECT_EQ(Utils::FindIfMatchW(L"Version one", version), L"Version one");
  EXPECT_EQ(Utils::FindIfMatchW(L"1.0.0 and 2.0.0", version), L"1.0.0");
  EXPECT_EQ(Utils::FindIfMatch("build 7.8.9-rc", R"(\d+\.\d+\.\d+)"), "7.8.9");
  EXPECT_EQ(Utils::FindIfMatch("ABC", "b"), "ABC") << "case-sensitive";
}

TEST(IsMatch, WholeTextOnly) {
  EXPECT_FALSE(Utils::IsMatch("abc", "b"));
  EXPECT_TRUE(Utils::IsMatch("abc", "a.c"));
  EXPECT_FALSE(Utils::IsMatch("abcd", "a.c"));
  EXPECT_TRUE(Utils::IsMatch("", "x*"));
}

TEST(RepalceWithPattern, EcmaScriptReplacementFormat) {
  EXPECT_EQ(Utils::RepalceWithPattern("a1b22c", R"(\d+)", "#"), "a#b#c");
  EXPECT_EQ(Utils::RepalceWithPattern("key=value", "(\\w+)=(\\w+)", "$2=$1"), "value=key");
  EXPECT_EQ(Utils::RepalceWithPattern("cost 5", R"(\d)", "$$$&"), "cost $5");
  EXPECT_EQ(Utils::RepalceWithPattern("unchanged", "z", "y"), "unchanged");
}

TEST(Patterns, PatternThatDoesNotCompileThrowsToTheCaller) {
  EXPECT_THROW(Utils::IsMatch("abc", "(a"), std::regex_error);
  EXPECT_THROW(Utils::FindIfMatch("abc", "[z-a]"), std::regex_error);
  EXPECT_THROW(Utils::FindIfMatchW(L"abc", L"*"), std::regex_error);
  EXPECT_THROW(Utils::RepalceWithPattern("abc", "a{2,1}", "x"), std::regex_error);
}

}  // namespace
