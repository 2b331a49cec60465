#include "app_runner.h"

#include <shlobj.h>
#include <shellapi.h>

#include <ctime>
#include <cstdio>

namespace {
struct WindowSearch {
  DWORD process_id;
  HWND found;
};

BOOL CALLBACK MatchMainWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<WindowSearch*>(context);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  wchar_t title[128] = {};
  ::GetWindowTextW(window, title, 128);
  if (owner == search->process_id && ::IsWindowVisible(window) &&
      std::wstring(title) == L"Pellavorne Screen Recorder") {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

std::wstring AppFolder() { return std::wstring(OSTREVAN_APP_DIR_W) + L"\\"; }
std::wstring AppExecutable() { return AppFolder() + L"Pellavorne Screen Recorder.exe"; }

RunningApp::~RunningApp() {
  if (process_.hProcess) {
    if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      ::TerminateProcess(process_.hProcess, 99);
      ::WaitForSingleObject(process_.hProcess, 5000);
    }
    ::CloseHandle(process_.hProcess);
    ::CloseHandle(process_.hThread);
  }
}

bool RunningApp::Start(const std::wstring& arguments) {
  std::wstring command = L"\"" + AppExecutable() + L"\"";
  if (!arguments.empty()) command += L" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  const std::wstring folder = AppFolder();
  return ::CreateProcessW(AppExecutable().c_str(), &command[0], nullptr, nullptr, FALSE, 0,
                          nullptr, folder.c_str(), &startup, &process_) != FALSE;
}

HWND RunningApp::WaitForMainWindow(DWORD timeout_ms) {
  const DWORD start = ::GetTickCount();
  do {
    WindowSearch search = {process_.dwProcessId, nullptr};
    ::EnumWindows(&MatchMainWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    if (::WaitForSingleObject(process_.hProcess, 50) == WAIT_OBJECT_0) return nullptr;
  } while (::GetTickCount() - start < timeout_ms);
  return nullptr;
}

long RunningApp::WaitForExit(DWORD timeout_ms) {
  if (::WaitForSingleObject(process_.hProcess, timeout_ms) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  ::GetExitCodeProcess(process_.hProcess, &code);
  return static_cast<long>(code);
}

long RunToExit(const std::wstring& arguments, DWORD timeout_ms) {
  RunningApp app;
  if (!app.Start(arguments)) return -1;
  return app.WaitForExit(timeout_ms);
}

std::wstring LocalAppDataFolder() {
  wchar_t folder[MAX_PATH] = {};
  ::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
  return std::wstring(folder) + L"\\";
}

std::wstring TodayText() {
  wchar_t text[16] = {};
  std::time_t now = std::time(nullptr);
  std::wcsftime(text, 16, L"%Y%m%d", std::localtime(&now));
  return text;
}

void RemoveTree(const std::wstring& folder) {
  // SHFileOperation wants a double-terminated list.
  std::wstring from = folder;
  while (!from.empty() && from.back() == L'\\') from.pop_back();
  from.push_back(L'\0');
  SHFILEOPSTRUCTW operation = {};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NO_UI;
  ::SHFileOperationW(&operation);
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW entry;
  HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(entry.cFileName);
  } while (::FindNextFileW(search, &entry));
  ::FindClose(search);
  return names;
}

std::string ReadWholeFile(const std::wstring& path) {
  std::string content;
  FILE* file = ::_wfopen(path.c_str(), L"rb");
  if (!file) return content;
  char buffer[4096];
  size_t read;
  while ((read = std::fread(buffer, 1, sizeof(buffer), file)) > 0) content.append(buffer, read);
  std::fclose(file);
  return content;
}
