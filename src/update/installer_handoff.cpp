#include "update/installer_handoff.h"

#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <cstdio>
#include <cwctype>
#include <vector>

#include "app/process_state.h"
#include "app/product_identity.h"
#include "app/terrace_text.h"

namespace {

constexpr DWORD kInstallerWaitMs = 1000;

std::wstring Lower(std::wstring text) {
  for (auto& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

std::wstring ProcessPath(HANDLE process) {
  wchar_t path[MAX_PATH * 2] = {};
  DWORD size = MAX_PATH * 2;
  return ::QueryFullProcessImageNameW(process, 0, path, &size) ? std::wstring(path, size)
                                                               : std::wstring();
}

// A copy of the product running under its proper name would hold the files the installer
// replaces; one started from elsewhere (a renamed copy, this one) cannot.
void TerminateProductCopies(const std::wstring& expected_program) {
  std::vector<DWORD> ids(4096);
  DWORD bytes = 0;
  if (!::EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes)) return;
  ids.resize(bytes / sizeof(DWORD));
  const DWORD self = ::GetCurrentProcessId();
  for (DWORD id : ids) {
    if (id == 0 || id == self) continue;
    HANDLE process = ::OpenProcess(
        PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    if (!process) continue;
    if (RunsExpectedProgram(ProcessPath(process), expected_program)) {
      ::TerminateProcess(process, 0);
      ::WaitForSingleObject(process, INFINITE);
    }
    ::CloseHandle(process);
  }
}

bool SystemKnowsElevation() {
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!::GetVersionExW(&version)) return true;
#pragma GCC diagnostic pop
  return version.dwMajorVersion >= 6;
}

void StartInstaller(const std::wstring& installer, const std::wstring& arguments) {
  SHELLEXECUTEINFOW execute = {};
  execute.cbSize = sizeof(execute);
  execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  execute.lpVerb = SystemKnowsElevation() ? L"runas" : nullptr;
  execute.lpFile = installer.c_str();
  execute.lpParameters = arguments.c_str();
  execute.nShow = SW_SHOWNORMAL;
  std::printf("ShellExecuteEx: %s\n", WideToUtf8(installer).c_str());
  std::fflush(stdout);
  BOOL started = ::ShellExecuteExW(&execute);
  // Where the system offers no elevation verb the installer still asks for it itself; only
  // a user who declined elevation keeps the installer from starting.
  if (!started && execute.lpVerb && ::GetLastError() != ERROR_CANCELLED) {
    execute.lpVerb = nullptr;
    started = ::ShellExecuteExW(&execute);
  }
  if (!started || !execute.hProcess) return;
  ::WaitForSingleObject(execute.hProcess, kInstallerWaitMs);
  DWORD exit_code = 0;
  ::GetExitCodeProcess(execute.hProcess, &exit_code);
  ::CloseHandle(execute.hProcess);
}

}  // namespace

bool RunsExpectedProgram(const std::wstring& process_path, const std::wstring& expected_program) {
  return !process_path.empty() && !expected_program.empty() &&
         Lower(process_path).find(Lower(expected_program)) != std::wstring::npos;
}

void HandOverToInstaller(const std::wstring& installer) {
  TerText folder(TerUtilityApp()->ApplicationFolder());
  TerText running(TerUtilityApp()->ExecutablePath());
  const std::wstring expected = Utf8ToWide(folder.str()) + ProductDisplayNameWide() + L".exe";
  if (Lower(Utf8ToWide(running.str())) != Lower(expected)) TerminateProductCopies(expected);

  const std::wstring arguments = L"/TAG=" + ProductVersionWide();
  if (TerUtilityFile()->Exists(WideToUtf8(installer).c_str())) StartInstaller(installer, arguments);
  if (HWND frame = MainWindowHandle()) ::PostMessageW(frame, WM_CLOSE, 0, 0);
}
