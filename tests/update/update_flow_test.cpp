// The update flow end to end: the real product from a private copy, its real dialogs under
// Xvfb, the test build of libUpfetch and a real HTTP server on 127.0.0.1.
#include <winsock2.h>  // the test server needs it before windows.h

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "http_test_server.h"
#include "product_processes.h"
#include "test_files.h"
#include "update_lists.h"

namespace {

constexpr int kLinkId = 5051;
constexpr int kCancelId = 5052;
constexpr int kUpdateNowId = 5053;
constexpr int kNotesId = 5054;
constexpr int kAlertOkId = 5051;
constexpr int kAlertTextId = 5054;
const char kInstallerPath[] = "/update/Pellavorne/setup.exe";

std::wstring Text(HWND window) {
  wchar_t text[4096] = {};
  ::SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_BLOCK,
                        5000, nullptr);
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  return name;
}

// A click as the mouse gives it, posted to the control itself.
void Click(HWND control, int x = -1, int y = -1) {
  RECT client = {};
  ::GetClientRect(control, &client);
  if (x < 0) x = client.right / 2;
  if (y < 0) y = client.bottom / 2;
  const LPARAM at = MAKELPARAM(x, y);
  ::PostMessageW(control, WM_MOUSEMOVE, 0, at);
  ::PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageW(control, WM_LBUTTONUP, 0, at);
}

// The sheet tip's link takes clicks once the tip has slid fully down and shown it. The link
// control follows the mouse itself (focus, capture), so it gets a click from the mouse.
void ClickLink(HWND dialog) {
  HWND link = ::GetDlgItem(dialog, kLinkId);
  EXPECT_TRUE(Eventually([&] { return ::IsWindowVisible(link) != FALSE; }));
  POINT at = {10, 8};
  ::ClientToScreen(link, &at);
  ::SetCursorPos(at.x, at.y);
  INPUT clicks[2] = {};
  clicks[0].type = clicks[1].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ::SendInput(2, clicks, sizeof(INPUT));
}

// The screen once `window` has painted, as build/tests/screenshots/<name>.bmp, for a person
// to look at; nothing is checked on it.
void SaveScreenshot(const std::wstring& name, HWND window) {
  ::UpdateWindow(window);
  ::Sleep(300);  // the shadow windows follow by themselves
  HDC screen = ::GetDC(nullptr);
  const int width = ::GetDeviceCaps(screen, HORZRES);
  const int height = ::GetDeviceCaps(screen, VERTRES);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  ::GdiFlush();
  const DWORD row = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + row * height;
  wchar_t here[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, here);
  const std::wstring folder = std::wstring(here) + L"\\screenshots\\";
  MakeFolders(folder);
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
  bytes.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(BITMAPINFOHEADER));
  bytes.append(static_cast<const char*>(bits), row * height);
  WriteText(folder + name + L".bmp", bytes);
  ::SelectObject(memory, previous);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
}

std::string Installer(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + (i >> 11)) & 0xFF);
  return bytes;
}

class UpdateFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_.listening());
    // The product downloads into %TMP%\Pellavorne\<date>\; it inherits this folder.
    ::SetEnvironmentVariableW(L"TMP", temp_.path().c_str());
    ::SetEnvironmentVariableW(L"TEMP", temp_.path().c_str());
    copy_.AddRecorderModule();
    UseTestUpdateServer(copy_.folder(), server_.Root());
  }

  void TearDown() override {
    if (main_ && app_.WaitForExit(0) == -1) {
      // Dialogs left open would keep the owner disabled; the close request still works.
      ::PostMessageW(main_, WM_CLOSE, 0, 0);
      if (app_.WaitForExit() == -1) ::TerminateProcess(app_.process(), 99);
    }
    server_.Release();
  }

  void StartProduct() {
    ASSERT_TRUE(app_.Start(L"", copy_.Executable()));
    main_ = app_.WaitForMainWindow();
    ASSERT_NE(main_, nullptr);
    ASSERT_TRUE(Eventually([this] { return RecorderWindow(main_) != nullptr; }));
  }

  void ServeList(const std::vector<TestUpdate>& updates) {
    server_.Serve(kTestListPath, {200, SignList(UpdateListBody(updates))});
  }

  size_t ListRequests() const {
    size_t count = 0;
    for (const auto& request : server_.Requests()) count += request.rfind(kTestListPath, 0) == 0;
    return count;
  }

  // A check asked by a module. One sent while the background check still runs is ignored,
  // so it is sent again until the server sees the new request.
  void AskForCheck(bool expect_request = true) {
    const size_t before = ListRequests();
    const DWORD start = ::GetTickCount();
    do {
      RunInRecorder(main_, "main:value LIBPLATFORM_COMMAND_CHECK_FOR_UPDATE 1");
      if (!expect_request) return;
      if (Eventually([&] { return ListRequests() > before; }, 3000)) return;
    } while (::GetTickCount() - start < 60000);
    ADD_FAILURE() << "the asked check never reached the server";
  }

  std::vector<HWND> ProductDialogs() const {
    struct Search {
      DWORD process_id;
      std::vector<HWND> found;
    } search = {app_.process_id(), {}};
    ::EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
          auto* s = reinterpret_cast<Search*>(context);
          DWORD owner = 0;
          ::GetWindowThreadProcessId(window, &owner);
          if (owner == s->process_id && ::IsWindowVisible(window) && ClassOf(window) == L"#32770") {
            s->found.push_back(window);
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  HWND DialogWithText(const std::wstring& text) const {
    for (HWND dialog : ProductDialogs()) {
      if (Text(dialog).find(text) != std::wstring::npos) return dialog;
    }
    return nullptr;
  }
  HWND ListDialog() const { return DialogWithText(L"A new version is available"); }
  HWND DownloadDialog(const std::wstring& state) const { return DialogWithText(state); }
  // The sheet tip: one link (5051) and no notes box.
  HWND SheetTip() const {
    for (HWND dialog : ProductDialogs()) {
      HWND link = ::GetDlgItem(dialog, kLinkId);
      if (link && ClassOf(link) == L"SysLink" && !::GetDlgItem(dialog, kNotesId)) return dialog;
    }
    return nullptr;
  }
  std::vector<HWND> Alerts() const {
    std::vector<HWND> alerts;
    for (HWND dialog : ProductDialogs()) {
      HWND text = ::GetDlgItem(dialog, kAlertTextId);
      if (text && ClassOf(text) == L"SysLink") alerts.push_back(dialog);
    }
    return alerts;
  }

  // Waits for exactly one alert, answers its text and closes it with OK.
  std::wstring TakeAlert() {
    HWND alert = nullptr;
    if (!Eventually([&] { return (alert = Alerts().empty() ? nullptr : Alerts()[0]) != nullptr; })) {
      return L"<no alert>";
    }
    EXPECT_EQ(Alerts().size(), 1u);
    const std::wstring text = Text(::GetDlgItem(alert, kAlertTextId));
    Click(::GetDlgItem(alert, kAlertOkId));
    EXPECT_TRUE(Eventually([&] { return !::IsWindow(alert) || !::IsWindowVisible(alert); }));
    return text;
  }

  std::vector<std::wstring> DownloadedFiles() const {
    return FilesIn(temp_.path() + L"Pellavorne\\" + TodayText());
  }

  // With an update known, a check shows its list again; there "update-now" is pressed.
  HWND StartDownload() {
    AskForCheck(false);
    HWND list = nullptr;
    EXPECT_TRUE(Eventually([&] { return (list = ListDialog()) != nullptr; }));
    if (!list) return nullptr;
    Click(::GetDlgItem(list, kUpdateNowId));
    HWND dialog = nullptr;
    // Any of its states: a broken download may fail before anyone looks.
    EXPECT_TRUE(Eventually([&] { return (dialog = DownloadDialog(L"ownload")) != nullptr; }));
    return dialog;
  }

  TestHttpServer server_;
  TempFolder temp_{L"update-flow"};
  AppCopy copy_;
  RunningApp app_;
  HWND main_ = nullptr;
};

TEST_F(UpdateFlowTest, BackgroundFindShowsOnlyTheSheetTipWhoseClickOpensTheList) {
  ServeList({{"2.0", "setup.exe", "x", {"{en}", "one", "two", "{fr}", "trois"}},
             {"1.5", "setup-1.5.exe", "y", {"{fr}", "quatre", "{en}", "three"}}});
  StartProduct();
  HWND tip = nullptr;
  ASSERT_TRUE(Eventually([&] { return (tip = SheetTip()) != nullptr; }, 30000));
  EXPECT_NE(Text(::GetDlgItem(tip, kLinkId)).find(L"A new version (2.0) is available"),
            std::wstring::npos);
  EXPECT_EQ(ListDialog(), nullptr);
  EXPECT_TRUE(Alerts().empty());

  ASSERT_TRUE(Eventually([&] { return ::IsWindowVisible(::GetDlgItem(tip, kLinkId)) != FALSE; }));
  SaveScreenshot(L"sheet-tip", tip);
  ClickLink(tip);
  HWND list = nullptr;
  ASSERT_TRUE(Eventually([&] { return (list = ListDialog()) != nullptr; }));
  SaveScreenshot(L"update-list", list);
  HWND notes = ::GetDlgItem(list, kNotesId);
  EXPECT_EQ(Text(notes), L"Version: 2.0\r\none\r\ntwo\r\n\r\nVersion: 1.5\r\nthree\r\n");
  EXPECT_FALSE(::GetWindowLongW(notes, GWL_STYLE) & WS_VSCROLL);
  EXPECT_TRUE(Eventually([&] { return SheetTip() == nullptr; }));
  EXPECT_EQ(ListRequests(), 1u);
}

TEST_F(UpdateFlowTest, AskedChecksReportEveryOutcomeBackgroundOnesOnlyAFind) {
  server_.Serve(kTestListPath, {500, "down"});
  StartProduct();
  ASSERT_TRUE(Eventually([&] { return ListRequests() == 1; }, 30000));
  // The failed background check showed nothing; the asked one says so.
  AskForCheck();
  EXPECT_EQ(TakeAlert(),
            L"Could not check for updates. Please check your network connection and try again.");

  ServeList({{"1.1.64", "same.exe", "x", {}}, {"1.0.9", "older.exe", "y", {}}});
  AskForCheck();
  EXPECT_EQ(TakeAlert(), L"You are using the latest version (1.1.64).");

  std::string tampered = SignList(UpdateListBody({{"2.0", "setup.exe", "x", {}}}));
  tampered[tampered.find("2.0")] = '3';
  server_.Serve(kTestListPath, {200, tampered});
  AskForCheck();
  EXPECT_EQ(TakeAlert(),
            L"Could not check for updates. Please check your network connection and try again.");
  EXPECT_EQ(SheetTip(), nullptr);
  EXPECT_EQ(ListDialog(), nullptr);

  // More notes than nine lines: the box scrolls.
  std::vector<std::string> notes = {"{en}"};
  for (int i = 1; i <= 12; ++i) notes.push_back("note " + std::to_string(i));
  ServeList({{"2.1", "setup.exe", "x", notes}});
  AskForCheck();
  HWND list = nullptr;
  ASSERT_TRUE(Eventually([&] { return (list = ListDialog()) != nullptr; }));
  SaveScreenshot(L"update-list-scrolling", list);
  EXPECT_TRUE(::GetWindowLongW(::GetDlgItem(list, kNotesId), GWL_STYLE) & WS_VSCROLL);
  EXPECT_EQ(SheetTip(), nullptr);
}

TEST_F(UpdateFlowTest, DownloadShowsProgressAndCancelLeavesNothing) {
  const std::string installer = Installer(1024 * 1024);
  ServeList({{"2.0", "setup.exe", installer, {"{en}", "new"}}});
  TestHttpServer::Response held = {200, installer};
  held.hold_after = installer.size() / 2;
  server_.Serve(kInstallerPath, held);
  StartProduct();
  ASSERT_TRUE(Eventually([&] { return SheetTip() != nullptr; }, 30000));

  HWND dialog = StartDownload();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(server_.WaitUntilHeld());
  // Half the bytes arrived: the bar is filled to the middle, the rest is still white.
  RECT client = {};
  ::GetClientRect(dialog, &client);
  POINT filled = {client.right / 4, 76};
  POINT empty = {client.right * 3 / 4, 76};
  ::ClientToScreen(dialog, &filled);
  ::ClientToScreen(dialog, &empty);
  HDC screen = ::GetDC(nullptr);
  EXPECT_TRUE(Eventually([&] { return ::GetPixel(screen, filled.x, filled.y) == RGB(38, 44, 58); }))
      << std::hex << ::GetPixel(screen, filled.x, filled.y);
  EXPECT_EQ(::GetPixel(screen, empty.x, empty.y), RGB(255, 255, 255));
  ::ReleaseDC(nullptr, screen);
  SaveScreenshot(L"update-download", dialog);

  Click(::GetDlgItem(dialog, kCancelId));
  EXPECT_TRUE(Eventually([&] { return !::IsWindowVisible(dialog); }));
  server_.Release();  // the next block reaches the callback, which stops the download

  // The cancelled update is no longer offered: the next asked check asks the server again.
  server_.Serve(kTestListPath, {200, SignList(UpdateListBody({{"1.1.64", "x.exe", "x", {}}}))});
  AskForCheck();
  EXPECT_EQ(TakeAlert(), L"You are using the latest version (1.1.64).");
  EXPECT_TRUE(DownloadedFiles().empty());
}

TEST_F(UpdateFlowTest, BrokenDownloadsEndInTheFailedStateAndStartNothing) {
  const std::string installer = Installer(512 * 1024);
  std::string altered = installer;
  altered[1000] ^= 0x55;
  struct Case {
    const char* what;
    TestHttpServer::Response response;
  } cases[] = {
      {"dropped connection", {200, installer, true, 200000}},
      {"wrong hash", {200, altered}},
  };
  ServeList({{"2.0", "setup.exe", installer, {"{en}", "new"}}});
  StartProduct();
  ASSERT_TRUE(Eventually([&] { return SheetTip() != nullptr; }, 30000));
  for (const auto& c : cases) {
    server_.Serve(kInstallerPath, c.response);
    ASSERT_NE(StartDownload(), nullptr) << c.what;
    HWND failed = nullptr;
    ASSERT_TRUE(Eventually([&] {
      return (failed = DownloadDialog(L"The download failed. Please check your network")) != nullptr;
    })) << c.what;
    SaveScreenshot(L"update-download-failed", failed);
    EXPECT_TRUE(DownloadedFiles().empty()) << c.what;
    EXPECT_EQ(app_.WaitForExit(0), -1) << c.what;  // no hand-off: the product still runs
    Click(::GetDlgItem(failed, kCancelId));
    EXPECT_TRUE(Eventually([&] { return !::IsWindowVisible(failed); })) << c.what;
  }
}

// The whole way: installed by the real installer, updated from the local server by the real
// installer, which the product starts with its version as the tag before it closes.
TEST(UpdateHandOff, RealInstallerDownloadedStartedWithTagAndTheNewProgramRuns) {
  TestHttpServer server;
  ASSERT_TRUE(server.listening());
  TempFolder temp(L"hand-off");
  ::SetEnvironmentVariableW(L"TMP", temp.path().c_str());
  ::SetEnvironmentVariableW(L"TEMP", temp.path().c_str());
  const std::wstring folder = temp.path() + L"Installed\\";
  ASSERT_EQ(RunProgram(InstallerPath(), L"/S /D=" + folder.substr(0, folder.size() - 1)), 0);
  UseTestUpdateServer(folder, server.Root());
  ::DeleteFileW((folder + L"install-log.txt").c_str());

  const std::string installer = ReadWholeFile(InstallerPath());
  ASSERT_FALSE(installer.empty());
  server.Serve(kTestListPath,
               {200, SignList(UpdateListBody({{"2.0.0", "setup.exe", installer, {"{en}", "x"}}}))});
  server.Serve(kInstallerPath, {200, installer});

  RunningApp running;
  ASSERT_TRUE(running.Start(L"", folder + L"Pellavorne Screen Recorder.exe"));
  ASSERT_NE(running.WaitForMainWindow(), nullptr);
  auto dialogs = [&] {
    std::vector<HWND> found;
    for (HWND window = ::GetTopWindow(nullptr); window; window = ::GetWindow(window, GW_HWNDNEXT)) {
      DWORD owner = 0;
      ::GetWindowThreadProcessId(window, &owner);
      if (owner == running.process_id() && ::IsWindowVisible(window) &&
          ClassOf(window) == L"#32770") {
        found.push_back(window);
      }
    }
    return found;
  };
  auto find = [&](auto match) -> HWND {
    for (HWND dialog : dialogs()) {
      if (match(dialog)) return dialog;
    }
    return nullptr;
  };
  HWND tip = nullptr;
  ASSERT_TRUE(Eventually([&] {
    return (tip = find([](HWND d) { return ::GetDlgItem(d, kLinkId) && !::GetDlgItem(d, kNotesId); })) != nullptr;
  }, 30000));
  ClickLink(tip);
  HWND list = nullptr;
  ASSERT_TRUE(Eventually([&] {
    return (list = find([](HWND d) { return Text(d).find(L"A new version") != std::wstring::npos; })) != nullptr;
  }));
  Click(::GetDlgItem(list, kUpdateNowId));

  // Downloaded, verified, started with the tag; the product that handed over ends cleanly.
  EXPECT_EQ(running.WaitForExit(120000), 0);
  std::string log;
  ASSERT_TRUE(Eventually([&] {
    log = ReadWholeFile(folder + L"install-log.txt");
    return log.find("mode=") != std::string::npos;
  }, 120000));
  EXPECT_NE(log.find("parameters=/TAG=1.1.64"), std::string::npos) << log;
  EXPECT_NE(log.find("mode=update"), std::string::npos) << log;

  DWORD id = 0;
  HWND again = nullptr;
  ASSERT_TRUE(Eventually([&] { return (again = FindProductWindow(folder, &id)) != nullptr; }, 60000));
  EXPECT_NE(id, running.process_id());
  EXPECT_EQ(CloseProduct(again, id), 0);
  RunProgram(folder + L"uninstall.exe", L"/S");
  Eventually([&] { return ::GetFileAttributesW((folder + L"uninstall.exe").c_str()) ==
                          INVALID_FILE_ATTRIBUTES; });
}

}  // namespace
