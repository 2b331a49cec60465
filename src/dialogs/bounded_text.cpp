#include "dialogs/bounded_text.h"

std::wstring CutToBuffer(const std::wstring& text, size_t buffer_size) {
  if (buffer_size == 0) return std::wstring();
  if (text.size() < buffer_size) return text;
  size_t length = buffer_size - 1;
  if (length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF) {
    --length;  // would leave a lone high surrogate
  }
  return text.substr(0, length);
}

std::wstring FormatBounded(const std::wstring& format, const std::wstring& argument,
                           size_t buffer_size) {
  std::wstring text;
  bool substituted = false;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == L'%' && i + 1 < format.size()) {
      const wchar_t next = format[i + 1];
      if (next == L'%') {
        text += L'%';
        ++i;
        continue;
      }
      if (next == L's' && !substituted) {
        text += argument;
        substituted = true;
        ++i;
        continue;
      }
    }
    text += format[i];
  }
  return CutToBuffer(text, buffer_size);
}
