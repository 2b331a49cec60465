// A stand-in for the recorder module, for the end-to-end tests. It logs what it receives to
// recorder.log beside its DLL, puts a visible window where the manifest says, refuses to
// let the program close while a file "refuse-exit" lies beside it, and runs small scripts
// sent to its window with WM_COPYDATA, on the main thread at once ("main:"), on the main
// thread from the message loop ("later:", so the sender need not wait while the script runs
// a modal dialog) or on a worker ("worker:"):
//   platform NAME [ARGUMENT]   send a platform command and log what came back
//   value NAME NUMBER           the same with NUMBER in `value` and no text
//   fresh NAME                  send it twice and log whether the two answers are distinct
//   dispatch                    post a closure to the main thread through the queue
//   pref KEY [VALUE]            set a text preference (libTerrace's standard user defaults)
//   children NAME               log "child ID LEFT TOP RIGHT BOTTOM" (screen pixels) for each
//                               child of the module window recorded under NAME
// Listed for the alert and sheet-tip commands, it hears them before the host and logs
// their texts ("alert ...", "sheet-tip ...").
//   confirm WIDTH TEXT          a confirm without callback; confirm-cb with one
//   alert WIDTH TEXT            an alert
//   link none|0|1 JSON          a link alert, without link handler or with one answering 0/1
//   progress-start JSON         start the progress (cancel function logs "progress-cancelled")
//   progress-notify DONE TOTAL FAILED ITEM|- DESCRIPTION|-   and progress-finish the same
//   progress-cancel ID          the cancel command
//   sheet SHOW TEXT             the sheet tip
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>

#include "contracts/ter_user_defaults.h"
#include "host/module_api.h"
#include "rapidjson/document.h"
#include "view/dispatch_queue.h"

