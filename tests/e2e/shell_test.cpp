#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "app_runner.h"

namespace {

std::string Hex(const void* pointer) {
  char text[32];
  std::snprintf(text, sizeof(text), "%p", pointer);
  return text;
}

RECT WindowRect(HWND window) {
  RECT rect = {};
  ::GetWindowRect(window, &rect);
  return rect;
}

template <typename Condition>
bool Eventually(Condition condition, DWORD timeout_ms = 5000) {
  const DWORD start = ::GetTickCount();
  while (!condition()) {
    if (::GetTickCount() - start > timeout_ms) return false;
    ::Sleep(20);
  }
  return true;
}

// A product run from its own copy of the application folder, with the recorder module.
class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    copy_.AddRecorderModule();
    ASSERT_TRUE(app_.Start(L"", copy_.Executable())) << "system error " << ::GetLastError();
    main_ = app_.WaitForMainWindow();
    ASSERT_NE(main_, nullptr);
    view_ = ::FindWindowExW(main_, nullptr, nullptr, nullptr);
    ASSERT_NE(view_, nullptr);
    ASSERT_TRUE(Eventually([this] { return RecorderWindow(main_) != nullptr; }));
  }

  void TearDown() override {
    if (app_.WaitForExit(0) == -1) {
      copy_.SetRecorderRefusesExit(false);
      ::PostMessageW(main_, WM_CLOSE, 0, 0);
      EXPECT_EQ(app_.WaitForExit(), 0);
    }
  }

  // Runs one platform command in the recorder and answers the line it logged.
  std::string Platform(const std::string& thread, const std::string& command,
                       const std::string& argument = "") {
    const size_t from = copy_.RecorderLog().size();
    RunInRecorder(main_, thread + ":platform " + command + (argument.empty() ? "" : " " + argument));
    const std::string start = "platform " + command + " ";
    if (!copy_.WaitForLog(start, from)) return "<no answer>";
    const std::string log = copy_.RecorderLog();
    const size_t at = log.find(start, from);
    return log.substr(at, log.find('\n', at) - at);
  }

  AppCopy copy_;
  RunningApp app_;
  HWND main_ = nullptr;
  HWND view_ = nullptr;
};

TEST_F(ShellTest, FrameViewAndModuleWindowAreWhereTheyBelong) {
  const RECT frame = WindowRect(main_);
  EXPECT_EQ(frame.right - frame.left, 740);
  EXPECT_EQ(frame.bottom - frame.top, 240);
  const RECT view = WindowRect(view_);
  EXPECT_EQ(view.left - frame.left, 2);
  EXPECT_EQ(view.top - frame.top, 2);
  EXPECT_EQ(view.right - view.left, 736);
  EXPECT_EQ(view.bottom - view.top, 236);

  HWND recorder = RecorderWindow(main_);
  EXPECT_EQ(::GetParent(recorder), view_);
  const RECT module = WindowRect(recorder);
  EXPECT_EQ(module.left, view.left);
  EXPECT_EQ(module.top, view.top);
  EXPECT_EQ(module.right, view.right);
  EXPECT_EQ(module.bottom, view.bottom);

  const std::string log = copy_.RecorderLog();
  EXPECT_NE(log.find("create {\"rect\":[0,0,736,236]} parent=" + Hex(view_)), std::string::npos)
      << log;
  EXPECT_NE(log.find("size 736 236"), std::string::npos) << log;

  // What the screen shows: the module's title band and body inside the rounded rim.
  ASSERT_TRUE(Eventually([&] {
    HDC screen = ::GetDC(nullptr);
    const COLORREF band = ::GetPixel(screen, module.left + 300, module.top + 10);
    const COLORREF body = ::GetPixel(screen, module.left + 300, module.top + 120);
    ::ReleaseDC(nullptr, screen);
    return band == RGB(38, 44, 58) && body == RGB(240, 244, 250);
  }));
}

