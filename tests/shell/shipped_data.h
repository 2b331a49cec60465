// The language and catalogue tests run against the data files the product ships: they are
// copied from the application folder into the test program's own folder (its
// "application folder") and removed again.
#pragma once

#include <string>

class ShippedData {
 public:
  ShippedData();  // copies LangSite.json, Option.json, I18n\ and Resources\ here
  ~ShippedData();
  static std::wstring TestFolder();  // ends with "\"
  static std::wstring AppFolder();   // ends with "\"

 private:
  void Copy(const std::wstring& name);
};

// Removes language.txt (keeping a copy) and puts it back afterwards.
class SavedLanguageFile {
 public:
  SavedLanguageFile();
  ~SavedLanguageFile();
  void Write(const std::string& content);
  bool Read(std::string* content) const;

 private:
  std::wstring path_;
  std::string saved_;
  bool existed_ = false;
};