namespace {

ModuleChannel* g_channel = nullptr;
HINSTANCE g_instance = nullptr;
HWND g_window = nullptr;
DWORD g_main_thread = 0;
std::mutex g_log_lock;

std::wstring BesideModule(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(g_instance, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\') + 1) + name;
}

void Log(const std::string& line) {
  std::lock_guard<std::mutex> lock(g_log_lock);
  if (FILE* file = ::_wfopen(BesideModule(L"recorder.log").c_str(), L"ab")) {
    std::fputs((line + "\n").c_str(), file);
    std::fclose(file);
  }
}

std::string Narrow(const wchar_t* text) {
  if (!text) return "(null)";
  char buffer[1024] = {};
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof(buffer) - 1, nullptr, nullptr);
  return buffer;
}

std::string Hex(const void* pointer) {
  char text[32];
  std::snprintf(text, sizeof(text), "%p", pointer);
  return text;
}

bool OnMainThread() { return ::GetCurrentThreadId() == g_main_thread; }

// Sends a platform command and describes every answer word it could carry.
void RunPlatformCommand(const std::string& name, const std::string& argument, int64_t value = 0) {
  TERObserveData1 record = {};
  record.name = name.c_str();
  record.sender = g_channel->id;
  record.value = value;
  std::string text = argument;
  std::wstring wide(argument.begin(), argument.end());
  if (!argument.empty()) {
    record.text = &text[0];
    record.wide_text = &wide[0];
  }
  char* text_in = record.text;
  wchar_t* wide_in = record.wide_text;
  g_channel->send(&record);

  std::ostringstream line;
  line << "platform " << name << " main=" << OnMainThread();
  if (record.text != text_in) {
    line << " text=" << record.text;
    std::free(record.text);
  }
  if (record.wide_text != wide_in) {
    line << " wide=" << Narrow(record.wide_text);
    std::free(record.wide_text);
  }
  if (name == "LIBPLATFORM_COMMAND_REPLACE_I18N_SUB_DIR" && record.payload) {
    line << " payload=" << static_cast<char*>(record.payload);
    std::free(record.payload);
  }
  if (name == "LIBPLATFORM_COMMAND_GET_DPI_SCALE_PERCENT" && record.object) {
    line << " scale=" << *static_cast<float*>(record.object);
    std::free(record.object);
  } else if (name == "LIBPLATFORM_COMMAND_FIND_URL") {
    line << " url=" << (record.object ? static_cast<const char*>(record.object) : "(null)");
  } else {
    line << " object=" << (record.object ? "set" : "null");
  }
  line << " window=" << Hex(record.window) << " value=" << record.value
       << " extra1=" << record.extra1;
  Log(line.str());
}

// Each closure carries a token whose destruction says the closure was freed.
struct ClosureToken {
  ~ClosureToken() { Log("closure freed"); }
};

void DispatchFromHere() {
  auto token = std::make_shared<ClosureToken>();
  auto* closure = new std::function<void()>([token] {
    Log(std::string("closure ran main=") + (OnMainThread() ? "1" : "0"));
  });
  token.reset();
  DispatchQueue::DispatchAsync(DispatchQueue::DispatchGetMainQueue(), closure);
}

void LogChildren(const std::string& name) {
  TERObserveData1 record = {};
  record.name = "LIBPLATFORM_COMMAND_GET_MODULE_HWND";
  record.text = const_cast<char*>(name.c_str());
  record.sender = g_channel->id;
  g_channel->send(&record);
  if (!record.window) return Log("children none");
  for (HWND child = ::GetWindow(record.window, GW_CHILD); child;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    RECT rect = {};
    ::GetWindowRect(child, &rect);
    Log("child " + std::to_string(::GetDlgCtrlID(child)) + " " + std::to_string(rect.left) + " " +
        std::to_string(rect.top) + " " + std::to_string(rect.right) + " " +
        std::to_string(rect.bottom));
  }
  Log("children done");
}

std::string MainFlag() { return std::string(" main=") + (OnMainThread() ? "1" : "0"); }

TERObserveData1 Command(const char* name) {
  TERObserveData1 record = {};
  record.name = name;
  record.sender = g_channel->id;
  return record;
}

// Two sends of a command whose answer is a fresh copy: the two must be different blocks.
void SendTwice(const std::string& name) {
  TERObserveData1 first = Command(name.c_str());
  TERObserveData1 second = Command(name.c_str());
  g_channel->send(&first);
  g_channel->send(&second);
  void* a = first.text ? static_cast<void*>(first.text) : first.wide_text ? static_cast<void*>(first.wide_text) : first.object;
  void* b = second.text ? static_cast<void*>(second.text) : second.wide_text ? static_cast<void*>(second.wide_text) : second.object;
  Log("fresh " + name + " distinct=" + ((a && b && a != b) ? "1" : "0"));
  std::free(a);
  std::free(b);
}

void Confirm(const std::string& argument, bool with_callback) {
  std::istringstream words(argument);
  int width = 0;
  words >> width;
  std::string text;
  std::getline(words >> std::ws, text);
  std::wstring wide(text.begin(), text.end());
  TERObserveData1 record = Command("LIBPLATFORM_COMMAND_OPEN_CONFIRM_MESSAGE");
  record.wide_text = &wide[0];
  record.value = width;
  if (with_callback) {
    record.object = new TERConfirmCallback(
        [](int answer) { Log("confirm-callback answer=" + std::to_string(answer) + MainFlag()); });
  }
  g_channel->send(&record);
  Log("confirm value=" + std::to_string(record.value) + MainFlag());
}

void Alert(const std::string& argument) {
  std::istringstream words(argument);
  int width = 0;
  words >> width;
  std::string text;
  std::getline(words >> std::ws, text);
  std::wstring wide(text.begin(), text.end());
  TERObserveData1 record = Command("LIBPLATFORM_COMMAND_OPEN_ALERT_MESSAGE");
  record.wide_text = &wide[0];
  record.value = width;
  g_channel->send(&record);
  Log("alert sent" + MainFlag());
}

void LinkAlert(const std::string& argument) {
  const std::string handler = argument.substr(0, argument.find(' '));
  std::string json = argument.substr(argument.find(' ') + 1);
  TERObserveData1 record = Command("LIBPLATFORM_COMMAND_OPEN_LINK_ALERT_MESSAGE");
  record.payload = &json[0];
  if (handler != "none") {
    const int answer = std::atoi(handler.c_str());
    record.object = new TERLinkHandler([answer](const std::wstring& address) {
      Log("link-handler " + Narrow(address.c_str()) + MainFlag());
      return answer;
    });
  }
  g_channel->send(&record);
  Log("link sent");
}

void CancelledByUser(void* first, void* second) {
  Log("progress-cancelled " + Hex(first) + " " + Hex(second) + MainFlag());
}

void ProgressStart(const std::string& json) {
  rapidjson::Document document;
  document.Parse(json.c_str());
  TERProgressSetup setup = {nullptr, reinterpret_cast<void*>(0x22), reinterpret_cast<void*>(0x11),
                            &CancelledByUser};
  TERObserveData1 record = Command("LIBPLATFORM_COMMAND_START_PROGRESS");
  record.object = &setup;
  record.payload = &document;
  g_channel->send(&record);
  Log("progress started" + MainFlag());
}

void ProgressNotify(const std::string& argument, bool finish) {
  std::istringstream words(argument);
  uint64_t done = 0, total = 0;
  int64_t failed = 0;
  std::string item, description;
  words >> done >> total >> failed >> item >> description;
  TERObserveData1 record = Command(finish ? "LIBPLATFORM_COMMAND_NOTIFY_PROGRESS_FINISH"
                                          : "LIBPLATFORM_COMMAND_NOTIFY_PROGRESS");
  record.extra2 = done;
  record.extra1 = total;
  record.value = failed;
  if (item != "-") record.text = &item[0];
  if (description != "-" && !description.empty()) record.object = &description[0];
  g_channel->send(&record);
  Log(std::string(finish ? "progress finished" : "progress notified") + MainFlag());
}

void ProgressCancel(std::string id) {
  TERObserveData1 record = Command("LIBPLATFORM_COMMAND_CANCEL_PROGRESS");
  record.text = &id[0];
  g_channel->send(&record);
  Log("progress cancel sent");
}

void SheetTip(const std::string& argument) {
  rapidjson::Document document;
  document.SetObject();
  const std::string message = argument.substr(argument.find(' ') + 1);
  document.AddMember("show", std::atoi(argument.c_str()), document.GetAllocator());
  document.AddMember("message", rapidjson::Value(message.c_str(), document.GetAllocator()),
                     document.GetAllocator());
  TERObserveData1 record = Command("LIBPLATFORM_COMMAND_SHOW_SHEET_TIP");
  record.payload = &document;
  g_channel->send(&record);
  Log("sheet sent");
}

void RunScriptLine(const std::string& line) {
  std::istringstream words(line);
  std::string verb, name, argument;
  words >> verb;
  std::getline(words, argument);
  if (!argument.empty() && argument[0] == ' ') argument.erase(0, 1);
  std::istringstream rest(argument);
  rest >> name;
  std::string after_name;
  std::getline(rest, after_name);
  if (!after_name.empty() && after_name[0] == ' ') after_name.erase(0, 1);
  if (verb == "platform") RunPlatformCommand(name, after_name);
  if (verb == "fresh") SendTwice(name);
  if (verb == "value") RunPlatformCommand(name, "", std::atoll(after_name.c_str()));
  if (verb == "dispatch") DispatchFromHere();
  if (verb == "children") LogChildren(name);
  if (verb == "pref") {
    if (ITerUserDefaults* preferences = StandardUserDefaults())
      preferences->SetString(name.c_str(), after_name.c_str());
    Log("pref " + name + "=" + after_name);
  }
  if (verb == "confirm") Confirm(argument, false);
  if (verb == "confirm-cb") Confirm(argument, true);
  if (verb == "alert") Alert(argument);
  if (verb == "link") LinkAlert(argument);
  if (verb == "progress-start") ProgressStart(argument);
  if (verb == "progress-notify") ProgressNotify(argument, false);
  if (verb == "progress-finish") ProgressNotify(argument, true);
  if (verb == "progress-cancel") ProgressCancel(argument);
  if (verb == "sheet") SheetTip(argument);
}

// A thread of the module's own for one script line. Native, not a detached std::thread: the
// runtime's thread library can give the record of a detached thread that is just ending to
// two later threads, and one of them then starts without its argument and crashes (under
// Wine about once in a few thousand starts), which lost a command now and then.
void RunOnWorker(const std::string& line) {
  auto* work = new std::string(line);
  HANDLE thread = ::CreateThread(
      nullptr, 0,
      [](void* context) -> DWORD {
        std::unique_ptr<std::string> line(static_cast<std::string*>(context));
        RunScriptLine(*line);
        return 0;
      },
      work, 0, nullptr);
  if (thread)
    ::CloseHandle(thread);
  else
    delete work;
}

constexpr UINT kRunQueuedScript = WM_APP + 17;

void RunScript(const std::string& script) {
  if (script.rfind("main:", 0) == 0) {
    RunScriptLine(script.substr(5));
  } else if (script.rfind("later:", 0) == 0) {
    ::PostMessageW(g_window, kRunQueuedScript, 0,
                   reinterpret_cast<LPARAM>(new std::string(script.substr(6))));
  } else if (script.rfind("worker:", 0) == 0) {
    RunOnWorker(script.substr(7));
  }
}

LRESULT CALLBACK RecorderWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case kRunQueuedScript: {
      std::unique_ptr<std::string> line(reinterpret_cast<std::string*>(lparam));
      RunScriptLine(*line);
      return 0;
    }
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
      RunScript(std::string(static_cast<const char*>(data->lpData), data->cbData));
      return TRUE;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(window, &paint);
      RECT client;
      ::GetClientRect(window, &client);
      HBRUSH fill = ::CreateSolidBrush(RGB(240, 244, 250));
      ::FillRect(dc, &client, fill);
      ::DeleteObject(fill);
      HBRUSH band = ::CreateSolidBrush(RGB(38, 44, 58));
      RECT title = {0, 0, client.right, 34};
      ::FillRect(dc, &title, band);
      ::DeleteObject(band);
      ::SetBkMode(dc, TRANSPARENT);
      ::SetTextColor(dc, RGB(255, 255, 255));
      RECT text = {16, 0, client.right, 34};
      ::DrawTextW(dc, L"Recorder test module", -1, &text, DT_SINGLELINE | DT_VCENTER);
      ::EndPaint(window, &paint);
      return 0;
    }
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

