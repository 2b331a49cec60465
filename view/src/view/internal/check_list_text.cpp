#include "view/internal/check_list_text.h"

#include <cwctype>

namespace vantorel {

std::wstring JoinSeparator(const std::wstring& locale_separator) {
  std::wstring separator = locale_separator;
  while (!separator.empty() && std::iswspace(separator.back())) separator.pop_back();
  if (separator.empty()) separator = L";";
  return separator + L" ";
}

std::wstring JoinChecked(const std::vector<std::pair<std::wstring, bool>>& items,
                         const std::wstring& separator) {
  std::wstring text;
  for (const auto& item : items) {
    if (!item.second) continue;
    if (!text.empty()) text += separator;
    text += item.first;
  }
  return text;
}

}  // namespace vantorel
