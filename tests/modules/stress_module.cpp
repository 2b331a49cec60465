// A module that loads the host with platform commands from 16 threads at once, for the stress
// test. It puts a small window where the manifest says and takes scripts sent to it with
// WM_COPYDATA, run on the main thread:
//   warm SECONDS      a short load in which thread 0 sends each user-facing command once
//   start SECONDS     the load: 16 threads send look-ups, progress notifications and counted
//                     closures all the time, and sheet tips, alerts and window-state commands
//                     at a pace a user-interface thread keeps up with
//   Either may end in a number naming the kinds sent besides look-ups and closures (1 alerts,
//   2 sheet tips, 4 window states), to find what leaks. When the load is over "load over
//   ..." is logged and, once every closure posted before has run, "drained posted=N ran=N
//   freed=N".
//   measure           log "measure gdi=G user=U handles=H events=E" (E: how many of the
//                     handles are events, -1 when unknown) and what they are made of
// The log is stress.log beside the DLL.
#include <windows.h>
#include <winternl.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
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
const DWORD g_loaded_at = ::GetTickCount();

std::atomic<long> g_posted{0};
std::atomic<long> g_ran{0};
std::atomic<long> g_freed{0};
std::atomic<long> g_sent{0};
std::atomic<long> g_shown{0};  // alerts, sheet tips and window-state commands

enum : unsigned { kAlerts = 1, kSheetTips = 2, kWindowStates = 4, kAllKinds = 7 };

struct LoadPlan {
  DWORD start;
  DWORD until;
  bool warm;
  unsigned kinds;
};

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

// Half of them link alerts, as a module tells where it saved something.
void Alert(int thread) {
  ++g_shown;
  if (thread % 8 == 0) {
    std::wstring text = L"Stress alert from thread " + std::to_wstring(thread);
    TERObserveData1 record = Command("LIBPLATFORM_COMMAND_OPEN_ALERT_MESSAGE");
    record.wide_text = &text[0];
    record.value = 300;
    Send(&record);
    return;
  }
  std::string json = R"({"title": "Stress", "sub_title": "Thread )" + std::to_string(thread) +
                     R"(", "link": "Saved to <a href=\"C:\\stress\">a folder</a>",
                         "width": 320, "height": 120})";
  TERObserveData1 record = Command("LIBPLATFORM_COMMAND_OPEN_LINK_ALERT_MESSAGE");
  record.payload = &json[0];
  Send(&record);
}

