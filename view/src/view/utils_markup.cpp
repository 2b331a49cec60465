#include "view/internal/markup_text.h"
#include "view/utils.h"

std::vector<Utils::ColorPiece> Utils::PickColorParts(const wchar_t* text, std::wstring& plain,
                                                     DWORD default_color) {
  std::vector<ColorPiece> pieces;
  for (auto& run : vantorel::ColorRuns(text ? text : L"", &plain, default_color))
    pieces.emplace_back(std::move(run.first), run.second);
  return pieces;
}

std::wstring Utils::PickLinkShowContent(const std::wstring& text) {
  return vantorel::LinkShownText(text);
}

std::wstring Utils::FindIfMatchW(const std::wstring& text, const std::wstring& pattern) {
  return vantorel::FirstMatchOrWhole(text, pattern);
}

std::string Utils::FindIfMatch(const std::string& text, const std::string& pattern) {
  return vantorel::FirstMatchOrWhole(text, pattern);
}

bool Utils::IsMatch(const std::string& text, const std::string& pattern) {
  return vantorel::MatchesWhole(text, pattern);
}

std::string Utils::RepalceWithPattern(const std::string& text, const std::string& pattern,
                                      const std::string& replacement) {
  return vantorel::ReplaceMatches(text, pattern, replacement);
}
