#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

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

// Only the conversions go through the runtime, one at a time: it treats an unknown one as
// an invalid parameter (which may end the process), and it mangles non-ASCII literal text
// by passing it through the ANSI code page. The literal text is copied here instead.
bool FormatLocalDate(const std::wstring& format, const std::tm& when, std::wstring* out) {
  static const wchar_t kConversions[] = L"aAbBcdHIjmMpSUwWxXyYzZ";
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != L'%') {
      *out += format[i];
      continue;
    }
    wchar_t conversion[4] = {L'%', 0, 0, 0};
    size_t next = i + 1;
    if (next < format.size() && format[next] == L'#') conversion[1] = format[next++];
    if (next >= format.size()) return false;
    const wchar_t letter = format[next];
    if (letter == L'%' && conversion[1] == 0) {
      *out += L'%';
    } else if (!std::wcschr(kConversions, letter)) {
      return false;
    } else {
      conversion[conversion[1] ? 2 : 1] = letter;
      wchar_t piece[256];
      // A zero length is also what an empty result (a locale without AM/PM) looks like.
      const size_t length = std::wcsftime(piece, sizeof piece / sizeof *piece, conversion, &when);
      out->append(piece, length);
    }
    i = next;
  }
  return true;
}

class SysUtility final : public ITerUtilitySys {
 public:
  char* SettingsFolder() override { return Guarded(CSIDL_APPDATA); }
  char* LogFolder() override { return Guarded(CSIDL_LOCAL_APPDATA); }

  // Formats through the wide runtime so that month and zone names come out as UTF-8.
  size_t FormatDate(const char* format, char* buffer, size_t buffer_size) override {
    if (!format || !buffer || buffer_size == 0) return 0;
    buffer[0] = '\0';
    try {
      const std::wstring wide_format = Widen(format);
      const std::time_t now = std::time(nullptr);
      std::tm local;
      if (localtime_s(&local, &now) != 0) return 0;
      std::wstring wide;
      if (wide_format.empty() || !FormatLocalDate(wide_format, local, &wide)) return 0;
      const std::string text = Narrow(wide);
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