void SheetTip(int thread, bool show) {
  ++g_shown;
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

constexpr const char* kWindowCommands[] = {
    "LIBPLATFORM_COMMAND_PRESS_MAX_OR_RESET", "LIBPLATFORM_COMMAND_MINIMIZE_TO_TRAY",
    "LIBPLATFORM_COMMAND_RESTORE_FROM_TRAY", "LIBPLATFORM_COMMAND_PRESS_MAX_OR_RESET"};

void WindowState(int index) {
  ++g_shown;
  TERObserveData1 record = Command(kWindowCommands[index % 4]);
  Send(&record);
}

bool Due(DWORD* at, DWORD now, DWORD period) {
  if (static_cast<LONG>(now - *at) < 0) return false;
  *at = now + period;
  return true;
}

// The warm-up's thread 0: every user-facing command once, so that what is made on first use
// (dialogs, fonts, pictures, the tray icon) is made before the holdings are first measured.
// The tip stays until the load is over, long enough to have slid out and shown its text.
void WarmUserFacing(unsigned kinds) {
  if (kinds & kSheetTips) SheetTip(0, true);
  if (kinds & kWindowStates) {
    for (int i = 0; i < 4; ++i) WindowState(i);
  }
  if (kinds & kAlerts) {
    Alert(0);
    Alert(4);
  }
}

// One thread's share: look-ups, progress notifications and closures all the time; now and
// then what a module shows the user, spread over the threads: a sheet tip every 30 s
// (shown, then hidden), a window-state command every 20 s, one alert from every fourth
// thread. Under Wine each of those costs the user-interface thread tenths of a second, and
// an alert waits for the test to answer it; faster, the load would only queue them.
void Load(int thread, const LoadPlan& plan) {
  static const char* const kImages[] = {"alert.png", "close-normal.png", "loading.gif",
                                        "dialog\\slide-down-normal.png", "stress-missing.png"};
  static const char* const kFonts[] = {"font:gdiplus:16:bold", "font:gdiplus:12:normal",
                                       "font:gdiplus:56:normal", "font:gdiplus:24:normal"};
  static const char* const kGdiFonts[] = {"font:12:normal", "font:23:bold", "font:22:normal",
                                          "font:23:normal"};
  if (plan.warm && thread == 0) WarmUserFacing(plan.kinds);
  const bool user_facing = !plan.warm;
  DWORD tip_at = plan.start + 500 + thread * 1875;
  DWORD state_at = plan.start + 1000 + thread * 1250;
  DWORD alert_at = thread % 4 == 0 ? plan.start + 3000 + thread * 2500 : plan.until;
  int tips = 0, states = thread;
  for (uint64_t round = thread;; ++round) {
    const DWORD now = ::GetTickCount();
    if (static_cast<LONG>(now - plan.until) >= 0) break;
    switch (round % 6) {
      case 0: NotifyProgress(round); break;
      case 1: LookUp("LIBPLATFORM_COMMAND_FIND_IMAGE", kImages[round % 5]); break;
      case 2: LookUp("LIBPLATFORM_COMMAND_GET_GDIPLUS_FONT", kFonts[round % 4]); break;
      case 3: LookUp("LIBPLATFORM_COMMAND_GET_FONT", kGdiFonts[round % 4]); break;
      case 4: PostCountedClosure(); break;
      case 5: LookUp("LIBPLATFORM_COMMAND_FIND_URL", "url:help"); break;
    }
    if (user_facing && (plan.kinds & kSheetTips) && Due(&tip_at, now, 30000))
      SheetTip(thread, tips++ % 2 == 0);
    if (user_facing && (plan.kinds & kWindowStates) && Due(&state_at, now, 20000))
      WindowState(states++);
    if (user_facing && (plan.kinds & kAlerts) && Due(&alert_at, now, 0)) {
      Alert(thread);
      alert_at = plan.until;
    }
    ::Sleep(1);
  }
}

DWORD WINAPI LoadThread(void* argument) {
  static std::atomic<int> next{0};
  Load(next++ % kThreads, *static_cast<const LoadPlan*>(argument));
  return 0;
}

// Runs the threads to the end, then says how it went; started from its own thread so the
// main thread stays free for what the load queues there.
DWORD WINAPI Conductor(void* argument) {
  std::unique_ptr<LoadPlan> plan(static_cast<LoadPlan*>(argument));
  const HWND frame = ::GetAncestor(g_window, GA_ROOT);
  RECT frame_before = {};
  ::GetWindowRect(frame, &frame_before);
  std::vector<HANDLE> threads;
  for (int i = 0; i < kThreads; ++i)
    threads.push_back(::CreateThread(nullptr, 0, &LoadThread, plan.get(), 0, nullptr));
  for (HANDLE thread : threads) {
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
  }
  // Leave the window as it was before the load (what the process holds depends on it, a
  // maximized window's background being larger): progress done, tip gone, window back from
  // the tray and not maximized. Window-state commands are done when their send returns.
  // The frame's maximised state is its own (not the system's), and a thread held up in a
  // send may miss its last toggle: the frame's rectangle tells.
  TERObserveData1 finish = Command("LIBPLATFORM_COMMAND_NOTIFY_PROGRESS_FINISH");
  Send(&finish);
  if (plan->kinds & kSheetTips) SheetTip(0, false);
  if (plan->kinds & kWindowStates) {
    WindowState(2);
    RECT frame_after = {};
    ::GetWindowRect(frame, &frame_after);
    if (!::EqualRect(&frame_after, &frame_before)) WindowState(0);
  }
  Log("load over sent=" + std::to_string(g_sent.load()) + " shown=" +
      std::to_string(g_shown.load()) + " posted=" + std::to_string(g_posted.load()));
  // Closures run in the order they were posted: when this one runs, every earlier one has.
  const long posted = g_posted.load();
  auto* drain = new std::function<void()>([posted] {
    Log("drained posted=" + std::to_string(posted) + " ran=" + std::to_string(g_ran.load()) +
        " freed=" + std::to_string(g_freed.load()));
  });
  DispatchQueue::DispatchAsync(DispatchQueue::DispatchGetMainQueue(), drain);
  return 0;
}

// Wine keeps every window DC given back in a cache, for the next GetDC, that grows to the
// most window DCs ever in use at once and never shrinks (a DC and two more GDI objects each).
// Filled up front, the load's peaks do not show as growth.
void FillWindowDcCache() {
  std::vector<HDC> dcs;
  for (int i = 0; i < 48; ++i) {
    if (HDC dc = ::GetDCEx(g_window, nullptr, DCX_CACHE)) dcs.push_back(dc);
  }
  for (HDC dc : dcs) ::ReleaseDC(g_window, dc);
}

void StartLoad(int seconds, bool warm, unsigned kinds) {
  if (warm) FillWindowDcCache();
  TERProgressSetup setup = {};
  rapidjson::Document start;
  start.Parse(R"({"title": "Stress", "desc": "Loading", "show_current_total_number": 1,
                  "auto_close_when_finish": 1})");
  TERObserveData1 record = Command("LIBPLATFORM_COMMAND_START_PROGRESS");
  record.object = &setup;
  record.payload = &start;
  Send(&record);
  g_posted = g_ran = g_freed = g_sent = g_shown = 0;
  const DWORD now = ::GetTickCount();
  auto* plan = new LoadPlan{now, now + static_cast<DWORD>(seconds) * 1000, warm, kinds};
  ::CloseHandle(::CreateThread(nullptr, 0, &Conductor, plan, 0, nullptr));
  Log("load started " + std::to_string(seconds));
}

