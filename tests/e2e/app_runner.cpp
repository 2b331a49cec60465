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

bool RunningApp::Start(const std::wstring& arguments, const std::wstring& executable) {
  return Launch(arguments, executable, 0);
}

bool RunningApp::StartHeld(const std::wstring& arguments, const std::wstring& executable) {
  return Launch(arguments, executable, CREATE_SUSPENDED);
}

void RunningApp::Resume() { ::ResumeThread(process_.hThread); }

bool RunningApp::Launch(const std::wstring& arguments, const std::wstring& executable,
                        DWORD flags) {
  const std::wstring program = executable.empty() ? AppExecutable() : executable;
  std::wstring command = L"\"" + program + L"\"";
  if (!arguments.empty()) command += L" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  const std::wstring folder = program.substr(0, program.find_last_of(L'\\') + 1);
  return ::CreateProcessW(program.c_str(), &command[0], nullptr, nullptr, FALSE, flags, nullptr,
                          folder.c_str(), &startup, &process_) != FALSE;
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

long RunningApp::RunAndClose() {
  if (!Start()) return -2;
  HWND window = WaitForMainWindow();
  if (!window) return -2;
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  return WaitForExit();
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

ULONGLONG Now() {
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  return ULONGLONG(now.dwHighDateTime) << 32 | now.dwLowDateTime;
}

std::string ProductLog(DWORD process_id, ULONGLONG written_since) {
  const std::wstring folder = LocalAppDataFolder() + L"Pellavorne\\" + TodayText();
  const std::wstring suffix = L"." + std::to_wstring(process_id);
  std::wstring newest;
  ULONGLONG newest_time = 0;
  for (const std::wstring& name : FilesIn(folder)) {
    if (name.find(L".INFO.") == std::wstring::npos || name.size() < suffix.size() ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
      continue;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!::GetFileAttributesExW((folder + L"\\" + name).c_str(), GetFileExInfoStandard, &data))
      continue;
    const ULONGLONG time = ULONGLONG(data.ftLastWriteTime.dwHighDateTime) << 32 |
                           data.ftLastWriteTime.dwLowDateTime;
    if (time < written_since) continue;
    if (newest.empty() || time >= newest_time) {
      newest = name;
      newest_time = time;
    }
  }
  return newest.empty() ? std::string() : ReadWholeFile(folder + L"\\" + newest);
}

AppCopy::AppCopy() {
  static int counter = 0;
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  folder_ = std::wstring(temp) + L"ostrevan-app-" + std::to_wstring(::GetCurrentProcessId()) +
            L"-" + std::to_wstring(++counter) + L"\\";
  // Process ids come round again in every new Wine session: a copy an earlier run could not
  // remove may hold this name, and copying onto it would put the new copy inside the old.
  RemoveTree(folder_);
  CopyTree(std::wstring(OSTREVAN_APP_DIR_W), folder_.substr(0, folder_.size() - 1));
}

AppCopy::~AppCopy() { RemoveTree(folder_); }

std::wstring AppCopy::Executable() const { return folder_ + L"Pellavorne Screen Recorder.exe"; }

void AppCopy::AddRecorderModule() {
  const std::wstring version = folder_ + L"recorder\\1.0.0\\";
  ::SHCreateDirectoryExW(nullptr, (version + L"x64").c_str(), nullptr);
  ::CopyFileW((std::wstring(OSTREVAN_TEST_MODULE_DIR_W) + L"\\recorder_module.dll").c_str(),
              (version + L"x64\\recorder.dll").c_str(), FALSE);
  WriteText(version + L"plugin.load",
                R"({"path": "recorder.dll", "x64": "x64", "win32": "x86", "type": 1,
                    "version": "1.0.0", "id": "recorder", "command-create": "RECORDER_CREATE",
                    "command-recv": ["RECORDER_CREATE", "LIBRECORDER_COMMAND_START_SCREEN_CAPTURE",
                                     "LIBRECORDER_COMMAND_START_SCREEN_RECORDER",
                                     "LIBRECORDER_COMMAND_STOP_SCREEN_RECORDER",
                                     "LIBPLATFORM_COMMAND_EXIT_PROGRAMME",
                                     "LIBWINDOW_COMMAND_SIZE_CHANGE"]})");
  WriteManifest(R"({"manifest": {"windows::version": 1, "application": {"modules": [
      {"windows:name": "recorder", "windows:parentHwnd": "${topViewHwnd}",
       "windows:parameters": {"windows:rect": {
           "rect": ["0", "0", "${topViewWidth}", "${topViewHeight}"],
           "offset": ["0", "0", "0", "0"]}},
       "window:hwnd": "recorder"}]}}})");
}

void AppCopy::WriteManifest(const std::string& json) {
  WriteText(folder_ + L"ApplicationManifest.json", json);
}

void AppCopy::SetRecorderRefusesExit(bool refuse) {
  const std::wstring flag = folder_ + L"recorder\\1.0.0\\x64\\refuse-exit";
  if (refuse)
    WriteText(flag, "yes");
  else
    ::DeleteFileW(flag.c_str());
}

std::string AppCopy::RecorderLog() const {
  return ReadWholeFile(folder_ + L"recorder\\1.0.0\\x64\\recorder.log");
}

bool AppCopy::WaitForLog(const std::string& text, size_t from, DWORD timeout_ms) const {
  const DWORD start = ::GetTickCount();
  do {
    const std::string log = RecorderLog();
    if (log.size() > from && log.find(text, from) != std::string::npos) return true;
    ::Sleep(20);
  } while (::GetTickCount() - start < timeout_ms);
  return false;
}

HWND ChildOfClass(HWND parent, const wchar_t* class_name) {
  struct Search {
    const wchar_t* class_name;
    HWND found;
  } search = {class_name, nullptr};
  ::EnumChildWindows(
      parent,
      [](HWND window, LPARAM context) -> BOOL {
        auto* search = reinterpret_cast<Search*>(context);
        wchar_t name[64] = {};
        ::GetClassNameW(window, name, 64);
        if (std::wstring(name) != search->class_name) return TRUE;
        search->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void SendScript(HWND window, const std::string& script) {
  COPYDATASTRUCT data = {};
  data.cbData = static_cast<DWORD>(script.size());
  data.lpData = const_cast<char*>(script.data());
  ::SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

HWND RecorderWindow(HWND main_window) {
  return ChildOfClass(main_window, L"OstrevanRecorderTestModule");
}

void RunInRecorder(HWND main_window, const std::string& script) {
  SendScript(RecorderWindow(main_window), script);
}
