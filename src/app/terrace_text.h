// Small conveniences over the service library's strings.
#pragma once

#include <string>

#include "ter_utility.h"

// Owns a string handed out by the service library and gives it back on destruction.
class TerText {
 public:
  explicit TerText(char* text = nullptr) : text_(text) {}
  ~TerText() { TerUtilityString()->Release(text_); }
  TerText(const TerText&) = delete;
  TerText& operator=(const TerText&) = delete;

  const char* get() const { return text_ ? text_ : ""; }
  bool empty() const { return !text_ || !*text_; }
  std::string str() const { return get(); }

 private:
  char* text_;
};

std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);
