// Makes the crash report on a thread of its own, started long before any crash: the crashed
// thread may have no stack left, hold locks or be the only one with a message queue.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "ter_dbg_report.h"
#include "terrace/report/crash_summary.h"

namespace terrace {

class CrashReporter {
 public:
  static CrashReporter& Instance();  // never destroyed: crashes happen during shutdown too

  // A null or empty folder disarms: later crashes are left to the system.
  void SetTarget(const wchar_t* folder, TerCrashWarningCallback warning,
                 TerCrashMarkerCallback marker);
  bool Armed() const { return target_.load() != nullptr; }
  const wchar_t* Folder() const;

  // Called on the crashed thread. Exactly one crash is reported; a thread that crashes while
  // that report is made waits for the process to end. Never returns.
  [[noreturn]] void Report(EXCEPTION_POINTERS* pointers);

 private:
  struct Target {
    std::wstring folder;  // ends with "\"
    TerCrashWarningCallback warning;
    TerCrashMarkerCallback marker;
  };
  typedef BOOL(WINAPI* WriteDumpFunction)(HANDLE, DWORD, HANDLE, int, void*, void*, void*);

  CrashReporter() = default;
  bool StartThread();
  static DWORD WINAPI ThreadMain(void* self);
  void PrepareDbgHelp();
  void MakeReport();
  bool WriteDump(const std::wstring& path);
  std::wstring KeepLooseFiles(const std::wstring& folder, const std::wstring& name,
                              const std::wstring* own, size_t own_count);

  std::atomic<const Target*> target_{nullptr};
  std::atomic<bool> claimed_{false};
  std::atomic<DWORD> main_thread_{0};
  HANDLE request_ = nullptr;
  HANDLE thread_ = nullptr;
  DWORD thread_id_ = 0;
  HANDLE dbghelp_ready_ = nullptr;
  WriteDumpFunction write_dump_ = nullptr;
  EXCEPTION_POINTERS* pointers_ = nullptr;
  CrashFacts facts_ = {};
};

}  // namespace terrace
