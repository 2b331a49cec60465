// A stand-in for the recorder module, for the end-to-end tests. It logs what it receives to
// recorder.log beside its DLL, puts a visible window where the manifest says, refuses to
// let the program close while a file "refuse-exit" lies beside it, and runs small scripts
// sent to its window with WM_COPYDATA, on the main thread ("main:") or a worker ("worker:"):
//   platform NAME [ARGUMENT]   send a platform command and log what came back
//   dispatch                    post a closure to the main thread through the queue
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>

#include "host/module_api.h"
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
void RunPlatformCommand(const std::string& name, const std::string& argument) {
  TERObserveData1 record = {};
  record.name = name.c_str();
  record.sender = g_channel->id;
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
  line << " window=" << Hex(record.window) << " value=" << record.value;
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

void RunScriptLine(const std::string& line) {
  std::istringstream words(line);
  std::string verb, name, argument;
  words >> verb >> name;
  std::getline(words, argument);
  if (!argument.empty() && argument[0] == ' ') argument.erase(0, 1);
  if (verb == "platform") RunPlatformCommand(name, argument);
  if (verb == "dispatch") DispatchFromHere();
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

void RunScript(const std::string& script) {
  if (script.rfind("main:", 0) == 0) {
    RunScriptLine(script.substr(5));
  } else if (script.rfind("worker:", 0) == 0) {
    RunOnWorker(script.substr(7));
  }
}

LRESULT CALLBACK RecorderWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
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
