// Product versions as numbers: "1.10.0" is newer than "1.9.9", "2.0" equals "2.0.0".
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace upfetch {

using Version = std::vector<uint32_t>;

// Accepts 1 to 8 dot-separated parts of 1 to 9 decimal digits each, nothing else: no
// signs, blanks, suffixes or empty parts. False (version untouched) otherwise.
bool ParseVersion(std::string_view text, Version* version);

// Negative, zero or positive; missing trailing parts count as 0.
int CompareVersions(const Version& left, const Version& right);

}  // namespace upfetch
