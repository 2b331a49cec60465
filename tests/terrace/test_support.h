// Shared helpers of the libTerrace tests: private temporary folders and raw file access that
// does not go through the library under test.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace terrace_test {

// A fresh folder under the user's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::wstring& path() const { return path_; }  // ends with "\"
  std::wstring Wide(const std::wstring& name) const { return path_ + name; }
  std::string Utf8(const std::wstring& name) const;
  std::vector<std::wstring> Entries() const;  // names directly inside, sorted

 private:
  std::wstring path_;
};

std::string ToUtf8(const std::wstring& text);
std::wstring ToWide(const std::string& text);

void WriteRaw(const std::wstring& path, const std::string& bytes);
std::string ReadRaw(const std::wstring& path);  // throws when unreadable
bool FileExists(const std::wstring& path);

// Owns a string the library handed out.
struct LibraryFree {
  void operator()(void* text) const;
};
using Text = std::unique_ptr<char, LibraryFree>;
using WideText = std::unique_ptr<wchar_t, LibraryFree>;
std::string Str(const Text& text);  // "<null>" for null

}  // namespace terrace_test
