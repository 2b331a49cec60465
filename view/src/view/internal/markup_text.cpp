#include "view/internal/markup_text.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <regex>
#include <utility>

namespace vantorel {
namespace {

// One tagged run: <prefix VALUE">TEXT</close>, e.g. <font color="255">red</font>.
struct TaggedRun {
  size_t begin;  // of the opening tag
  size_t end;    // past the closing tag
  size_t value_begin, value_end;
  size_t text_begin, text_end;
};

bool SameIgnoringAsciiCase(const std::wstring& text, size_t at, const wchar_t* literal) {
  for (size_t i = 0; literal[i]; ++i) {
    if (at + i >= text.size()) return false;
    wchar_t c = text[at + i];
    wchar_t l = literal[i];
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    if (l >= L'A' && l <= L'Z') l = static_cast<wchar_t>(l - L'A' + L'a');
    if (c != l) return false;
  }
  return true;
}

// The leftmost run at or after `from`, as the pattern (prefix)([^"]*)(">)([^<]*)(close) would
// match it case-insensitively. Scanned by hand: std::regex recurses once per character of a
// repetition and overflows the stack on runs of a few thousand characters.
bool FindTaggedRun(const std::wstring& text, size_t from, const wchar_t* prefix,
                   const wchar_t* close, TaggedRun* run) {
  const size_t prefix_length = std::wcslen(prefix);
  const size_t close_length = std::wcslen(close);
  for (size_t start = text.find(L'<', from); start != std::wstring::npos;
       start = text.find(L'<', start + 1)) {
    if (!SameIgnoringAsciiCase(text, start, prefix)) continue;
    const size_t value_begin = start + prefix_length;
    const size_t value_end = text.find(L'"', value_begin);
    if (value_end == std::wstring::npos) return false;  // no later run can close its value
    if (value_end + 1 >= text.size() || text[value_end + 1] != L'>') continue;
    const size_t text_begin = value_end + 2;
    const size_t text_end = text.find(L'<', text_begin);
    if (text_end == std::wstring::npos) return false;
    if (!SameIgnoringAsciiCase(text, text_end, close)) continue;
    *run = {start, text_end + close_length, value_begin, value_end, text_begin, text_end};
    return true;
  }
  return false;
}

constexpr const wchar_t kColorOpen[] = L"<font color=\"";
constexpr const wchar_t kColorClose[] = L"</font>";
constexpr const wchar_t kLinkOpen[] = L"<a href=\"";
constexpr const wchar_t kLinkClose[] = L"</a>";

// Decimal as atoi reads it: leading blanks, a sign, digits up to the first other character;
// out of range it stops at the 32-bit limits, wherever `long` is wider.
std::uint32_t ReadColor(const std::wstring& value) {
  const long long number = std::wcstoll(value.c_str(), nullptr, 10);
  return static_cast<std::uint32_t>(
      static_cast<std::int32_t>(std::clamp<long long>(number, INT32_MIN, INT32_MAX)));
}

template <typename Char>
std::basic_string<Char> FirstMatchOrWholeOf(const std::basic_string<Char>& text,
                                            const std::basic_string<Char>& pattern) {
  const std::basic_regex<Char> compiled(pattern, std::regex_constants::ECMAScript);
  std::match_results<typename std::basic_string<Char>::const_iterator> match;
  if (std::regex_search(text, match, compiled)) return match.str(0);
  return text;
}

}  // namespace

std::vector<ColorRun> ColorRuns(const std::wstring& source, std::wstring* plain,
                                std::uint32_t default_color) {
  std::vector<ColorRun> pieces;
  size_t position = 0;
  TaggedRun run;
  while (FindTaggedRun(source, position, kColorOpen, kColorClose, &run)) {
    std::wstring prefix = source.substr(position, run.begin - position);
    std::wstring run_text = source.substr(run.text_begin, run.text_end - run.text_begin);
    *plain += prefix;
    *plain += run_text;
    pieces.emplace_back(std::move(prefix), default_color);
    pieces.emplace_back(std::move(run_text),
                        ReadColor(source.substr(run.value_begin, run.value_end - run.value_begin)));
    position = run.end;
  }
  if (position < source.size()) {
    std::wstring rest = source.substr(position);
    *plain += rest;
    pieces.emplace_back(std::move(rest), default_color);
  }
  return pieces;
}

std::wstring LinkShownText(const std::wstring& text) {
  std::wstring shown;
  size_t position = 0;
  TaggedRun link;
  while (FindTaggedRun(text, position, kLinkOpen, kLinkClose, &link)) {
    shown.append(text, position, link.begin - position);
    shown.append(text, link.text_begin, link.text_end - link.text_begin);
    position = link.end;
  }
  shown.append(text, position, std::wstring::npos);
  return shown;
}

std::wstring FirstMatchOrWhole(const std::wstring& text, const std::wstring& pattern) {
  return FirstMatchOrWholeOf(text, pattern);
}

std::string FirstMatchOrWhole(const std::string& text, const std::string& pattern) {
  return FirstMatchOrWholeOf(text, pattern);
}

bool MatchesWhole(const std::string& text, const std::string& pattern) {
  return std::regex_match(text, std::regex(pattern, std::regex_constants::ECMAScript));
}

std::string ReplaceMatches(const std::string& text, const std::string& pattern,
                           const std::string& replacement) {
  return std::regex_replace(text, std::regex(pattern, std::regex_constants::ECMAScript),
                            replacement);
}

}  // namespace vantorel
