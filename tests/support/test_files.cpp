#include "test_files.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>

namespace {
// The shell's file operations take lists ended by an extra terminator.
bool ShellOperation(UINT operation, std::wstring from, std::wstring to) {
  while (!from.empty() && from.back() == L'\\') from.pop_back();
  from.push_back(L'\0');
  to.push_back(L'\0');
  SHFILEOPSTRUCTW request = {};
  request.wFunc = operation;
  request.pFrom = from.c_str();
  request.pTo = operation == FO_DELETE ? nullptr : to.c_str();
  request.fFlags = FOF_NO_UI;
  return ::SHFileOperationW(&request) == 0;
}
}  // namespace

TempFolder::TempFolder(const std::wstring& stem) {
  static int counter = 0;
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  path_ = std::wstring(temp) + L"ostrevan-" + stem + L"-" +
          std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++counter) + L"\\";
  // Process ids come round again in every new Wine session, and a folder an earlier run
  // could not remove (a DLL still loaded from it) may hold this name: start from nothing.
  RemoveTree(path_);
  MakeFolders(path_);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

void MakeFolders(const std::wstring& path) { ::SHCreateDirectoryExW(nullptr, path.c_str(), nullptr); }

void RemoveTree(const std::wstring& path) { ShellOperation(FO_DELETE, path, L""); }

void CopyTree(const std::wstring& from, const std::wstring& into_folder) {
  ShellOperation(FO_COPY, from, into_folder);
}

void WriteText(const std::wstring& path, const std::string& text) {
  if (FILE* file = ::_wfopen(path.c_str(), L"wb")) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
}

bool ReadText(const std::wstring& path, std::string* text) {
  FILE* file = ::_wfopen(path.c_str(), L"rb");
  if (!file) return false;
  text->clear();
  char buffer[4096];
  size_t read;
  while ((read = std::fread(buffer, 1, sizeof(buffer), file)) > 0) text->append(buffer, read);
  std::fclose(file);
  return true;
}

std::string ReadWholeFile(const std::wstring& path) {
  std::string text;
  ReadText(path, &text);
  return text;
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW entry;
  std::wstring pattern = folder;
  if (!pattern.empty() && pattern.back() != L'\\') pattern += L'\\';
  HANDLE search = ::FindFirstFileW((pattern + L"*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(entry.cFileName);
  } while (::FindNextFileW(search, &entry));
  ::FindClose(search);
  return names;
}
