#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cwctype>
#include <new>
#include <string>

#include "ter_utility.h"
#include "terrace/text.h"

namespace terrace {
namespace {

std::wstring ExecutableFile() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, &buffer[0], static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::wstring();
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    if (buffer.size() >= 65536) return std::wstring();
    buffer.resize(buffer.size() * 2);
  }
}

std::wstring FolderOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Only web and mail links: "open" on anything else would start programs or documents.
bool IsWebUrl(const std::wstring& url) {
  static const wchar_t* const kSchemes[] = {L"http://", L"https://", L"mailto:"};
  for (const wchar_t* scheme : kSchemes) {
    const size_t length = std::wcslen(scheme);
    if (url.size() <= length) continue;
    bool match = true;
    for (size_t i = 0; i < length && match; ++i) match = std::towlower(url[i]) == scheme[i];
    if (match) return true;
  }
  return false;
}

// `directory`, when given, becomes the started program's current folder, so that a folder
// window does not keep ours in use.
bool ShellOpen(const std::wstring& target, const wchar_t* directory = nullptr) {
  const auto code = reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, directory, SW_SHOWNORMAL));
  return code > 32;
}

char* CopyOrNull(const std::string& text) {
  return text.empty() ? nullptr : CopyText(text);
}

class AppUtility final : public ITerUtilityApp {
 public:
  char* ExecutablePath() override {
    try {
      return CopyOrNull(Narrow(ExecutableFile()));
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
  }

  char* ApplicationFolder() override {
    try {
      return CopyOrNull(Narrow(FolderOf(ExecutableFile())));
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
  }

  char* ModulesFolder() override { return ApplicationFolder(); }

  // Folders only, so that a path to a program never gets started from here.
  bool OpenFolder(const char* path) override {
    try {
      const std::wstring folder = Widen(path);
      return !folder.empty() && IsFolder(folder) && ShellOpen(folder, folder.c_str());
    } catch (const std::bad_alloc&) {
      return false;
    }
  }

  bool OpenUrl(const char* url) override {
    try {
      const std::wstring link = Widen(url);
      return IsWebUrl(link) && ShellOpen(link);
    } catch (const std::bad_alloc&) {
      return false;
    }
  }

  char* TaskContext() override {
    try {
      const std::wstring path = ExecutableFile();
      std::wstring name = path.substr(FolderOf(path).size());
      const size_t dot = name.rfind(L'.');
      if (dot != std::wstring::npos && dot > 0) name.resize(dot);
      return CopyText(Narrow(name) + "/" + std::to_string(::GetCurrentProcessId()));
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
  }

  char* NewIdentifier() override {
    try {
      return CopyOrNull(NewGuidText());
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
  }
};

}  // namespace
}  // namespace terrace

extern "C" TERRACE_API ITerUtilityApp* TerUtilityApp() {
  static terrace::AppUtility instance;
  return &instance;
}