using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
using QuerySystem = NTSTATUS(NTAPI*)(ULONG, void*, ULONG, ULONG*);
using QueryObject = NTSTATUS(NTAPI*)(HANDLE, int, void*, ULONG, ULONG*);

template <typename Function>
Function Ntdll(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), name)));
}

std::string Breakdown(const std::map<int, int>& counts) {
  std::string text;
  for (const auto& kind : counts) text += " " + std::to_string(kind.first) + ":" +
                                          std::to_string(kind.second);
  return text;
}

// The system's counts where it gives them. Wine answers 0 to GetGuiResources and to
// GetProcessHandleCount; there the same is counted from the process's GDI handle table, its
// windows and the system's handle list, each with a breakdown by kind for a failure report.
int GdiObjects(std::string* kinds) {
  if (DWORD count = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS)) return count;
  struct Entry {  // a free entry keeps its unique number but has no type
    uint64_t object;
    uint32_t owner;
    uint16_t unique;
    uint8_t type;  // 1 DC, 4 region, 9 bitmap, 10 font, 16 brush...
    uint8_t flags;
    uint64_t user;
  };
  PROCESS_BASIC_INFORMATION basic = {};
  const auto query = Ntdll<QueryProcess>("NtQueryInformationProcess");
  if (query(::GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) {
    return -1;
  }
  const auto* peb = reinterpret_cast<const unsigned char*>(basic.PebBaseAddress);
  const auto* table = *reinterpret_cast<const Entry* const*>(peb + 0xF8);  // GdiSharedHandleTable
  if (!table) return -1;
  int count = 0;
  std::map<int, int> by_kind;
  std::map<std::string, int> bitmaps;  // by size, to tell whose they are after a failure
  for (int i = 0; i < 0x10000; ++i) {
    if (!table[i].type) continue;
    ++count;
    ++by_kind[table[i].type];
    if (table[i].type != 9) continue;
    const auto handle = reinterpret_cast<HGDIOBJ>(
        static_cast<ULONG_PTR>((static_cast<unsigned>(table[i].unique) << 16) | i));
    BITMAP bitmap = {};
    if (::GetObjectW(handle, sizeof bitmap, &bitmap) == sizeof bitmap)
      ++bitmaps[std::to_string(bitmap.bmWidth) + "x" + std::to_string(bitmap.bmHeight)];
    else
      ++bitmaps["?"];
  }
  *kinds = Breakdown(by_kind) + " bitmaps";
  for (const auto& size : bitmaps) *kinds += " " + size.first + ":" + std::to_string(size.second);
  return count;
}

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
      return TRUE;
    }
    int count = 0;
    std::string kinds;
  } counter;
  ::EnumWindows(&Counter::Top, reinterpret_cast<LPARAM>(&counter));
  *kinds = counter.kinds;
  return counter.count;
}

