// A module that loads the host with platform commands from 16 threads at once, for the stress
// test. It puts a small window where the manifest says and takes scripts sent to it with
// WM_COPYDATA, run on the main thread:
//   start SECONDS [KINDS]  16 threads send progress notifications, image and font look-ups, alerts,
//                   sheet tips, window-state commands and counted closures for SECONDS; then
//                   "load over ..." and, once every closure posted before has run, "drained
//                   posted=N ran=N freed=N" are logged
//   measure         log "measure gdi=G user=U handles=H": what the process holds
// The log is stress.log beside the DLL.
#include <windows.h>
#include <winternl.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "host/module_api.h"
#include "rapidjson/document.h"
#include "view/dispatch_queue.h"

namespace {

constexpr int kThreads = 16;

ModuleChannel* g_channel = nullptr;
HINSTANCE g_instance = nullptr;
HWND g_window = nullptr;
std::mutex g_log_lock;
DWORD g_loaded_at = ::GetTickCount();

std::atomic<long> g_posted{0};
std::atomic<long> g_ran{0};
std::atomic<long> g_freed{0};
std::atomic<long> g_sent{0};

// Which commands the load sends besides look-ups, notifications and closures.
enum : unsigned { kAlerts = 1, kSheetTips = 2, kWindowStates = 4 };
unsigned g_kinds = kAlerts | kSheetTips | kWindowStates;

void Log(const std::string& line) {
  std::lock_guard<std::mutex> lock(g_log_lock);
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(g_instance, path, MAX_PATH);
  std::wstring log = path;
  log = log.substr(0, log.find_last_of(L'\\') + 1) + L"stress.log";
  if (FILE* file = ::_wfopen(log.c_str(), L"ab")) {
    std::fprintf(file, "%s t=%lu\n", line.c_str(), ::GetTickCount() - g_loaded_at);
    std::fclose(file);
  }
}

TERObserveData1 Command(const char* name) {
  TERObserveData1 record = {};
  record.name = name;
  record.sender = g_channel->id;
  return record;
}

void Send(TERObserveData1* record) {
  g_channel->send(record);
  ++g_sent;
}

// Counts its own end, whichever way the closure ends: run and deleted, or deleted unrun.
struct ClosureToken {
  ~ClosureToken() { ++g_freed; }
};

void PostCountedClosure() {
  auto token = std::make_shared<ClosureToken>();
  auto* closure = new std::function<void()>([token] { ++g_ran; });
  token.reset();
  ++g_posted;
  DispatchQueue::DispatchAsync(DispatchQueue::DispatchGetMainQueue(), closure);
}

void LookUp(const char* name, const char* key) {
  TERObserveData1 record = Command(name);
  record.text = const_cast<char*>(key);
  Send(&record);
}

void NotifyProgress(uint64_t done) {
  std::string description = "item " + std::to_string(done);
  TERObserveData1 record = Command("LIBPLATFORM_COMMAND_NOTIFY_PROGRESS");
  record.extra2 = done % 1000 + 1;
  record.extra1 = 1000;
  record.object = &description[0];
  Send(&record);
}

void Alert(int thread) {
  std::wstring text = L"Stress alert from thread " + std::to_wstring(thread);
  TERObserveData1 record = Command("LIBPLATFORM_COMMAND_OPEN_ALERT_MESSAGE");
  record.wide_text = &text[0];
  record.value = 300;
  Send(&record);
}

void SheetTip(int thread, bool show) {
  rapidjson::Document document;
  document.SetObject();
  const std::string message = "Stress tip " + std::to_string(thread);
  document.AddMember("show", show ? 1 : 0, document.GetAllocator());
  document.AddMember("message", rapidjson::Value(message.c_str(), document.GetAllocator()),
                     document.GetAllocator());
  TERObserveData1 record = Command("LIBPLATFORM_COMMAND_SHOW_SHEET_TIP");
  record.payload = &document;
  Send(&record);
}

void WindowState(uint64_t round) {
  static const char* const kCommands[] = {"LIBPLATFORM_COMMAND_PRESS_MAX_OR_RESET",
                                          "LIBPLATFORM_COMMAND_MINIMIZE_TO_TRAY",
                                          "LIBPLATFORM_COMMAND_RESTORE_FROM_TRAY",
                                          "LIBPLATFORM_COMMAND_PRESS_MAX_OR_RESET"};
  TERObserveData1 record = Command(kCommands[round % 4]);
  Send(&record);
}

bool Due(DWORD* at, DWORD now, DWORD period) {
  if (static_cast<LONG>(now - *at) < 0) return false;
  *at = now + period;
  return true;
}

// One thread's share: look-ups, progress notifications and closures all the time; alerts,
// sheet tips and window-state commands every few seconds, so the user-interface thread and
// whoever closes the alerts keep up.
void Load(int thread, DWORD until) {
  static const char* const kImages[] = {"alert.png", "close-normal.png", "loading.gif",
                                        "dialog\\slide-down-normal.png", "stress-missing.png"};
  static const char* const kFonts[] = {"font:gdiplus:16:bold", "font:gdiplus:12:normal",
                                       "font:gdiplus:56:normal", "font:gdiplus:24:normal"};
  static const char* const kGdiFonts[] = {"font:12:normal", "font:23:bold", "font:22:normal",
                                          "font:23:normal"};
  const DWORD start = ::GetTickCount();
  DWORD alert_at = start + 1000 + thread * 300;
  DWORD tip_at = start + thread * 60;
  DWORD state_at = start + 500 + thread * 200;
  for (uint64_t round = thread;; ++round) {
    const DWORD now = ::GetTickCount();
    if (static_cast<LONG>(now - until) >= 0) break;
    switch (round % 6) {
      case 0: NotifyProgress(round); break;
      case 1: LookUp("LIBPLATFORM_COMMAND_FIND_IMAGE", kImages[round % 5]); break;
      case 2: LookUp("LIBPLATFORM_COMMAND_GET_GDIPLUS_FONT", kFonts[round % 4]); break;
      case 3: LookUp("LIBPLATFORM_COMMAND_GET_FONT", kGdiFonts[round % 4]); break;
      case 4: PostCountedClosure(); break;
      case 5: LookUp("LIBPLATFORM_COMMAND_FIND_URL", "url:help"); break;
    }
    if (Due(&alert_at, now, 20000) && (g_kinds & kAlerts)) Alert(thread);
    if (Due(&tip_at, now, 1000) && (g_kinds & kSheetTips)) SheetTip(thread, round % 2 == 0);
    if (Due(&state_at, now, 3000) && (g_kinds & kWindowStates)) WindowState(round);
    ::Sleep(1);
  }
}

DWORD WINAPI LoadThread(void* argument) {
  auto* until = static_cast<DWORD*>(argument);
  static std::atomic<int> next{0};
  Load(next++ % kThreads, *until);
  return 0;
}

// Runs the threads to the end, then says how it went; started from its own thread so the
// main thread stays free for what the load queues there.
DWORD WINAPI Conductor(void* argument) {
  std::unique_ptr<DWORD> until(static_cast<DWORD*>(argument));
  std::vector<HANDLE> threads;
  for (int i = 0; i < kThreads; ++i)
    threads.push_back(::CreateThread(nullptr, 0, &LoadThread, until.get(), 0, nullptr));
  for (HANDLE thread : threads) {
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
  }
  // Leave the window as a user would find it: progress done, tip gone, window back.
  TERObserveData1 finish = Command("LIBPLATFORM_COMMAND_NOTIFY_PROGRESS_FINISH");
  Send(&finish);
  SheetTip(0, false);
  TERObserveData1 restore = Command("LIBPLATFORM_COMMAND_RESTORE_FROM_TRAY");
  Send(&restore);
  Log("load over sent=" + std::to_string(g_sent.load()) + " posted=" +
      std::to_string(g_posted.load()));
  // Closures run in the order they were posted: when this one runs, every earlier one has.
  const long posted = g_posted.load();
  auto* drain = new std::function<void()>([posted] {
    Log("drained posted=" + std::to_string(posted) + " ran=" + std::to_string(g_ran.load()) +
        " freed=" + std::to_string(g_freed.load()));
  });
  DispatchQueue::DispatchAsync(DispatchQueue::DispatchGetMainQueue(), drain);
  return 0;
}

void StartLoad(int seconds) {
  TERProgressSetup setup = {};
  rapidjson::Document start;
  start.Parse(R"({"title": "Stress", "desc": "Loading", "show_current_total_number": 1,
                  "auto_close_when_finish": 1})");
  TERObserveData1 record = Command("LIBPLATFORM_COMMAND_START_PROGRESS");
  record.object = &setup;
  record.payload = &start;
  Send(&record);
  g_posted = g_ran = g_freed = g_sent = 0;
  auto* until = new DWORD(::GetTickCount() + static_cast<DWORD>(seconds) * 1000);
  ::CloseHandle(::CreateThread(nullptr, 0, &Conductor, until, 0, nullptr));
  Log("load started " + std::to_string(seconds));
}

