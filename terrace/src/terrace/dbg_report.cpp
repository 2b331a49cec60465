#include <windows.h>

#include <csignal>
#include <cstdlib>
#include <mutex>

#include "ter_dbg_report.h"
#include "terrace/report/crash_reporter.h"

namespace terrace {
namespace {

// Room a thread keeps after its stack overflowed, for the exception to reach the filter.
constexpr ULONG kStackGuarantee = 32 * 1024;

typedef void(__cdecl* InvalidParameterHandler)(const wchar_t*, const wchar_t*, const wchar_t*,
                                                unsigned int, uintptr_t);
typedef void(__cdecl* PureCallHandler)();
typedef void(__cdecl* SignalHandler)(int);

LPTOP_LEVEL_EXCEPTION_FILTER g_previous_filter = nullptr;
bool g_hooked = false;

// Builds an exception for a failure the C runtime reported by calling us, then reports it
// like any other crash, from the thread it happened on.
[[noreturn]] __attribute__((noinline)) void ReportFromHere(DWORD code) {
  CONTEXT context = {};
  ::RtlCaptureContext(&context);
  EXCEPTION_RECORD record = {};
  record.ExceptionCode = code;
  record.ExceptionFlags = EXCEPTION_NONCONTINUABLE;
  record.ExceptionAddress = reinterpret_cast<void*>(context.Rip);
  EXCEPTION_POINTERS pointers = {&record, &context};
  CrashReporter::Instance().Report(&pointers);
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* pointers) {
  if (CrashReporter::Instance().Armed()) CrashReporter::Instance().Report(pointers);
  return g_previous_filter ? g_previous_filter(pointers) : EXCEPTION_CONTINUE_SEARCH;
}

// abort(), also the end of an uncaught C++ exception or of a pure virtual call in code
// built with GCC (both go through std::terminate).
void __cdecl OnAbort(int) {
  if (CrashReporter::Instance().Armed()) ReportFromHere(kAbortCode);
  std::signal(SIGABRT, SIG_DFL);  // disarmed: the runtime goes on ending the process
}

void __cdecl OnInvalidParameter(const wchar_t*, const wchar_t*, const wchar_t*, unsigned int,
                                uintptr_t) {
  if (CrashReporter::Instance().Armed()) ReportFromHere(kInvalidParameterCode);
}

void __cdecl OnPureCall() {
  if (CrashReporter::Instance().Armed()) ReportFromHere(kPureCallCode);
  std::abort();
}

// The C runtimes a module may use: ours (msvcrt) and the universal one, which code built
// with Visual C++ shares. Each keeps its own handlers. Handlers a runtime does not offer are
// skipped (Wine's msvcrt has no invalid-parameter handler and never calls one).
template <typename Function>
Function Procedure(HMODULE library, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}

void HookRuntime(const wchar_t* name) {
  HMODULE runtime = ::LoadLibraryW(name);
  if (!runtime) return;
  typedef InvalidParameterHandler(__cdecl * SetInvalidParameter)(InvalidParameterHandler);
  typedef PureCallHandler(__cdecl * SetPureCall)(PureCallHandler);
  typedef SignalHandler(__cdecl * SetSignal)(int, SignalHandler);
  typedef unsigned int(__cdecl * SetAbortBehavior)(unsigned int, unsigned int);
  typedef int(__cdecl * SetErrorMode)(int);
  if (auto set = Procedure<SetInvalidParameter>(runtime, "_set_invalid_parameter_handler"))
    set(&OnInvalidParameter);
  if (auto set = Procedure<SetPureCall>(runtime, "_set_purecall_handler"))
    set(&OnPureCall);
  if (auto set = Procedure<SetSignal>(runtime, "signal"))
    set(SIGABRT, &OnAbort);
  // abort() would first show its own message box, or skip our handler for the system's.
  if (auto set = Procedure<SetAbortBehavior>(runtime, "_set_abort_behavior"))
    set(0, 0x1 | 0x2);  // _WRITE_ABORT_MSG | _CALL_REPORTFAULT
  else if (auto set_mode = Procedure<SetErrorMode>(runtime, "_set_error_mode"))
    set_mode(1);  // _OUT_TO_STDERR
}

void Hook() {
  if (g_hooked) return;
  g_hooked = true;
  g_previous_filter = ::SetUnhandledExceptionFilter(&OnUnhandledException);
  HookRuntime(L"msvcrt.dll");
  HookRuntime(L"ucrtbase.dll");
  ULONG guarantee = kStackGuarantee;
  ::SetThreadStackGuarantee(&guarantee);
}

void Unhook() {
  if (!g_hooked) return;
  g_hooked = false;
  // Only when nobody came after us: their filter stays theirs.
  if (::SetUnhandledExceptionFilter(g_previous_filter) != &OnUnhandledException)
    ::SetUnhandledExceptionFilter(::SetUnhandledExceptionFilter(g_previous_filter));
}

class DbgReport final : public ITerDbgReport {
 public:
  void Arm(const wchar_t* dump_folder, TerCrashWarningCallback warning,
           TerCrashMarkerCallback marker) override {
    std::lock_guard<std::mutex> guard(mutex_);
    CrashReporter::Instance().SetTarget(dump_folder, warning, marker);
    if (CrashReporter::Instance().Armed())
      Hook();
    else
      Unhook();
  }

  const wchar_t* DumpFolder() override { return CrashReporter::Instance().Folder(); }

 private:
  std::mutex mutex_;
};

}  // namespace
}  // namespace terrace

extern "C" TERRACE_API ITerDbgReport* CreateTerDbgReport() {
  // Never destroyed: a crash report may be wanted while the process is shutting down.
  static auto* report = new (std::nothrow) terrace::DbgReport;
  return report;
}

// Every thread keeps stack in reserve for its own overflow (threads made before the
// library was loaded excepted).
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*) {
  if (reason == DLL_THREAD_ATTACH || reason == DLL_PROCESS_ATTACH) {
    ULONG guarantee = terrace::kStackGuarantee;
    ::SetThreadStackGuarantee(&guarantee);
  }
  return TRUE;
}
