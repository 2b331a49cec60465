#include "terrace/string_rules.h"

#include <cstring>

namespace terrace {
namespace {

struct VersionPart {
  const char* digits;  // leading digits, leading zeros skipped
  size_t digit_count;
  const char* rest;  // whatever follows the digits up to the next dot
  size_t rest_count;
};

// Takes the part starting at *cursor and moves *cursor past it (and its dot). A missing
// part (cursor at the end) reads as an empty one, which counts as 0.
VersionPart NextPart(const char** cursor) {
  const char* p = *cursor;
  VersionPart part{p, 0, p, 0};
  while (*p == '0' && p[1] >= '0' && p[1] <= '9') ++p;
  part.digits = p;
  while (*p >= '0' && *p <= '9') ++p;
  part.digit_count = static_cast<size_t>(p - part.digits);
  part.rest = p;
  while (*p && *p != '.') ++p;
  part.rest_count = static_cast<size_t>(p - part.rest);
  if (*p == '.') ++p;
  *cursor = p;
  return part;
}

int Sign(int value) {
  return (value > 0) - (value < 0);
}

int CompareNumbers(const VersionPart& a, const VersionPart& b) {
  // Digit strings without leading zeros: the longer one is the bigger number, so parts of
  // any length compare right without overflowing an integer.
  const bool a_zero = a.digit_count == 0 || (a.digit_count == 1 && a.digits[0] == '0');
  const bool b_zero = b.digit_count == 0 || (b.digit_count == 1 && b.digits[0] == '0');
  if (a_zero || b_zero) return a_zero == b_zero ? 0 : (a_zero ? -1 : 1);
  if (a.digit_count != b.digit_count) return a.digit_count < b.digit_count ? -1 : 1;
  return Sign(std::memcmp(a.digits, b.digits, a.digit_count));
}

int CompareRests(const VersionPart& a, const VersionPart& b) {
  const size_t common = a.rest_count < b.rest_count ? a.rest_count : b.rest_count;
  const int order = common ? std::memcmp(a.rest, b.rest, common) : 0;
  if (order != 0) return Sign(order);
  return a.rest_count == b.rest_count ? 0 : (a.rest_count < b.rest_count ? -1 : 1);
}

}  // namespace

// Each dotted part's leading digits are its number; a part without digits (or a missing one)
// counts as 0, so "1.2" == "1.2.0" and "1.10" > "1.9". Only when every number is equal does
// the text after the digits decide, compared bytewise part by part ("1.2b" > "1.2a" > "1.2").
// A null version reads as "".
int CompareVersionText(const char* left, const char* right) {
  const char* l = left ? left : "";
  const char* r = right ? right : "";
  for (const char *a = l, *b = r; *a || *b;) {
    const int order = CompareNumbers(NextPart(&a), NextPart(&b));
    if (order != 0) return order;
  }
  for (const char *a = l, *b = r; *a || *b;) {
    const int order = CompareRests(NextPart(&a), NextPart(&b));
    if (order != 0) return order;
  }
  return 0;
}

// Puts `argument` where the first %s (or %ls) stands and turns %% into %. Any other directive
// stays as literal text: the format comes from translations and must never make us read
// arguments that were not passed, as handing it to swprintf would.
std::wstring SubstituteArgument(const wchar_t* format, const wchar_t* argument) {
  std::wstring result;
  bool substituted = false;
  for (const wchar_t* p = format; *p; ++p) {
    if (*p == L'%' && p[1] == L'%') {
      result += L'%';
      ++p;
    } else if (*p == L'%' && !substituted && (p[1] == L's' || (p[1] == L'l' && p[2] == L's'))) {
      if (argument) result += argument;
      substituted = true;
      p += p[1] == L's' ? 1 : 2;
    } else {
      result += *p;
    }
  }
  return result;
}

}  // namespace terrace
