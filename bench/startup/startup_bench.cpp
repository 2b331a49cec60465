// Start-up time of the product with three test modules, from process start to the first
// paint of its main window, next to a minimal program that creates and paints one window,
// both under the same Wine in one run; medians of several alternating runs.
// "Painted" means: the window is visible and has nothing left to repaint.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app_runner.h"

namespace {

constexpr int kRuns = 15;  // medians of 7 moved by a tenth from one bench run to the next
// A program started right after another one has exited pays for the teardown of its windows,
// which goes on for a while in Wine and the X server; each start waits for a settled system.
constexpr DWORD kSettleMs = 1000;

double Now() {
  LARGE_INTEGER counter, frequency;
  ::QueryPerformanceCounter(&counter);
  ::QueryPerformanceFrequency(&frequency);
  return double(counter.QuadPart) / double(frequency.QuadPart);
}

struct Found {
  DWORD process;
  HWND window;
};

HWND VisibleWindowOf(DWORD process) {
  Found found = {process, nullptr};
  ::EnumWindows(
      [](HWND window, LPARAM context) -> BOOL {
        auto* search = reinterpret_cast<Found*>(context);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        wchar_t title[64] = {};
        ::GetWindowTextW(window, title, 64);
        if (owner != search->process || !::IsWindowVisible(window) || !title[0]) return TRUE;
        search->window = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found.window;
}

// Seconds from CreateProcess to the first complete paint; negative on failure.
double TimeToFirstPaint(const std::wstring& executable) {
  std::wstring command = L"\"" + executable + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  const std::wstring folder = executable.substr(0, executable.find_last_of(L'\\') + 1);
  ::Sleep(kSettleMs);
  const double start = Now();
  if (!::CreateProcessW(executable.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process))
    return -1;
  double painted = -1;
  while (Now() - start < 30) {
    HWND window = VisibleWindowOf(process.dwProcessId);
    if (window && !::GetUpdateRect(window, nullptr, FALSE)) {
      painted = Now() - start;
      ::PostMessageW(window, WM_CLOSE, 0, 0);
      break;
    }
    ::Sleep(1);
  }
  if (::WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0)
    ::TerminateProcess(process.hProcess, 1);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return painted;
}

// Both programs start with the search path of a user's session: the folder of the bench's own
// libraries would otherwise be probed for every library the product loads.
void DropFromSearchPath(const std::wstring& folder) {
  std::vector<wchar_t> value(::GetEnvironmentVariableW(L"PATH", nullptr, 0) + 1);
  if (value.size() < 2) return;
  ::GetEnvironmentVariableW(L"PATH", value.data(), static_cast<DWORD>(value.size()));
  std::wstring kept, entry;
  const std::wstring path = value.data();
  for (size_t begin = 0; begin <= path.size();) {
    size_t end = path.find(L';', begin);
    if (end == std::wstring::npos) end = path.size();
    entry = path.substr(begin, end - begin);
    while (!entry.empty() && entry.back() == L'\\') entry.pop_back();
    if (!entry.empty() && ::lstrcmpiW(entry.c_str(), folder.c_str()) != 0)
      kept += (kept.empty() ? L"" : L";") + path.substr(begin, end - begin);
    begin = end + 1;
  }
  ::SetEnvironmentVariableW(L"PATH", kept.c_str());
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main() {
  AppCopy copy;
  copy.AddRecorderModule();
  // Two more modules beside the recorder: probes with a creation command each.
  for (const wchar_t* name : {L"probe_one", L"probe_two"}) {
    const std::wstring version = copy.folder() + name + L"\\1.0.0\\";
    ::CreateDirectoryW((copy.folder() + name).c_str(), nullptr);
    ::CreateDirectoryW(version.c_str(), nullptr);
    ::CreateDirectoryW((version + L"x64").c_str(), nullptr);
    ::CopyFileW((std::wstring(OSTREVAN_TEST_MODULE_DIR_W) + L"\\probe_module.dll").c_str(),
                (version + L"x64\\probe.dll").c_str(), FALSE);
    if (FILE* file = ::_wfopen((version + L"plugin.load").c_str(), L"wb")) {
      std::fputs("{\"path\": \"probe.dll\", \"x64\": \"x64\", \"win32\": \"x86\", \"type\": 1, "
                 "\"version\": \"1.0.0\", \"id\": \"probe\", \"command-create\": \"PROBE_CREATE\", "
                 "\"command-recv\": [\"PROBE_CREATE\"]}", file);
      std::fclose(file);
    }
  }
  copy.WriteManifest(R"({"manifest": {"windows::version": 1, "application": {"modules": [
      {"windows:name": "recorder", "windows:parentHwnd": "${topViewHwnd}",
       "windows:parameters": {"windows:rect": {"rect": ["0", "0", "${topViewWidth}", "${topViewHeight}"],
                                               "offset": ["0", "0", "0", "0"]}}},
      {"windows:name": "probe_one"}, {"windows:name": "probe_two"}]}}})");

  DropFromSearchPath(OSTREVAN_APP_DIR_W);
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring minimal = self;
  minimal = minimal.substr(0, minimal.find_last_of(L'\\') + 1) + L"minimal_window.exe";

  // One unmeasured start of each warms the file cache and Wine's services; without a
  // display nothing ever paints, and there is no point in trying again.
  if (TimeToFirstPaint(copy.Executable()) < 0 || TimeToFirstPaint(minimal) < 0) {
    std::printf("startup_bench: no window painted within 30 s; it needs a display "
                "(scripts/bench starts a private one)\n");
    return 2;
  }
  std::vector<double> product, baseline;
  for (int run = 0; run < kRuns; ++run) {
    product.push_back(TimeToFirstPaint(copy.Executable()));
    baseline.push_back(TimeToFirstPaint(minimal));
  }
  if (std::min(Median(product), Median(baseline)) <= 0) {
    std::printf("a program did not paint\n");
    return 1;
  }
  std::printf("start-up to first paint, median of %d runs\n", kRuns);
  std::printf("product with 3 modules=%.0f ms  minimal window=%.0f ms  ratio=%.2f\n",
              Median(product) * 1e3, Median(baseline) * 1e3, Median(product) / Median(baseline));
  return 0;
}