// `events` receives how many of them are events, or -1 when the system gave the count.
int Handles(std::string* kinds, int* events) {
  *events = -1;
  DWORD count = 0;
  if (::GetProcessHandleCount(::GetCurrentProcess(), &count) && count) return count;
  struct Entry {
    ULONG process;
    UCHAR type, flags;
    USHORT handle;
    void* object;
    ACCESS_MASK access;
  };
  std::vector<char> buffer(1 << 20);
  constexpr ULONG kSystemHandleInformation = 16;
  constexpr auto kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);
  const auto query = Ntdll<QuerySystem>("NtQuerySystemInformation");
  NTSTATUS status;
  while ((status = query(kSystemHandleInformation, buffer.data(), ULONG(buffer.size()),
                         nullptr)) == kInfoLengthMismatch) {
    buffer.resize(buffer.size() * 2);
  }
  if (status != 0) return -1;
  const ULONG entries = *reinterpret_cast<const ULONG*>(buffer.data());
  const auto* entry = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
  const auto query_object = Ntdll<QueryObject>("NtQueryObject");
  int mine = 0;
  std::map<std::string, int> by_kind;
  for (ULONG i = 0; i < entries; ++i) {
    if (entry[i].process != ::GetCurrentProcessId()) continue;
    ++mine;
    alignas(8) char type[512] = {};
    std::string name = std::to_string(entry[i].type);
    constexpr int kObjectTypeInformation = 2;
    if (query_object(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(entry[i].handle)),
                     kObjectTypeInformation, type, sizeof type, nullptr) == 0) {
      const auto* text = reinterpret_cast<const UNICODE_STRING*>(type);
      name.assign(text->Buffer, text->Buffer + text->Length / sizeof(wchar_t));
    }
    ++by_kind[name];
  }
  for (const auto& kind : by_kind) *kinds += " " + kind.first + ":" + std::to_string(kind.second);
  *events = by_kind["Event"];
  return mine;
}

void Measure() {
  std::string gdi_kinds, windows, handle_kinds;
  const int gdi = GdiObjects(&gdi_kinds);
  const int user = UserObjects(&windows);
  int events = -1;
  const int handles = Handles(&handle_kinds, &events);
  Log("measure gdi=" + std::to_string(gdi) + " user=" + std::to_string(user) + " handles=" +
      std::to_string(handles) + " events=" + std::to_string(events) + " (gdi" + gdi_kinds +
      ") (windows" + windows + ") (handles" + handle_kinds + ")");
}

LRESULT CALLBACK StressWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != WM_COPYDATA) return ::DefWindowProcW(window, message, wparam, lparam);
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
  const std::string script(static_cast<const char*>(data->lpData), data->cbData);
  const bool warm = script.rfind("warm ", 0) == 0;
  if (warm || script.rfind("start ", 0) == 0) {
    char* rest = nullptr;
    const long seconds = std::strtol(script.c_str() + script.find(' ') + 1, &rest, 10);
    const unsigned long kinds = *rest ? std::strtoul(rest, nullptr, 10) : 0ul + kAllKinds;
    StartLoad(static_cast<int>(seconds), warm, static_cast<unsigned>(kinds));
  } else if (script == "measure") {
    Measure();
  }
  return TRUE;
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
  if (std::strcmp(record->name, "STRESS_CREATE") == 0) CreateStressWindow(record);
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
