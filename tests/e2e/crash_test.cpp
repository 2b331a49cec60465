// Crashes of every kind, on the main thread and on a module's worker, in the real product:
// one packed report, the warning once, the folder cleared and the process gone.
#include <gtest/gtest.h>
#include <rapidjson/document.h>
#include <windows.h>
#include <dbghelp.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app_runner.h"
#include "zip_reader.h"

namespace {

// The crash module's commands (tests/modules/crash_module.cpp).
constexpr UINT kCrashMessage = WM_APP + 1;
enum Place : LPARAM { kMainThread = 0, kWorkerThread = 1, kTwoWorkersAtOnce = 2 };

struct CrashKind {
  WPARAM command;
  DWORD exit_code;         // the process ends with the exception's code
  const char* described;   // how the report's text names it
};
constexpr CrashKind kAccessViolation = {1, 0xC0000005,
                                        "access violation (0xC0000005), writing address "
                                        "0x0000000000000010"};
constexpr CrashKind kStackOverflow = {2, 0xC00000FD, "stack overflow (0xC00000FD)"};
constexpr CrashKind kAbort = {3, 0xE0000A01, "abort() was called (0xE0000A01)"};
// With the GCC runtime linked statically the pure function's slot stays empty (its handler
// is only weakly referenced), so the call jumps to address 0.
constexpr CrashKind kPureVirtualCall = {4, 0xC0000005,
                                        "access violation (0xC0000005), executing address "
                                        "0x0000000000000000"};
constexpr CrashKind kInvalidParameter = {5, 0xC0000417,
                                         "invalid parameter passed to the C runtime (0xC0000417)"};

std::wstring LogFolder() { return LocalAppDataFolder() + L"Pellavorne\\" + TodayText() + L"\\"; }

std::set<std::wstring> ZipsIn(const std::wstring& folder) {
  std::set<std::wstring> zips;
  for (const std::wstring& name : FilesIn(folder))
    if (name.size() > 4 && name.compare(name.size() - 4, 4, L".zip") == 0) zips.insert(name);
  return zips;
}

void InstallCrashModule(AppCopy& app) {
  const std::wstring version = app.folder() + L"crasher\\1.0.0\\";
  MakeFolders(version + L"x64");
  ::CopyFileW((std::wstring(OSTREVAN_TEST_MODULE_DIR_W) + L"\\crash_module.dll").c_str(),
              (version + L"x64\\crasher.dll").c_str(), FALSE);
  WriteText(version + L"plugin.load",
            R"({"path": "crasher.dll", "x64": "x64", "win32": "x86", "type": 1,
                "version": "1.0.0", "id": "crasher", "command-create": "CRASHER_CREATE",
                "command-recv": ["CRASHER_CREATE"]})");
  app.WriteManifest(R"({"manifest": {"windows::version": 1, "application": {"modules": [
      {"windows:name": "crasher", "windows:parentHwnd": "${topViewHwnd}",
       "windows:parameters": {"windows:rect": {"rect": ["0", "0", "40", "40"],
                                               "offset": ["0", "0", "0", "0"]}},
       "window:hwnd": "crasher"}]}}})");
}

