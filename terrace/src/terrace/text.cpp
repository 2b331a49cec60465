#include "terrace/text.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace terrace {

char* CopyText(const char* text, size_t length) {
  auto* copy = static_cast<char*>(std::malloc(length + 1));
  if (!copy) return nullptr;
  if (length) std::memcpy(copy, text, length);
  copy[length] = '\0';
  return copy;
}

char* CopyText(const std::string& text) {
  return CopyText(text.data(), text.size());
}

wchar_t* CopyWide(const std::wstring& text) {
  auto* copy = static_cast<wchar_t*>(std::malloc((text.size() + 1) * sizeof(wchar_t)));
  if (!copy) return nullptr;
  std::wmemcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

bool IsValidUtf8(const char* text, size_t length) {
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  size_t i = 0;
  while (i < length) {
    const unsigned char c = s[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    size_t extra;
    unsigned long code;
    if (c >= 0xC2 && c <= 0xDF) {
      extra = 1, code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2, code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3, code = c & 0x07;
    } else {
      return false;
    }
    if (length - i <= extra) return false;
    for (size_t k = 1; k <= extra; ++k) {
      if ((s[i + k] & 0xC0) != 0x80) return false;
      code = (code << 6) | (s[i + k] & 0x3F);
    }
    if ((extra == 2 && code < 0x800) || (extra == 3 && code < 0x10000) || code > 0x10FFFF ||
        (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    i += extra + 1;
  }
  return true;
}

}  // namespace terrace
