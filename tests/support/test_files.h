// Real files in temporary folders for the tests, with the Win32 calls the product uses.
#pragma once

#include <string>
#include <vector>

// A fresh folder under the user's temporary folder, removed with everything in it on
// destruction.
class TempFolder {
 public:
  explicit TempFolder(const std::wstring& stem);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::wstring& path() const { return path_; }  // ends with "\"

 private:
  std::wstring path_;
};

void MakeFolders(const std::wstring& path);  // with every missing level
void RemoveTree(const std::wstring& path);   // a file or a folder and all below it
void CopyTree(const std::wstring& from, const std::wstring& into_folder);
void WriteText(const std::wstring& path, const std::string& text);
bool ReadText(const std::wstring& path, std::string* text);
std::string ReadWholeFile(const std::wstring& path);  // empty when unreadable
std::vector<std::wstring> FilesIn(const std::wstring& folder);  // names only, no folders
