#include <shlobj.h>
#include <windows.h>

#include <cstring>
#include <ctime>
#include <cwchar>
#include <new>
#include <string>

#include "ter_utility.h"
#include "terrace/text.h"

namespace terrace {
namespace {

char* ShellFolder(int csidl) {
  wchar_t path[MAX_PATH];
  if (FAILED(::SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT,
                                path))) {
    return nullptr;
  }
  std::wstring folder = path;
  if (folder.empty()) return nullptr;
  if (!IsSeparator(folder.back())) folder += L'\\';
  return CopyText(Narrow(folder));
}

// The C runtime treats an unknown conversion as an invalid parameter and may end the
// process, so the format is checked before it gets there.
bool IsSafeDateFormat(const wchar_t* format) {
  static const wchar_t kConversions[] = L"aAbBcdHIjmMpSUwWxXyYzZ%";
  for (const wchar_t* p = format; *p; ++p) {
    if (*p != L'%') continue;
    ++p;
    if (*p == L'#') ++p;
    if (!*p || !std::wcschr(kConversions, *p)) return false;
  }
  return true;
}

class SysUtility final : public ITerUtilitySys {
 public:
  char* SettingsFolder() override { return Guarded(CSIDL_APPDATA); }
  char* LogFolder() override { return Guarded(CSIDL_LOCAL_APPDATA); }

  // Formats through the wide runtime so that month names and zone names come out as UTF-8.
  size_t FormatDate(const char* format, char* buffer, size_t buffer_size) override {
    if (!format || !buffer || buffer_size == 0) return 0;
    buffer[0] = '\0';
    try {
      const std::wstring wide_format = Widen(format);
      if (wide_format.empty() || !IsSafeDateFormat(wide_format.c_str())) return 0;
      const std::time_t now = std::time(nullptr);
      std::tm local;
      if (localtime_s(&local, &now) != 0) return 0;
      wchar_t wide[512];
      const size_t length = std::wcsftime(wide, sizeof wide / sizeof *wide, wide_format.c_str(),
                                          &local);
      if (length == 0) return 0;
      const std::string text = Narrow(std::wstring(wide, length));
      if (text.empty() || text.size() >= buffer_size) return 0;
      std::memcpy(buffer, text.c_str(), text.size() + 1);
      return text.size();
    } catch (const std::bad_alloc&) {
      return 0;
    }
  }

  bool Is64BitSystem() override {
#if defined(_WIN64)
    return true;
#else
    BOOL wow64 = FALSE;
    return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
#endif
  }

 private:
  static char* Guarded(int csidl) {
    try {
      return ShellFolder(csidl);
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
  }
};

}  // namespace
}  // namespace terrace

extern "C" TERRACE_API ITerUtilitySys* TerUtilitySys() {
  static terrace::SysUtility instance;
  return &instance;
}
