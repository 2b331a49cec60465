#include "app/crash_report.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <cwctype>

#include "app/crash_warning.h"
#include "app/process_state.h"
#include "app/system_info.h"
#include "app/terrace_text.h"
#include "shell/language.h"

void CrashMarkerWriter(const wchar_t* report_folder, wchar_t** marker_path) {
  const std::string line = SystemInfoLine();
  const std::wstring path = std::wstring(report_folder ? report_folder : L"") + L"Crash.json";
  if (FILE* file = ::_wfopen(path.c_str(), L"wb")) {
    std::fwrite(line.data(), 1, line.size(), file);
    std::fclose(file);
  }
  if (marker_path) *marker_path = ::_wcsdup(path.c_str());
}

std::wstring ReportFolderOf(const std::wstring& path) {
  const auto separator = path.find_last_of(L'\\');
  return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

bool IsPackedReportName(const std::wstring& name) {
  std::wstring lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return lower.find(L".zip") != std::wstring::npos;
}

void CleanReportFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW entry = {};
  HANDLE search = ::FindFirstFileW((folder + L"\\*.*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = entry.cFileName;
    if (name == L"." || name == L".." || IsPackedReportName(name)) continue;
    ::DeleteFileW((folder + L"\\" + name).c_str());
  } while (::FindNextFileW(search, &entry));
  ::FindClose(search);
}

void CrashWarningCallback(const wchar_t* file_in_report_folder) {
  if (TeardownFinished() || !file_in_report_folder) return;
  // A path without a folder part names nothing we could clean or open.
  const std::wstring folder = ReportFolderOf(file_in_report_folder);
  if (folder.empty()) return;
  const std::wstring text = Translate(L"appplication-crash-warning") + L" " + folder;
  ShutDownLoggingOnce();  // the log files must be closed before they can go
  CleanReportFolder(folder);
  ShowCrashWarning(text);
  TerUtilityApp()->OpenFolder(WideToUtf8(folder).c_str());
}
