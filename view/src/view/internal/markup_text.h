// The markup and pattern rules behind Utils' helpers, in plain C++ so they build and are
// fuzzed without the platform.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vantorel {

using ColorRun = std::pair<std::wstring, std::uint32_t>;

// Coloured runs <font color="decimal">text</font>, tags in any letter case: pieces in text
// order, each run preceded by the (possibly empty) text before it; `plain` receives the text
// without tags. A colour that is not decimal reads as 0.
std::vector<ColorRun> ColorRuns(const std::wstring& text, std::wstring* plain,
                                std::uint32_t default_color);
// Every <a href="...">text</a> replaced by its text.
std::wstring LinkShownText(const std::wstring& text);

// ECMAScript patterns, case-sensitive; a pattern that does not compile throws
// std::regex_error. The first match anywhere, or the whole text when nothing matches.
std::wstring FirstMatchOrWhole(const std::wstring& text, const std::wstring& pattern);
std::string FirstMatchOrWhole(const std::string& text, const std::string& pattern);
bool MatchesWhole(const std::string& text, const std::string& pattern);
std::string ReplaceMatches(const std::string& text, const std::string& pattern,
                           const std::string& replacement);

}  // namespace vantorel