TEST_F(ShellTest, MaximiseToggleGoesToTheWorkAreaAndBackExactly) {
  const RECT before = WindowRect(main_);
  RECT work = {};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int work_width = work.right - work.left;
  const int work_height = work.bottom - work.top;

  Platform("main", "LIBPLATFORM_COMMAND_PRESS_MAX_OR_RESET");
  RECT frame = WindowRect(main_);
  EXPECT_EQ(frame.left, 0);
  EXPECT_EQ(frame.top, 0);
  EXPECT_EQ(frame.right, work_width);
  EXPECT_EQ(frame.bottom, work_height);
  RECT view = WindowRect(view_);
  EXPECT_EQ(view.left, 1);
  EXPECT_EQ(view.top, 1);
  EXPECT_EQ(view.right - view.left, work_width - 4);
  EXPECT_EQ(view.bottom - view.top, work_height - 4);
  // The view's rounded region follows its new size instead of clipping it.
  HRGN region = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(::GetWindowRgn(view_, region), ERROR);
  RECT box = {};
  ::GetRgnBox(region, &box);
  // GDI's rounded regions stop one pixel short of their right and bottom edges.
  EXPECT_GE(box.right - box.left, work_width - 5);
  EXPECT_GE(box.bottom - box.top, work_height - 5);
  ::DeleteObject(region);
  EXPECT_TRUE(copy_.WaitForLog("size " + std::to_string(work_width - 4) + " " +
                               std::to_string(work_height - 4)));

  Platform("worker", "LIBPLATFORM_COMMAND_PRESS_MAX_OR_RESET");
  ASSERT_TRUE(Eventually([&] { return WindowRect(main_).left == before.left; }));
  frame = WindowRect(main_);
  EXPECT_EQ(frame.left, before.left);
  EXPECT_EQ(frame.top, before.top);
  EXPECT_EQ(frame.right, before.right);
  EXPECT_EQ(frame.bottom, before.bottom);
  view = WindowRect(view_);
  EXPECT_EQ(view.left - frame.left, 1);
  EXPECT_EQ(view.top - frame.top, 1);
  EXPECT_EQ(view.right - view.left, 736);
  EXPECT_EQ(view.bottom - view.top, 236);
}

TEST_F(ShellTest, MinimiseRestoreAndTheTray) {
  Platform("main", "LIBPLATFORM_COMMAND_MINIMIZE_TO_TRAY");
  EXPECT_TRUE(Eventually([&] { return ::IsIconic(main_) != FALSE; }));
  Platform("main", "LIBPLATFORM_COMMAND_RESTORE_FROM_TRAY");
  EXPECT_TRUE(Eventually([&] { return !::IsIconic(main_) && ::IsWindowVisible(main_); }));

  // Sent to the tray: neither minimise nor restore touch it any more.
  Platform("main", "LIBPLATFORM_COMMAND_CLOSE_WINDOW");
  EXPECT_TRUE(Eventually([&] { return !::IsWindowVisible(main_); }));
  Platform("main", "LIBPLATFORM_COMMAND_MINIMIZE_TO_TRAY");
  Platform("main", "LIBPLATFORM_COMMAND_RESTORE_FROM_TRAY");
  ::Sleep(200);
  EXPECT_FALSE(::IsWindowVisible(main_));
  EXPECT_FALSE(::IsIconic(main_));

  // A left button press on the tray icon brings it back.
  ::PostMessageW(main_, WM_APP + 1, 0, WM_LBUTTONDOWN);
  EXPECT_TRUE(Eventually([&] { return ::IsWindowVisible(main_) != FALSE; }));

  // So does the activation message, also from a minimised window.
  Platform("worker", "LIBPLATFORM_COMMAND_CLOSE_WINDOW");
  EXPECT_TRUE(Eventually([&] { return !::IsWindowVisible(main_); }));
  ::PostMessageW(main_, WM_APP + 2, 0, 0);
  EXPECT_TRUE(Eventually([&] { return ::IsWindowVisible(main_) != FALSE; }));
  Platform("main", "LIBPLATFORM_COMMAND_MINIMIZE_TO_TRAY");
  EXPECT_TRUE(Eventually([&] { return ::IsIconic(main_) != FALSE; }));
  ::PostMessageW(main_, WM_APP + 2, 0, 0);
  EXPECT_TRUE(Eventually([&] { return !::IsIconic(main_) && ::IsWindowVisible(main_); }));
}

