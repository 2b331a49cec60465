#include "dialogs/shell_open.h"

#include <atomic>

#include "app/terrace_text.h"
#include "ter_utility.h"

namespace {
std::atomic<ShellOpenFunction> g_web_opener{nullptr};
std::atomic<ShellOpenFunction> g_folder_opener{nullptr};

bool Open(const std::atomic<ShellOpenFunction>& replacement, const std::wstring& target,
          bool (ITerUtilityApp::*open)(const char*)) {
  const std::string utf8 = WideToUtf8(target);
  if (ShellOpenFunction opener = replacement.load()) return opener(utf8);
  return (TerUtilityApp()->*open)(utf8.c_str());
}
}  // namespace

bool OpenWebAddress(const std::wstring& address) {
  return Open(g_web_opener, address, &ITerUtilityApp::OpenUrl);
}

bool OpenFolderPath(const std::wstring& folder) {
  return Open(g_folder_opener, folder, &ITerUtilityApp::OpenFolder);
}

ShellOpenFunction ReplaceWebAddressOpener(ShellOpenFunction opener) {
  return g_web_opener.exchange(opener);
}

ShellOpenFunction ReplaceFolderOpener(ShellOpenFunction opener) {
  return g_folder_opener.exchange(opener);
}
