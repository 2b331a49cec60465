#include "shipped_data.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>

#include "app/product_identity.h"

namespace {
void ShellOperation(UINT operation, const std::wstring& from, const std::wstring& to) {
  std::wstring from_list = from + L'\0';
  std::wstring to_list = to + L'\0';
  SHFILEOPSTRUCTW request = {};
  request.wFunc = operation;
  request.pFrom = from_list.c_str();
  request.pTo = to.empty() ? nullptr : to_list.c_str();
  request.fFlags = FOF_NO_UI;
  ::SHFileOperationW(&request);
}

bool ReadFileText(const std::wstring& path, std::string* content) {
  FILE* file = ::_wfopen(path.c_str(), L"rb");
  if (!file) return false;
  content->clear();
  char buffer[256];
  size_t read;
  while ((read = std::fread(buffer, 1, sizeof(buffer), file)) > 0) content->append(buffer, read);
  std::fclose(file);
  return true;
}
}  // namespace

std::wstring ShippedData::TestFolder() {
  wchar_t path[MAX_PATH];
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

std::wstring ShippedData::AppFolder() { return std::wstring(OSTREVAN_APP_DIR_W) + L"\\"; }

void ShippedData::Copy(const std::wstring& name) {
  ShellOperation(FO_DELETE, TestFolder() + name, L"");
  ShellOperation(FO_COPY, AppFolder() + name, TestFolder());
}

ShippedData::ShippedData() {
  for (const wchar_t* name : {L"LangSite.json", L"Option.json", L"I18n", L"Resources"}) Copy(name);
}

ShippedData::~ShippedData() {
  for (const wchar_t* name : {L"LangSite.json", L"Option.json", L"I18n", L"Resources"})
    ShellOperation(FO_DELETE, TestFolder() + name, L"");
}

SavedLanguageFile::SavedLanguageFile() : path_(LanguageFilePath()) {
  existed_ = ReadFileText(path_, &saved_);
  ::DeleteFileW(path_.c_str());
}

SavedLanguageFile::~SavedLanguageFile() {
  if (existed_)
    Write(saved_);
  else
    ::DeleteFileW(path_.c_str());
}

void SavedLanguageFile::Write(const std::string& content) {
  const std::wstring folder = path_.substr(0, path_.find_last_of(L'\\'));
  ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  FILE* file = ::_wfopen(path_.c_str(), L"wb");
  if (!file) return;
  std::fwrite(content.data(), 1, content.size(), file);
  std::fclose(file);
}

bool SavedLanguageFile::Read(std::string* content) const { return ReadFileText(path_, content); }