using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
using QuerySystem = NTSTATUS(NTAPI*)(ULONG, void*, ULONG, ULONG*);

template <typename Function>
Function Ntdll(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), name)));
}

// Counts by the system's own means where it has them; under Wine, which answers 0 to both
// questions, from the process's GDI handle table and the system's handle list instead.
// `kinds` receives the count of each type of object when the table is what is counted.
int GdiObjects(std::string* kinds) {
  if (DWORD count = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS)) return count;
  struct Entry {
    uint64_t object;
    uint32_t owner;
    uint16_t type;
    uint16_t unique;
    uint64_t user;
  };
  PROCESS_BASIC_INFORMATION basic = {};
  if (Ntdll<QueryProcess>("NtQueryInformationProcess")(::GetCurrentProcess(), ProcessBasicInformation,
                                                       &basic, sizeof basic, nullptr) != 0) {
    return -1;
  }
  const auto* peb = reinterpret_cast<const unsigned char*>(basic.PebBaseAddress);
  const auto* table = *reinterpret_cast<const Entry* const*>(peb + 0xF8);  // GdiSharedHandleTable
  if (!table) return -1;
  int count = 0;
  int by_kind[256] = {};
  for (int i = 0; i < 0x10000; ++i) {
    if (!table[i].type) continue;
    ++count;
    ++by_kind[table[i].type & 0xFF];  // 0x04 region, 0x09 bitmap, 0x0a font, 0x10 brush, 0x41 DC
  }
  if (kinds) {
    char text[32];
    for (int kind = 0; kind < 256; ++kind) {
      if (!by_kind[kind]) continue;
      std::snprintf(text, sizeof text, " %02x:%d", kind, by_kind[kind]);
      *kinds += text;
    }
  }
  return count;
}