void CreateRecorderWindow(TERObserveData1* record) {
  int rect[4] = {0, 0, 100, 100};
  const char* numbers = record->text ? std::strstr(record->text, "\"rect\":[") : nullptr;
  if (numbers) std::sscanf(numbers, "\"rect\":[%d,%d,%d,%d]", &rect[0], &rect[1], &rect[2], &rect[3]);
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = &RecorderWindowProc;
  window_class.hInstance = g_instance;
  window_class.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  window_class.lpszClassName = L"OstrevanRecorderTestModule";
  ::RegisterClassW(&window_class);
  g_main_thread = ::GetCurrentThreadId();
  g_window = ::CreateWindowExW(0, window_class.lpszClassName, L"recorder",
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect[0], rect[1],
                               rect[2] - rect[0], rect[3] - rect[1], record->window, nullptr,
                               g_instance, nullptr);
  Log(std::string("create ") + (record->text ? record->text : "") + " parent=" +
      Hex(record->window));
  if (g_window) record->window = g_window;
}

void Receive(TERObserveData1* record) {
  const std::string name = record->name;
  if (name == "RECORDER_CREATE") {
    CreateRecorderWindow(record);
  } else if (name == "LIBPLATFORM_COMMAND_EXIT_PROGRAMME") {
    const bool refuse =
        ::GetFileAttributesW(BesideModule(L"refuse-exit").c_str()) != INVALID_FILE_ATTRIBUTES;
    Log(std::string("exit-question refuse=") + (refuse ? "1" : "0"));
    if (refuse) record->value = 1;
  } else if (name == "LIBPLATFORM_COMMAND_OPEN_ALERT_MESSAGE") {
    Log("alert " + Narrow(record->wide_text));
  } else if (name == "LIBPLATFORM_COMMAND_SHOW_SHEET_TIP") {
    const auto* json = static_cast<const rapidjson::Value*>(record->payload);
    const char* message = json && json->IsObject() && json->HasMember("message") &&
                                  (*json)["message"].IsString()
                              ? (*json)["message"].GetString()
                              : "(none)";
    Log(std::string("sheet-tip ") + message);
  } else if (name == "LIBWINDOW_COMMAND_SIZE_CHANGE") {
    const int* size = static_cast<const int*>(record->payload);
    Log("size " + std::to_string(size[0]) + " " + std::to_string(size[1]));
  } else {
    Log(name);
  }
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) g_instance = instance;
  return TRUE;
}

TER_MODULE_EXPORT int RegisterModule(ModuleChannel* channel) {
  g_channel = channel;
  channel->receive = &Receive;
  Log("registered");
  return 1;
}
