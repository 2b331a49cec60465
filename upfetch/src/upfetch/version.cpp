#include "upfetch/version.h"

namespace upfetch {

namespace {
constexpr size_t kMaxParts = 8;
constexpr size_t kMaxDigits = 9;  // every part fits 32 bits
}  // namespace

bool ParseVersion(std::string_view text, Version* version) {
  Version parts;
  size_t digits = 0;
  uint32_t part = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == '.') {
      if (digits == 0 || parts.size() == kMaxParts) return false;
      parts.push_back(part);
      digits = 0;
      part = 0;
      continue;
    }
    const char c = text[i];
    if (c < '0' || c > '9' || ++digits > kMaxDigits) return false;
    part = part * 10 + static_cast<uint32_t>(c - '0');
  }
  *version = std::move(parts);
  return true;
}

int CompareVersions(const Version& left, const Version& right) {
  const size_t count = left.size() > right.size() ? left.size() : right.size();
  for (size_t i = 0; i < count; ++i) {
    const uint32_t a = i < left.size() ? left[i] : 0;
    const uint32_t b = i < right.size() ? right[i] : 0;
    if (a != b) return a < b ? -1 : 1;
  }
  return 0;
}

}  // namespace upfetch