// `kinds` receives the top-level windows' classes (with their visibility and children).
int UserObjects(std::string* kinds) {
  if (DWORD count = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS)) return count;
  // Windows are what a leak of dialogs or controls would leave.
  struct Counter {
    static BOOL CALLBACK Child(HWND, LPARAM count) {
      ++*reinterpret_cast<int*>(count);
      return TRUE;
    }
    static BOOL CALLBACK Top(HWND window, LPARAM context) {
      auto* counter = reinterpret_cast<Counter*>(context);
      DWORD process = 0;
      ::GetWindowThreadProcessId(window, &process);
      if (process != ::GetCurrentProcessId()) return TRUE;
      int children = 0;
      ::EnumChildWindows(window, &Child, reinterpret_cast<LPARAM>(&children));
      counter->count += 1 + children;
      wchar_t name[64] = {};
      ::GetClassNameW(window, name, 64);
      counter->kinds += " " + std::string(name, name + wcslen(name)) +
                        (::IsWindowVisible(window) ? "+" : "-") + std::to_string(children);
      if (::IsWindowVisible(window) && children) {
        char detail[160];
        std::snprintf(detail, sizeof detail, "[%p owner=%p enabled=%d ids=", window,
                      ::GetWindow(window, GW_OWNER), ::IsWindowEnabled(window));
        counter->kinds += detail;
        for (HWND child = ::GetWindow(window, GW_CHILD); child;
             child = ::GetWindow(child, GW_HWNDNEXT))
          counter->kinds += std::to_string(::GetDlgCtrlID(child)) + ",";
        counter->kinds += "]";
      }
      return TRUE;
    }
    int count = 0;
    std::string kinds;
  };
  Counter counter;
  ::EnumWindows(&Counter::Top, reinterpret_cast<LPARAM>(&counter));
  if (kinds) *kinds = counter.kinds;
  return counter.count;
}

