// Starts the product executable and watches it from a test.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "test_files.h"

std::wstring AppFolder();      // the runnable application folder, ending with "\"
std::wstring AppExecutable();  // its executable

class RunningApp {
 public:
  RunningApp() = default;
  ~RunningApp();  // kills a process still running, so one failed test can't block the next
  RunningApp(const RunningApp&) = delete;
  RunningApp& operator=(const RunningApp&) = delete;

  bool Start(const std::wstring& arguments = L"", const std::wstring& executable = L"");
  // Starts the process with its first thread held, for Resume to release: starting a
  // process takes far longer than resuming one, so several can be let go at one moment.
  bool StartHeld(const std::wstring& arguments = L"", const std::wstring& executable = L"");
  void Resume();
  // The process's visible top-level window titled like the product; null on time-out.
  HWND WaitForMainWindow(DWORD timeout_ms = 20000);
  // The exit code, or -1 when the process is still running after `timeout_ms`.
  long WaitForExit(DWORD timeout_ms = 20000);
  // A whole run: start, wait for the main window, close it as a user would. The exit code;
  // -2 when the program did not start or showed no window.
  long RunAndClose();
  DWORD process_id() const { return process_.dwProcessId; }
  HANDLE process() const { return process_.hProcess; }

 private:
  bool Launch(const std::wstring& arguments, const std::wstring& executable, DWORD flags);

  PROCESS_INFORMATION process_ = {};
};

// Starts the executable, waits for it and returns its exit code (-1 on time-out).
long RunToExit(const std::wstring& arguments, DWORD timeout_ms = 20000);

// A private copy of the application folder (it must run from anywhere), with the recorder
// test module listed in its manifest. Removed with everything in it on destruction.
class AppCopy {
 public:
  AppCopy();
  ~AppCopy();
  AppCopy(const AppCopy&) = delete;
  AppCopy& operator=(const AppCopy&) = delete;

  const std::wstring& folder() const { return folder_; }  // ends with "\"
  std::wstring Executable() const;
  // Installs the recorder module and a manifest placing it over the whole view.
  void AddRecorderModule();
  void WriteManifest(const std::string& json);
  void SetRecorderRefusesExit(bool refuse);
  std::string RecorderLog() const;
  // Waits until the recorder's log holds `text` (after `from`); true when it does.
  bool WaitForLog(const std::string& text, size_t from = 0, DWORD timeout_ms = 30000) const;

 private:
  std::wstring folder_;
};

// The first window below `parent` of that class; null when there is none.
HWND ChildOfClass(HWND parent, const wchar_t* class_name);
// A script for a test module's window, sent as WM_COPYDATA; returns once it has run.
void SendScript(HWND window, const std::string& script);

// The recorder module's window inside the main window, and a script run by it.
HWND RecorderWindow(HWND main_window);
void RunInRecorder(HWND main_window, const std::string& script);

// Folders of the per-user state the product writes.
std::wstring LocalAppDataFolder();  // ends with "\"
std::wstring TodayText();           // "%Y%m%d"
// The INFO log (it holds the lines of every severity) that the product process `process_id`
// wrote into today's log folder: the newest INFO file whose name ends in ".<pid>" (process
// ids come round again within a day, and the digits of a short one also occur in the time
// stamps of other names) and was last written at `written_since` (a Now()) or later; empty
// when there is none.
std::string ProductLog(DWORD process_id, ULONGLONG written_since = 0);
ULONGLONG Now();  // as a file time
