// UTF-8 and UTF-16 for the library's own calls into the system.
#pragma once

#include <string>

namespace upfetch {

std::wstring Widen(const std::string& text);    // empty for empty or invalid UTF-8
std::string Narrow(const std::wstring& text);

}  // namespace upfetch