int Handles() {
  DWORD count = 0;
  if (::GetProcessHandleCount(::GetCurrentProcess(), &count) && count) return count;
  const auto query = Ntdll<QuerySystem>("NtQuerySystemInformation");
  struct Entry {
    ULONG process;
    UCHAR type, flags;
    USHORT handle;
    void* object;
    ACCESS_MASK access;
  };
  std::vector<char> buffer(1 << 20);
  ULONG length = 0;
  constexpr ULONG kSystemHandleInformation = 16;
  NTSTATUS status;
  while ((status = query(kSystemHandleInformation, buffer.data(), ULONG(buffer.size()), &length)) ==
         static_cast<NTSTATUS>(0xC0000004L))  // STATUS_INFO_LENGTH_MISMATCH
    buffer.resize(buffer.size() * 2);
  if (status != 0) return -1;
  const ULONG entries = *reinterpret_cast<const ULONG*>(buffer.data());
  const auto* entry = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
  int mine = 0;
  for (ULONG i = 0; i < entries; ++i) mine += entry[i].process == ::GetCurrentProcessId();
  return mine;
}

void Measure() {
  std::string kinds, windows;
  const int gdi = GdiObjects(&kinds);
  const int user = UserObjects(&windows);
  Log("measure gdi=" + std::to_string(gdi) + " user=" + std::to_string(user) +
      " handles=" + std::to_string(Handles()) +
      " system-gdi=" + std::to_string(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS)) +
      " system-user=" + std::to_string(::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS)) +
      " gdi-kinds" + kinds + " windows" + windows);
}

LRESULT CALLBACK StressWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COPYDATA) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
    const std::string script(static_cast<const char*>(data->lpData), data->cbData);
    if (script.rfind("start ", 0) == 0) {
      const char* kinds = std::strchr(script.c_str() + 6, ' ');
      g_kinds = kinds ? std::strtoul(kinds, nullptr, 10) : kAlerts | kSheetTips | kWindowStates;
      StartLoad(std::atoi(script.c_str() + 6));
    }
    if (script == "measure") Measure();
    return TRUE;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

void CreateStressWindow(TERObserveData1* record) {
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = &StressWindowProc;
  window_class.hInstance = g_instance;
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  window_class.lpszClassName = L"OstrevanStressTestModule";
  ::RegisterClassW(&window_class);
  g_window = ::CreateWindowExW(0, window_class.lpszClassName, L"stress", WS_CHILD | WS_VISIBLE,
                               0, 0, 200, 100, record->window, nullptr, g_instance, nullptr);
  if (g_window) record->window = g_window;
  Log("created");
}

void Receive(TERObserveData1* record) {
  if (std::string(record->name) == "STRESS_CREATE") CreateStressWindow(record);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) g_instance = instance;
  return TRUE;
}

TER_MODULE_EXPORT int RegisterModule(ModuleChannel* channel) {
  g_channel = channel;
  channel->receive = &Receive;
  return 1;
}