// Chooses "exit" in the tray menu with the keyboard, as a user would.
void ChooseTrayExit(HWND main) {
  ::PostMessageW(main, WM_APP + 1, 0, WM_RBUTTONUP);
  HWND menu = nullptr;
  ASSERT_TRUE(Eventually([&] {
    menu = ::FindWindowW(L"#32768", nullptr);
    return menu && ::IsWindowVisible(menu);
  }));
  for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
    ::PostMessageW(menu, WM_KEYDOWN, key, 0);
    ::Sleep(50);
  }
}

TEST_F(ShellTest, ModulesMayRefuseToLetTheProgramClose) {
  copy_.SetRecorderRefusesExit(true);
  Platform("worker", "LIBPLATFORM_COMMAND_EXIT_APP");
  EXPECT_TRUE(copy_.WaitForLog("exit-question refuse=1"));
  EXPECT_EQ(app_.WaitForExit(500), -1);

  size_t from = copy_.RecorderLog().size();
  ChooseTrayExit(main_);
  EXPECT_TRUE(copy_.WaitForLog("exit-question refuse=1", from));
  EXPECT_EQ(app_.WaitForExit(500), -1);
  EXPECT_TRUE(::IsWindowVisible(main_));

  copy_.SetRecorderRefusesExit(false);
  from = copy_.RecorderLog().size();
  ChooseTrayExit(main_);
  EXPECT_EQ(app_.WaitForExit(), 0);
  EXPECT_NE(copy_.RecorderLog().find("exit-question refuse=0", from), std::string::npos);
}

TEST_F(ShellTest, SecondLaunchBringsTheFirstBack) {
  const std::wstring log_folder = LocalAppDataFolder() + L"Pellavorne\\" + TodayText();
  const size_t log_files = FilesIn(log_folder).size();

  Platform("main", "LIBPLATFORM_COMMAND_MINIMIZE_TO_TRAY");
  ASSERT_TRUE(Eventually([&] { return ::IsIconic(main_) != FALSE; }));
  RunningApp second;
  ASSERT_TRUE(second.Start(L"", copy_.Executable()));
  EXPECT_EQ(second.WaitForExit(), 0);
  EXPECT_TRUE(Eventually([&] { return !::IsIconic(main_) && ::IsWindowVisible(main_); }));
  // Shown first, brought forward after: the window may be visible a moment before it leads.
  EXPECT_TRUE(Eventually([&] { return ::GetForegroundWindow() == main_; }));

  Platform("main", "LIBPLATFORM_COMMAND_CLOSE_WINDOW");
  ASSERT_TRUE(Eventually([&] { return !::IsWindowVisible(main_); }));
  RunningApp third;
  ASSERT_TRUE(third.Start(L"--anything", copy_.Executable()));
  EXPECT_EQ(third.WaitForExit(), 0);
  EXPECT_TRUE(Eventually([&] { return ::IsWindowVisible(main_) != FALSE; }));

  EXPECT_EQ(FilesIn(log_folder).size(), log_files);  // the later starts logged nothing
}

TEST_F(ShellTest, ClosureFromAWorkerRunsOnTheMainThreadOnceAndIsFreed) {
  RunInRecorder(main_, "worker:dispatch");
  ASSERT_TRUE(copy_.WaitForLog("closure freed"));
  const std::string log = copy_.RecorderLog();
  const size_t ran = log.find("closure ran main=1");
  ASSERT_NE(ran, std::string::npos) << log;
  EXPECT_EQ(log.find("closure ran", ran + 1), std::string::npos);
  EXPECT_GT(log.find("closure freed"), ran);
}

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

// Any program on the desktop can post message 2024 with any number in it.
TEST_F(ShellTest, ClosureMessagesFromOutsideAreIgnoredAndLoggedOnce) {
  int on_our_stack = 0;
  for (WPARAM junk : {WPARAM(0), WPARAM(0x10), WPARAM(0xDEADBEEF), ~WPARAM(0),
                      reinterpret_cast<WPARAM>(&on_our_stack)}) {
    ASSERT_TRUE(::PostMessageW(main_, 2024, junk, 0));
  }
  // Still alive and still running its own closures.
  RunInRecorder(main_, "worker:dispatch");
  ASSERT_TRUE(copy_.WaitForLog("closure freed"));
  EXPECT_NE(copy_.RecorderLog().find("closure ran main=1"), std::string::npos);
  EXPECT_EQ(app_.WaitForExit(0), -1);

  ::PostMessageW(main_, WM_CLOSE, 0, 0);
  ASSERT_EQ(app_.WaitForExit(), 0);
  const std::string log = ProductLog(app_.process_id());
  EXPECT_EQ(Count(log, "Message 2024 carrying no closure of this process"), 1u) << log;
}