HWND CrashWindow(HWND main_window) {
  HWND found = nullptr;
  ::EnumChildWindows(
      main_window,
      [](HWND window, LPARAM context) -> BOOL {
        wchar_t name[64] = {};
        ::GetClassNameW(window, name, 64);
        if (std::wstring(name) != L"OstrevanCrashTestModule") return TRUE;
        *reinterpret_cast<HWND*>(context) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// The process's visible dialog windows.
std::vector<HWND> Dialogs(DWORD process_id) {
  struct Search {
    DWORD process_id;
    std::vector<HWND> found;
  } search = {process_id, {}};
  ::EnumWindows(
      [](HWND window, LPARAM context) -> BOOL {
        auto* search = reinterpret_cast<Search*>(context);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        wchar_t name[64] = {};
        ::GetClassNameW(window, name, 64);
        if (owner == search->process_id && ::IsWindowVisible(window) &&
            std::wstring(name) == L"#32770")
          search->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Visible top-level windows titled `title`, of any process.
std::set<HWND> WindowsTitled(const std::wstring& title) {
  struct Search {
    const std::wstring* title;
    std::set<HWND> found;
  } search = {&title, {}};
  ::EnumWindows(
      [](HWND window, LPARAM context) -> BOOL {
        auto* search = reinterpret_cast<Search*>(context);
        wchar_t text[MAX_PATH] = {};
        ::GetWindowTextW(window, text, MAX_PATH);
        if (::IsWindowVisible(window) && *search->title == text) search->found.insert(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Closes the shell's folder window and waits for its process: left running, it would keep
// folders of this test in use.
void CloseFolderWindow(HWND window) {
  DWORD process_id = 0;
  ::GetWindowThreadProcessId(window, &process_id);
  HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, process_id);
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  if (!process) return;
  if (::WaitForSingleObject(process, 30000) != WAIT_OBJECT_0) {
    ::TerminateProcess(process, 1);
    ::WaitForSingleObject(process, 10000);
  }
  ::CloseHandle(process);
}

// The alert shows its message in a link control (5054); its primary button is 5051.
std::wstring WarningText(HWND warning) {
  HWND text = ::GetDlgItem(warning, 5054);
  wchar_t buffer[1024] = {};
  if (text) ::GetWindowTextW(text, buffer, 1024);
  return buffer;
}

void ClickPrimaryButton(HWND warning) {
  HWND button = ::GetDlgItem(warning, 5051);
  RECT client = {};
  ::GetClientRect(button, &client);
  const LPARAM at = MAKELPARAM(client.right / 2, client.bottom / 2);
  ::PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageW(button, WM_LBUTTONUP, 0, at);
}

// What the dump says, read from its bytes by the published layout.
struct DumpFacts {
  bool valid = false;
  DWORD thread_id = 0;
  DWORD code = 0;
  uint64_t address = 0;
  size_t threads = 0;
  std::map<std::wstring, std::pair<uint64_t, uint64_t>> modules;  // name → base, size
};

template <typename T>
bool At(const std::string& bytes, uint64_t offset, T* value) {
  if (offset > bytes.size() || bytes.size() - offset < sizeof(T)) return false;
  std::memcpy(value, bytes.data() + offset, sizeof(T));
  return true;
}

DumpFacts ReadDump(const std::string& bytes) {
  DumpFacts facts;
  MINIDUMP_HEADER header;
  constexpr ULONG32 kSignature = 0x504D444D;  // "MDMP"
  if (!At(bytes, 0, &header) || header.Signature != kSignature) return facts;
  for (ULONG32 i = 0; i < header.NumberOfStreams; ++i) {
    MINIDUMP_DIRECTORY entry;
    if (!At(bytes, header.StreamDirectoryRva + i * sizeof(entry), &entry)) return facts;
    const uint64_t rva = entry.Location.Rva;
    if (entry.StreamType == ExceptionStream) {
      MINIDUMP_EXCEPTION_STREAM exception;
      if (!At(bytes, rva, &exception)) return facts;
      facts.thread_id = exception.ThreadId;
      facts.code = exception.ExceptionRecord.ExceptionCode;
      facts.address = exception.ExceptionRecord.ExceptionAddress;
    } else if (entry.StreamType == ThreadListStream) {
      ULONG32 count = 0;
      if (!At(bytes, rva, &count)) return facts;
      facts.threads = count;
    } else if (entry.StreamType == ModuleListStream) {
      ULONG32 count = 0;
      if (!At(bytes, rva, &count)) return facts;
      for (ULONG32 m = 0; m < count; ++m) {
        MINIDUMP_MODULE module;
        ULONG32 name_bytes = 0;
        if (!At(bytes, rva + 4 + m * sizeof(MINIDUMP_MODULE), &module) ||
            !At(bytes, module.ModuleNameRva, &name_bytes) ||
            bytes.size() - module.ModuleNameRva - 4 < name_bytes)
          return facts;
        std::wstring path(name_bytes / 2, L'\0');
        std::memcpy(&path[0], bytes.data() + module.ModuleNameRva + 4, name_bytes);
        facts.modules[path.substr(path.find_last_of(L'\\') + 1)] = {module.BaseOfImage,
                                                                   module.SizeOfImage};
      }
    }
  }
  facts.valid = true;
  return facts;
}

// Runs the product with the crash module, makes it crash, answers the warning and checks
// everything the crash leaves behind.
void CrashAndCheck(const CrashKind& kind, Place place) {
  SCOPED_TRACE("crash " + std::to_string(kind.command) + " place " + std::to_string(place));
  const std::wstring folder = LogFolder();
  MakeFolders(folder);
  WriteText(folder + L"earlier report.ZIP", "kept");
  WriteText(folder + L"notes.zip.txt", "kept");
  WriteText(folder + L"stray.txt", "a loose file");
  const std::set<std::wstring> zips_before = ZipsIn(folder);
  const std::set<HWND> folder_windows_before = WindowsTitled(TodayText());

  AppCopy copy;
  InstallCrashModule(copy);
  RunningApp app;
  ASSERT_TRUE(app.Start(L"", copy.Executable()));
  HWND main_window = app.WaitForMainWindow();
  ASSERT_NE(main_window, nullptr);
  HWND crash_window = CrashWindow(main_window);
  ASSERT_NE(crash_window, nullptr);
  ASSERT_TRUE(::PostMessageW(crash_window, kCrashMessage, kind.command, place));

  // The warning comes once the report is packed and the folder cleared.
  HWND warning = nullptr;
  const DWORD start = ::GetTickCount();
  while (!warning && ::GetTickCount() - start < 180000 &&
         ::WaitForSingleObject(app.process(), 100) == WAIT_TIMEOUT) {
    const std::vector<HWND> dialogs = Dialogs(app.process_id());
    if (!dialogs.empty()) warning = dialogs[0];
  }
  ASSERT_NE(warning, nullptr) << "no warning; exit code " << app.WaitForExit(0);
  EXPECT_EQ(Dialogs(app.process_id()).size(), 1u);
  const std::wstring expected_folder = folder.substr(0, folder.size() - 1);
  EXPECT_EQ(WarningText(warning),
            L"Sorry, the program stopped unexpectedly. A crash report has been saved in this "
            L"folder: " + expected_folder);

  std::set<std::wstring> new_zips;
  for (const std::wstring& name : ZipsIn(folder))
    if (!zips_before.count(name)) new_zips.insert(name);
  ASSERT_EQ(new_zips.size(), 1u);
  const std::vector<std::wstring> files = FilesIn(folder);
  const std::set<std::wstring> left(files.begin(), files.end());
  for (std::wstring name : left) {
    for (wchar_t& c : name) c = static_cast<wchar_t>(::towlower(c));
    EXPECT_NE(name.find(L".zip"), std::wstring::npos) << "left behind: " << std::string(name.begin(), name.end());
  }
  EXPECT_TRUE(left.count(L"earlier report.ZIP"));
  EXPECT_TRUE(left.count(L"notes.zip.txt"));

  // Set by hand to look at the warning (a screenshot of the display) before it is clicked.
  if (const char* hold = std::getenv("OSTREVAN_HOLD_WARNING_MS")) ::Sleep(std::atoi(hold));
  ClickPrimaryButton(warning);
  EXPECT_EQ(static_cast<DWORD>(app.WaitForExit(60000)), kind.exit_code);

  // The folder was opened: the shell shows a window named after it. Closed again here.
  HWND folder_window = nullptr;
  for (DWORD waited = 0; !folder_window && waited < 60000; waited += 100) {
    for (HWND window : WindowsTitled(TodayText()))
      if (!folder_windows_before.count(window)) folder_window = window;
    if (!folder_window) ::Sleep(100);
  }
  EXPECT_NE(folder_window, nullptr) << "the report folder was not opened";
  if (folder_window) CloseFolderWindow(folder_window);

  std::map<std::string, std::string> entries;
  ASSERT_TRUE(ReadZip(folder + *new_zips.begin(), &entries));
  const std::string& summary = entries["Crash.txt"];
  EXPECT_EQ(summary.rfind(std::string("Pellavorne Screen Recorder.exe stopped: ") + kind.described +
                              "\r\nModule: crasher.dll + 0x",
                          0),
            0u)
      << summary;
  EXPECT_NE(summary.find(", plug-in \"crasher\"\r\n"), std::string::npos) << summary;
  EXPECT_NE(summary.find(place == kMainThread ? " (main thread)" : " (not the main thread)"),
            std::string::npos);

  const std::string& marker = entries["Crash.json"];
  rapidjson::Document line;
  line.Parse(marker.c_str());
  ASSERT_FALSE(line.HasParseError()) << marker;
  const char* const members[] = {"Product", "Version", "System", "FreeMemSize", "TotalMemSize"};
  ASSERT_EQ(line.MemberCount(), 5u);
  size_t i = 0;
  for (auto member = line.MemberBegin(); member != line.MemberEnd(); ++member, ++i)
    EXPECT_STREQ(member->name.GetString(), members[i]);
  EXPECT_EQ(marker.rfind(R"({"Product":"Pellavorne Screen Recorder","Version":"1.1.64","System":")", 0), 0u);
  EXPECT_EQ(marker.find_first_of("\r\n"), std::string::npos);

  const DumpFacts dump = ReadDump(entries["Crash.dmp"]);
  ASSERT_TRUE(dump.valid);
  EXPECT_EQ(dump.code, kind.exit_code);
  EXPECT_NE(summary.find("Thread: " + std::to_string(dump.thread_id) + " ("), std::string::npos);
  EXPECT_GE(dump.threads, 3u);  // the crashed thread, the main one and the reporter at least
  ASSERT_TRUE(dump.modules.count(L"crasher.dll"));
  if (kind.command == kAccessViolation.command) {
    const auto crasher = dump.modules.at(L"crasher.dll");
    EXPECT_GE(dump.address, crasher.first);
    EXPECT_LT(dump.address, crasher.first + crasher.second);
  }

  bool logged = false;
  for (const auto& entry : entries)
    logged = logged || (entry.first.rfind("logs/", 0) == 0 &&
                        entry.second.find("SysInfoStr: ") != std::string::npos);
  EXPECT_TRUE(logged) << "the day's log is not in the report";
}

TEST(CrashReport, AccessViolation) {
  CrashAndCheck(kAccessViolation, kMainThread);
  CrashAndCheck(kAccessViolation, kWorkerThread);
}

// Under Wine the overflow reaches a handler only when the faulting frame leaves a few pages
// of stack; the crash module's frames are large for that reason.
TEST(CrashReport, StackOverflow) {
  CrashAndCheck(kStackOverflow, kMainThread);
  CrashAndCheck(kStackOverflow, kWorkerThread);
}

TEST(CrashReport, Abort) {
  CrashAndCheck(kAbort, kMainThread);
  CrashAndCheck(kAbort, kWorkerThread);
}

TEST(CrashReport, PureVirtualCall) {
  CrashAndCheck(kPureVirtualCall, kMainThread);
  CrashAndCheck(kPureVirtualCall, kWorkerThread);
}

TEST(CrashReport, InvalidParameterToTheUniversalRuntime) {
  CrashAndCheck(kInvalidParameter, kMainThread);
  CrashAndCheck(kInvalidParameter, kWorkerThread);
}

TEST(CrashReport, TwoThreadsCrashingAtOnceGiveOneReport) {
  CrashAndCheck(kAccessViolation, kTwoWorkersAtOnce);
}

}  // namespace
