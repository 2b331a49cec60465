#include "shipped_data.h"

#include <windows.h>

#include "app/product_identity.h"
#include "test_files.h"

std::wstring ShippedData::TestFolder() {
  wchar_t path[MAX_PATH];
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

std::wstring ShippedData::AppFolder() { return std::wstring(OSTREVAN_APP_DIR_W) + L"\\"; }

void ShippedData::Copy(const std::wstring& name) {
  RemoveTree(TestFolder() + name);
  CopyTree(AppFolder() + name, TestFolder());
}

ShippedData::ShippedData() {
  for (const wchar_t* name : {L"LangSite.json", L"Option.json", L"I18n", L"Resources"}) Copy(name);
}

ShippedData::~ShippedData() {
  for (const wchar_t* name : {L"LangSite.json", L"Option.json", L"I18n", L"Resources"})
    RemoveTree(TestFolder() + name);
}

SavedLanguageFile::SavedLanguageFile() : path_(LanguageFilePath()) {
  existed_ = ReadText(path_, &saved_);
  ::DeleteFileW(path_.c_str());
}

SavedLanguageFile::~SavedLanguageFile() {
  if (existed_)
    Write(saved_);
  else
    ::DeleteFileW(path_.c_str());
}

void SavedLanguageFile::Write(const std::string& content) {
  MakeFolders(path_.substr(0, path_.find_last_of(L'\\')));
  WriteText(path_, content);
}

bool SavedLanguageFile::Read(std::string* content) const { return ReadText(path_, content); }
