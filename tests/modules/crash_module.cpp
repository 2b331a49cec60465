// A module that crashes on command, for the crash-report tests. It puts a small window where
// the manifest says; a message WM_APP + 1 posted to it names the crash (wparam, CrashKind)
// and where it happens (lparam, CrashPlace).
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <thread>

#include "host/module_api.h"

// The base's constructor reaches the pure function while the object is still a Base. Outside
// the anonymous namespace, so that the compiler cannot see every override and drop the call.
namespace crash_module {
struct Base {
  Base() { CallRun(); }
  virtual ~Base() = default;
  virtual void Run() = 0;
  __attribute__((noinline)) void CallRun() { Run(); }
};
struct Derived : Base {
  void Run() override {}
};
}  // namespace crash_module

namespace {

enum CrashKind : WPARAM {
  kAccessViolation = 1,
  kStackOverflow = 2,
  kAbort = 3,
  kPureVirtualCall = 4,
  kInvalidParameter = 5,
};
enum CrashPlace : LPARAM { kMainThread = 0, kWorkerThread = 1, kTwoWorkersAtOnce = 2 };
constexpr UINT kCrashMessage = WM_APP + 1;

HINSTANCE g_instance = nullptr;

__attribute__((noinline)) void WriteToNowhere() {
  int* volatile nowhere = reinterpret_cast<int*>(0x10);
  *nowhere = 42;
}

// Frames large enough that Wine can still deliver the overflow: it needs some pages of
// stack below the faulting frame, which a recursion of small frames never leaves.
volatile int g_depth_limit = 1 << 30;  // never reached; keeps the recursion from being proven endless

__attribute__((noinline)) int Recurse(int depth) {
  volatile char frame[64 * 1024];
  frame[0] = static_cast<char>(depth);
  frame[sizeof(frame) - 1] = 1;
  if (depth > g_depth_limit) return 0;
  return Recurse(depth + 1) + frame[100];
}

// The universal C runtime's strcpy_s, as a module built with Visual C++ would call it,
// with a buffer too small for the text.
void CopyIntoTooSmallBuffer() {
  typedef int(__cdecl * CopyFunction)(char*, size_t, const char*);
  auto copy = reinterpret_cast<CopyFunction>(
      reinterpret_cast<void*>(::GetProcAddress(::LoadLibraryW(L"ucrtbase.dll"), "strcpy_s")));
  char buffer[4];
  if (copy) copy(buffer, sizeof(buffer), "far too long for four bytes");
}

void Crash(WPARAM kind) {
  switch (kind) {
    case kAccessViolation:
      WriteToNowhere();
      break;
    case kStackOverflow:
      Recurse(1);
      break;
    case kAbort:
      std::abort();
    case kPureVirtualCall: {
      crash_module::Derived derived;
      break;
    }
    case kInvalidParameter:
      CopyIntoTooSmallBuffer();
      break;
  }
}

HANDLE g_start_together = nullptr;

void CrashTogether(WPARAM kind) {
  ::WaitForSingleObject(g_start_together, INFINITE);
  Crash(kind);
}

LRESULT CALLBACK CrashWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != kCrashMessage) return ::DefWindowProcW(window, message, wparam, lparam);
  if (lparam == kMainThread) {
    Crash(wparam);
  } else if (lparam == kWorkerThread) {
    std::thread(Crash, wparam).detach();
  } else if (lparam == kTwoWorkersAtOnce) {
    g_start_together = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread(CrashTogether, wparam).detach();
    std::thread(CrashTogether, wparam).detach();
    ::SetEvent(g_start_together);
  }
  return 0;
}

void CreateCrashWindow(TERObserveData1* record) {
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = &CrashWindowProc;
  window_class.hInstance = g_instance;
  window_class.lpszClassName = L"OstrevanCrashTestModule";
  ::RegisterClassW(&window_class);
  HWND window = ::CreateWindowExW(0, window_class.lpszClassName, L"crasher", WS_CHILD | WS_VISIBLE,
                                  0, 0, 40, 40, record->window, nullptr, g_instance, nullptr);
  if (window) record->window = window;
}

void Receive(TERObserveData1* record) {
  if (record->name && std::strcmp(record->name, "CRASHER_CREATE") == 0) CreateCrashWindow(record);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) g_instance = instance;
  return TRUE;
}

TER_MODULE_EXPORT int RegisterModule(ModuleChannel* channel) {
  channel->receive = &Receive;
  return 1;
}