TEST_F(ShellTest, PlatformCommandsAnswerOnEveryThread) {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  wchar_t documents[MAX_PATH];
  ::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents);
  auto narrow = [](const std::wstring& text) { return std::string(text.begin(), text.end()); };
  const std::string recorder = Hex(RecorderWindow(main_));

  for (const std::string thread : {"main", "worker"}) {
    const std::string main = " main=" + std::string(thread == "main" ? "1" : "0");
    auto answer = [&](const std::string& command, const std::string& argument = "") {
      return Platform(thread, command, argument);
    };
    EXPECT_NE(answer("LIBPLATFORM_COMMAND_GET_PRODUCT_ALIAS")
                  .find(main + " text=Pellavorne Screen Recorder "),
              std::string::npos);
    EXPECT_NE(answer("LIBPLATFORM_COMMAND_GET_PRODUCT_VERSION").find(" text=1.1.64 "),
              std::string::npos);
    EXPECT_NE(answer("LIBPLATFORM_COMMAND_GET_PRODUCT_BRAND").find(" text=Pellavorne "),
              std::string::npos);
    EXPECT_NE(answer("LIBPLATFORM_COMMAND_FIND_URL", "url:help")
                  .find(" url=https://www.pellavorne.example/help/screen-recorder/ "),
              std::string::npos);
    EXPECT_NE(answer("LIBPLATFORM_COMMAND_FIND_URL", "url:nothing").find(" url= "),
              std::string::npos);
    EXPECT_NE(answer("LIBPLATFORM_COMMAND_FIND_IMAGE", "alert.png").find(" object=set "),
              std::string::npos);
    EXPECT_NE(answer("LIBPLATFORM_COMMAND_GET_GDIPLUS_FONT", "font:gdiplus:16:bold")
                  .find(" object=set "),
              std::string::npos);
    EXPECT_NE(answer("LIBPLATFORM_COMMAND_GET_GDIPLUS_FONT", "font:gdiplus:22:bold")
                  .find(" object=null "),
              std::string::npos);
    EXPECT_NE(answer("LIBPLATFORM_COMMAND_GET_FONT", "font:23:bold").find(" object=set "),
              std::string::npos);
    EXPECT_NE(answer("LIBPLATFORM_COMMAND_GET_DPI_SCALE_PERCENT").find(" scale=1 "),
              std::string::npos);
    EXPECT_NE(answer("LIBPLATFORM_COMMAND_GET_TEMP_DIR")
                  .find(" wide=" + narrow(std::wstring(temp) + L"Pellavorne\\" + TodayText() +
                                          L"\\ ")),
              std::string::npos);
    EXPECT_NE(::GetFileAttributesW((std::wstring(temp) + L"Pellavorne\\" + TodayText()).c_str()),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(answer("LIBPLATFORM_COMMAND_GET_PERSONAL_PRODUCT_DIR")
                  .find(" wide=" + narrow(documents) + "\\Pellavorne Screen Recorder\\ "),
              std::string::npos);
    EXPECT_NE(answer("LIBPLATFORM_COMMAND_GET_PERSONAL_PRODUCT_DIR", "Clips")
                  .find(" wide=" + narrow(documents) + "\\Clips\\ "),
              std::string::npos);
    EXPECT_NE(answer("LIBPLATFORM_COMMAND_GET_MODULE_HWND", "recorder")
                  .find(" window=" + recorder + " "),
              std::string::npos);
    EXPECT_NE(answer("LIBPLATFORM_COMMAND_GET_MODULE_HWND", "nobody")
                  .find(" window=0000000000000000 "),
              std::string::npos);
    EXPECT_NE(answer("LIBPLATFORM_COMMAND_REPLACE_I18N_SUB_DIR", "$(aPath)/x/")
                  .find(" payload=https://www.pellavorne.example/x "),
              std::string::npos);
  }
  ::RemoveDirectoryW((std::wstring(documents) + L"\\Clips").c_str());
}

}  // namespace
