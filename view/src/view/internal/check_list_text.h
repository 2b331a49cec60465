// The closed check-list combo box shows its checked items' texts joined by the user's list
// separator.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vantorel {

// The locale's list separator as the combo box joins with it: trailing blanks dropped, ";"
// when nothing is left, then one blank.
std::wstring JoinSeparator(const std::wstring& locale_separator);

// The checked texts in order, joined.
std::wstring JoinChecked(const std::vector<std::pair<std::wstring, bool>>& items,
                         const std::wstring& separator);

}  // namespace vantorel
