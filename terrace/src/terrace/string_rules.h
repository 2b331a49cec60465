// The string utility's rules that need no platform: version order and argument substitution.
#pragma once

#include <string>

namespace terrace {

// Dotted versions part by part: negative, zero or positive. Null reads as "".
int CompareVersionText(const char* left, const char* right);

// `format` with its first %s (or %ls) replaced by `argument` and %% turned into %; every other
// directive is kept as text.
std::wstring SubstituteArgument(const wchar_t* format, const wchar_t* argument);

}  // namespace terrace
