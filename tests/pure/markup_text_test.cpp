#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "view/internal/markup_text.h"

namespace {

using vantorel::ColorRun;
using Pieces = std::vector<ColorRun>;
constexpr std::uint32_t kDefault = 0x123456;

TEST(ColorRuns, PiecesAndPlainText) {
  const struct {
    const wchar_t* text;
    Pieces pieces;
    const wchar_t* plain;
  } cases[] = {
      {L"just words", {{L"just words", kDefault}}, L"just words"},
      {L"A<font color=\"255\">B</font>C",
       {{L"A", kDefault}, {L"B", 255}, {L"C", kDefault}},
       L"ABC"},
      // A leading run starts with an empty piece; a final closing tag leaves no tail.
      {L"<font color=\"10\">red</font>", {{L"", kDefault}, {L"red", 10}}, L"red"},
      {L"x<font color=\"7\">y</font>!", {{L"x", kDefault}, {L"y", 7}, {L"!", kDefault}}, L"xy!"},
      {L"a<FONT COLOR=\"16711680\">b</FoNt>", {{L"a", kDefault}, {L"b", 16711680}}, L"ab"},
      // The colour reads as decimal, so "#..." gives 0.
      {L"<font color=\"#FF0000\">h</font>", {{L"", kDefault}, {L"h", 0}}, L"h"},
      {L"<font color=\" 42px\">h</font>", {{L"", kDefault}, {L"h", 42}}, L"h"},
      // Out of range stops at the 32-bit limits on every platform.
      {L"<font color=\"99999999999\">h</font>", {{L"", kDefault}, {L"h", 0x7FFFFFFF}}, L"h"},
      {L"<font color=\"-1\">h</font>", {{L"", kDefault}, {L"h", 0xFFFFFFFF}}, L"h"},
      // Not a run: unquoted value, no closing tag.
      {L"a<font color=1>b</font>",
       {{L"a<font color=1>b</font>", kDefault}},
       L"a<font color=1>b</font>"},
      {L"a<font color=\"1\">b", {{L"a<font color=\"1\">b", kDefault}}, L"a<font color=\"1\">b"},
  };
  for (const auto& c : cases) {
    std::wstring plain = L">";
    EXPECT_EQ(vantorel::ColorRuns(c.text, &plain, kDefault), c.pieces) << c.text;
    EXPECT_EQ(plain, std::wstring(L">") + c.plain) << "appended: " << c.text;
  }
}

TEST(ColorRuns, LongRunsDoNotExhaustTheStack) {
  const std::wstring run(20000, L'x');
  const std::wstring text = L"<font color=\"9\">" + run + L"</font>" + run;
  std::wstring plain;
  const Pieces pieces = vantorel::ColorRuns(text, &plain, kDefault);
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[1], (ColorRun{run, 9}));
}

TEST(LinkShownText, KeepsShownTextAndTheBlanksAround) {
  EXPECT_EQ(vantorel::LinkShownText(L"see <a href=\"https://x.example/?a=1\">here</a> now"),
            L"see here now");
  EXPECT_EQ(vantorel::LinkShownText(L"<A HREF=\"u\">one</A>, <a Href=\"v\">two</a>"),
            L"one, two");
  EXPECT_EQ(vantorel::LinkShownText(L"<a class=\"c\" href=\"u\">x</a>"),
            L"<a class=\"c\" href=\"u\">x</a>");
}

TEST(Patterns, FirstMatchFullMatchReplacementAndBadPatterns) {
  EXPECT_EQ(vantorel::FirstMatchOrWhole(L"Version 1.2.30 and 2.0.0", LR"(\d+\.\d+\.\d+)"), L"1.2.30");
  EXPECT_EQ(vantorel::FirstMatchOrWhole("Version one", R"(\d+\.\d+\.\d+)"), "Version one");
  EXPECT_FALSE(vantorel::MatchesWhole("abc", "b"));
  EXPECT_TRUE(vantorel::MatchesWhole("abc", "a.c"));
  EXPECT_EQ(vantorel::ReplaceMatches("key=value", "(\\w+)=(\\w+)", "$2=$1"), "value=key");
  EXPECT_EQ(vantorel::ReplaceMatches("cost 5", R"(\d)", "$$$&"), "cost $5");
  EXPECT_THROW(vantorel::MatchesWhole("abc", "(a"), std::regex_error);
  EXPECT_THROW(vantorel::FirstMatchOrWhole(L"abc", L"*"), std::regex_error);
  EXPECT_THROW(vantorel::ReplaceMatches("abc", "a{2,1}", "x"), std::regex_error);
}

}  // namespace
