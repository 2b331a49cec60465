// The dialogs as a module opens them: commands sent by the recorder test module inside the
// real product, the dialog windows found and clicked from this process, answers read from
// the module's log. Also the product at 1.5 and in Japanese, with screenshots to look at.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>

#include "app_runner.h"

namespace {

template <typename Condition>
bool Eventually(Condition condition, DWORD timeout_ms = 10000) {
  const ULONGLONG deadline = ::GetTickCount64() + timeout_ms;
  while (!condition()) {
    if (::GetTickCount64() > deadline) return false;
    ::Sleep(20);
  }
  return true;
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

RECT WindowRect(HWND window) {
  RECT rect = {};
  ::GetWindowRect(window, &rect);
  return rect;
}

RECT ClientRect(HWND window) {
  RECT rect = {};
  ::GetClientRect(window, &rect);
  return rect;
}

RECT RectIn(HWND child, HWND parent) {
  RECT rect = WindowRect(child);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void Click(HWND control, int x = -1, int y = -1) {
  const RECT client = ClientRect(control);
  const LPARAM at = MAKELPARAM(x < 0 ? client.right / 2 : x, y < 0 ? client.bottom / 2 : y);
  ::PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageW(control, WM_LBUTTONUP, 0, at);
}

std::wstring LanguageFile() {
  wchar_t roaming[MAX_PATH] = {};
  ::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, roaming);
  return std::wstring(roaming) + L"\\Pellavorne\\Pellavorne Screen Recorder\\language.txt";
}

// The screen's pixels per inch for programs started from now on; the previous value comes
// back on destruction.
class ScreenDpi {
 public:
  explicit ScreenDpi(DWORD log_pixels) {
    ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS,
                      nullptr, &key_, nullptr);
    DWORD size = sizeof(previous_);
    had_ = ::RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr,
                              reinterpret_cast<BYTE*>(&previous_), &size) == ERROR_SUCCESS;
    ::RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&log_pixels),
                     sizeof(log_pixels));
  }
  ~ScreenDpi() {
    if (had_) {
      ::RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&previous_),
                       sizeof(previous_));
    } else {
      ::RegDeleteValueW(key_, L"LogPixels");
    }
    ::RegCloseKey(key_);
  }

 private:
  HKEY key_ = nullptr;
  DWORD previous_ = 96;
  bool had_ = false;
};

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override { ::DeleteFileW(LanguageFile().c_str()); }
  void TearDown() override {
    if (started_ && app_.WaitForExit(0) == -1) {
      copy_.SetRecorderRefusesExit(false);
      for (HWND dialog = Dialog(nullptr, 0); dialog; dialog = Dialog(nullptr, 0)) {
        ::PostMessageW(dialog, WM_COMMAND, 5050, 0);
        Eventually([&] { return !::IsWindowVisible(dialog); }, 3000);
      }
      ::PostMessageW(main_, WM_CLOSE, 0, 0);
      EXPECT_EQ(app_.WaitForExit(), 0);
    }
    ::DeleteFileW(LanguageFile().c_str());
  }

  void Launch() {
    copy_.AddRecorderModule();
    ASSERT_TRUE(app_.Start(L"", copy_.Executable()));
    started_ = true;
    main_ = app_.WaitForMainWindow();
    ASSERT_NE(main_, nullptr);
    view_ = ::FindWindowExW(main_, nullptr, nullptr, nullptr);
    ASSERT_TRUE(Eventually([this] { return RecorderWindow(main_) != nullptr; }));
  }

  // Runs a script in the recorder and waits for the log line that starts with `expect`.
  std::string Run(const std::string& script, const std::string& expect) {
    const size_t from = copy_.RecorderLog().size();
    RunInRecorder(main_, script);
    if (!copy_.WaitForLog(expect, from)) return "<nothing>";
    const std::string log = copy_.RecorderLog();
    const size_t at = log.find(expect, from);
    return log.substr(at, log.find('\n', at) - at);
  }
  size_t LogSize() { return copy_.RecorderLog().size(); }
  size_t Count(const std::string& text) {
    const std::string log = copy_.RecorderLog();
    size_t count = 0;
    for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++count;
    return count;
  }

  // A visible dialog of the product with a child of `control_class` under `control_id`.
  HWND Dialog(const wchar_t* control_class, int control_id) {
    struct Search {
      DWORD process;
      const wchar_t* control_class;
      int control_id;
      HWND found;
    } search = {app_.process_id(), control_class, control_id, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
          auto* s = reinterpret_cast<Search*>(context);
          DWORD process = 0;
          ::GetWindowThreadProcessId(window, &process);
          wchar_t name[32] = {};
          ::GetClassNameW(window, name, 32);
          if (process != s->process || std::wstring(name) != L"#32770" ||
              !::IsWindowVisible(window)) {
            return TRUE;
          }
          if (s->control_class) {
            HWND child = ::GetDlgItem(window, s->control_id);
            wchar_t child_class[32] = {};
            ::GetClassNameW(child, child_class, 32);
            if (!child || _wcsicmp(child_class, s->control_class) != 0) return TRUE;
          }
          s->found = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  HWND WaitForDialog(const wchar_t* control_class = nullptr, int control_id = 0) {
    HWND found = nullptr;
    Eventually([&] { return (found = Dialog(control_class, control_id)) != nullptr; });
    return found;
  }
  // A visible shadow window owned by `dialog`, of its size, 10 pixels right of and below it.
  bool ShadowFits(HWND dialog) {
    struct Search {
      HWND owner;
      HWND found;
    } search = {dialog, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
          auto* s = reinterpret_cast<Search*>(context);
          wchar_t name[64] = {};
          ::GetClassNameW(window, name, 64);
          if (::GetWindow(window, GW_OWNER) != s->owner ||
              std::wstring(name) != L"WTL_ThemedShadowWindow") {
            return TRUE;
          }
          s->found = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (!search.found || !::IsWindowVisible(search.found)) return false;
    const RECT shadow = WindowRect(search.found);
    const RECT owner = WindowRect(dialog);
    return shadow.left == owner.left + 10 && shadow.top == owner.top + 10 &&
           Width(shadow) == Width(owner) && Height(shadow) == Height(owner);
  }
  bool Gone(HWND dialog) {
    return Eventually([&] { return !::IsWindow(dialog) || !::IsWindowVisible(dialog); });
  }

  AppCopy copy_;
  RunningApp app_;
  bool started_ = false;
  HWND main_ = nullptr;
  HWND view_ = nullptr;
};

TEST_F(DialogTest, ConfirmAnswersOnTheMainThreadAndThroughTheCallbackElsewhere) {
  Launch();
  struct Case {
    int click;
    const char* answer;
  };
  for (const Case& c : {Case{5051, "1"}, Case{5052, "0"}, Case{5050, "0"}}) {
    const size_t from = LogSize();
    RunInRecorder(main_, "later:confirm 420 Remove the clip from the list?");
    HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(dialog, 5052)));
    Click(::GetDlgItem(dialog, c.click));
    ASSERT_TRUE(copy_.WaitForLog("confirm value=", from));
    EXPECT_NE(copy_.RecorderLog().find(std::string("confirm value=") + c.answer + " main=1", from),
              std::string::npos)
        << c.click;
    EXPECT_TRUE(Gone(dialog));
  }

  // From a worker: the send returns at once with `value` as it was, the answer comes later,
  // once, on the main thread, also when the dialog is closed with its close button.
  for (const Case& c : {Case{5051, "1"}, Case{5050, "0"}}) {
    const size_t from = LogSize();
    EXPECT_EQ(Run("worker:confirm-cb 420 Stop the recording?", "confirm value="),
              "confirm value=420 main=0");
    HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    Click(::GetDlgItem(dialog, c.click));
    ASSERT_TRUE(copy_.WaitForLog("confirm-callback", from));
    EXPECT_TRUE(Gone(dialog));
    EXPECT_NE(copy_.RecorderLog().find(std::string("confirm-callback answer=") + c.answer + " main=1", from),
              std::string::npos);
  }
  EXPECT_EQ(Count("confirm-callback"), 2u);

  // On the main thread a callback, when given, is called too, exactly once.
  const size_t from = LogSize();
  RunInRecorder(main_, "later:confirm-cb 420 Again?");
  HWND dialog = WaitForDialog();
  ASSERT_NE(dialog, nullptr);
  Click(::GetDlgItem(dialog, 5050));
  ASSERT_TRUE(copy_.WaitForLog("confirm value=0 main=1", from));
  EXPECT_EQ(Count("confirm-callback"), 3u);
}

TEST_F(DialogTest, AlertIsQueuedAndHasOneButtonAtTheRight) {
  Launch();
  EXPECT_EQ(Run("worker:alert 360 The file was saved.", "alert sent"), "alert sent main=0");
  HWND dialog = WaitForDialog();
  ASSERT_NE(dialog, nullptr);
  const RECT client = ClientRect(dialog);
  const RECT ok = RectIn(::GetDlgItem(dialog, 5051), dialog);
  EXPECT_EQ(Width(WindowRect(dialog)), 360);
  EXPECT_EQ(ok.right, client.right - 10);
  EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(dialog, 5052)));
  EXPECT_FALSE(::IsWindowEnabled(main_));  // modal
  Click(::GetDlgItem(dialog, 5051));
  EXPECT_TRUE(Gone(dialog));
  EXPECT_TRUE(Eventually([&] { return ::IsWindowEnabled(main_) != FALSE; }));
}

TEST_F(DialogTest, LinkAlertFromJsonWithAndWithoutHandler) {
  Launch();
  const std::string json =
      R"({"link": "See <A HREF=\"https://www.pellavorne.example/faq\">the questions</A>.",)"
      R"( "width": 440, "height": 200, "sub_title": "Export failed", "title": "Export"})";
  // A handler that keeps the dialog open, then one that confirms it.
  for (const char* answer : {"0", "1"}) {
    const size_t from = LogSize();
    RunInRecorder(main_, std::string("worker:link ") + answer + " " + json);
    HWND dialog = WaitForDialog(L"SysLink", 5054);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Height(ClientRect(dialog)), 200);
    EXPECT_EQ(RectIn(::GetDlgItem(dialog, 5051), dialog).bottom, 190);
    HWND link = ::GetDlgItem(dialog, 5054);
    // The link's words start after "See ": click into them.
    SIZE see = {};
    HDC dc = ::GetDC(link);
    ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(link, WM_GETFONT, 0, 0)));
    ::GetTextExtentPoint32W(dc, L"See th", 6, &see);
    ::ReleaseDC(link, dc);
    Click(link, see.cx, see.cy / 2);
    ASSERT_TRUE(copy_.WaitForLog("link-handler https://www.pellavorne.example/faq main=1", from));
    if (answer[0] == '0') {
      ::Sleep(300);
      EXPECT_TRUE(::IsWindowVisible(dialog));
      Click(::GetDlgItem(dialog, 5051));
    }
    EXPECT_TRUE(Gone(dialog));
  }

  // Without the string keys the texts are empty; without a handler nothing is clicked here
  // (the address would go to a browser).
  RunInRecorder(main_, R"(worker:link none {"width": 300, "height": 150})");
  HWND bare = WaitForDialog();
  ASSERT_NE(bare, nullptr);
  EXPECT_EQ(::GetDlgItem(bare, 5054), nullptr);  // an empty message needs no link control
  Click(::GetDlgItem(bare, 5051));
  EXPECT_TRUE(Gone(bare));

  // Text that is not JSON opens nothing: the alert queued after it is the next dialog.
  EXPECT_EQ(Run("later:link 1 {not json", "link sent"), "link sent");
  RunInRecorder(main_, "later:alert 300 marker");
  HWND next = WaitForDialog();
  ASSERT_NE(next, nullptr);
  wchar_t text[64] = {};
  ::GetWindowTextW(::GetDlgItem(next, 5054), text, 64);
  EXPECT_EQ(std::wstring(text), L"marker");
  Click(::GetDlgItem(next, 5051));
  EXPECT_TRUE(Gone(next));
}

TEST_F(DialogTest, ProgressThroughTheBus) {
  Launch();
  // Ignored from a worker thread.
  Run(R"(worker:progress-start {"device_id": "cam"})", "progress started");
  ::Sleep(300);
  EXPECT_EQ(Dialog(L"Edit", 5054), nullptr);

  Run(R"(later:progress-start {"device_id": "cam", "title": "Exporting", "desc": "clip.mp4", "output_dir": "C:\\out"})",
      "progress started");
  HWND dialog = WaitForDialog(L"Edit", 5054);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Width(WindowRect(dialog)), 500);
  EXPECT_EQ(Height(WindowRect(dialog)), 160);
  EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(dialog, 5051)));  // the output folder was named
  EXPECT_FALSE(::IsWindowEnabled(view_));
  Run("worker:progress-notify 37 200 0 - -", "progress notified");
  Run("worker:progress-notify 0 0 1 broken.mp4 -", "progress notified");
  // Another process's edit text is read by message; GetWindowText would give its caption.
  HWND box = ::GetDlgItem(dialog, 5054);
  ASSERT_TRUE(Eventually([&] { return ::SendMessageW(box, WM_GETTEXTLENGTH, 0, 0) > 0; }));
  wchar_t failures[256] = {};
  ::SendMessageW(box, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(failures));
  EXPECT_EQ(std::wstring(failures), L"[Failed] 1.broken.mp4\r\n");

  Run("later:progress-cancel other", "progress cancel sent");
  ::Sleep(300);
  EXPECT_TRUE(::IsWindowVisible(dialog));
  Run("worker:progress-cancel cam", "progress cancel sent");
  EXPECT_TRUE(Gone(dialog));
  EXPECT_TRUE(Eventually([&] { return ::IsWindowEnabled(view_) != FALSE; }));
  EXPECT_EQ(Count("progress-cancelled"), 0u);

  // The user's Cancel calls the module's function once, with its two words in order.
  Run(R"(later:progress-start {"device_id": "cam"})", "progress started");
  dialog = WaitForDialog(L"Edit", 5054);
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(dialog, 5051)));
  Click(::GetDlgItem(dialog, 5052));
  EXPECT_TRUE(Gone(dialog));
  ASSERT_TRUE(copy_.WaitForLog("progress-cancelled"));
  EXPECT_NE(copy_.RecorderLog().find("progress-cancelled 0000000000000011 0000000000000022 main=1"),
            std::string::npos);
  EXPECT_EQ(Count("progress-cancelled"), 1u);
}

// The standing dialogs are made hidden with the main window; a dialog's shadow window is
// made, and its focus given, only when it first shows. The first show must still bring all
// of it: the shadow behind the dialog, the pictures of its buttons, a focused control.
TEST_F(DialogTest, AStandingDialogShownTheFirstTimeHasItsShadowPicturesAndFocus) {
  Launch();
  Run(R"(later:progress-start {"device_id": "cam", "title": "Exporting"})", "progress started");
  HWND dialog = WaitForDialog(L"Edit", 5054);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(Eventually([&] { return ShadowFits(dialog); })) << "no shadow behind the dialog";

  for (const auto& button : {std::make_pair(5050, L"close-normal.png"),
                             std::make_pair(5053, L"dialog\\slide-down-normal.png")}) {
    Gdiplus::Bitmap picture((copy_.folder() + L"Resources\\" + button.second).c_str());
    ASSERT_EQ(picture.GetLastStatus(), Gdiplus::Ok);
    const RECT rect = WindowRect(::GetDlgItem(dialog, button.first));
    EXPECT_EQ(Width(rect), static_cast<int>(picture.GetWidth())) << button.first;
    EXPECT_EQ(Height(rect), static_cast<int>(picture.GetHeight())) << button.first;
  }

  // Activation comes after the show, later still on a loaded machine.
  GUITHREADINFO thread = {};
  const DWORD thread_id = ::GetWindowThreadProcessId(dialog, nullptr);
  EXPECT_TRUE(Eventually([&] {
    thread = {};
    thread.cbSize = sizeof(thread);
    return ::GetGUIThreadInfo(thread_id, &thread) && thread.hwndActive == dialog;
  })) << "the dialog was never activated";
  EXPECT_TRUE(Eventually([&] {
    return ::GetGUIThreadInfo(thread_id, &thread) && ::IsChild(dialog, thread.hwndFocus);
  })) << "the focus is on no control";
  Run("later:progress-cancel cam", "progress cancel sent");
  EXPECT_TRUE(Gone(dialog));

  // The sheet tip shows without taking activation; its shadow comes all the same and keeps
  // up with the slide.
  Run("later:sheet 1 Your recording is ready.", "sheet sent");
  HWND tip = WaitForDialog(L"SysLink", 5051);
  ASSERT_NE(tip, nullptr);
  ASSERT_TRUE(Eventually([&] { return Height(WindowRect(tip)) == 40; }));
  EXPECT_TRUE(Eventually([&] { return ShadowFits(tip); })) << "no shadow behind the tip";
}

TEST_F(DialogTest, SheetTipShowsUnderTheViewFollowsTheFrameAndHides) {
  Launch();
  Run("later:sheet 1 Your recording is ready.", "sheet sent");
  HWND tip = WaitForDialog(L"SysLink", 5051);
  ASSERT_NE(tip, nullptr);
  ASSERT_TRUE(Eventually([&] { return Height(WindowRect(tip)) == 40; }));
  RECT view = WindowRect(view_);
  RECT rect = WindowRect(tip);
  EXPECT_EQ(rect.left, view.left);
  EXPECT_EQ(rect.top, view.top + 32);
  EXPECT_EQ(Width(rect), Width(view));
  EXPECT_TRUE(::IsWindowEnabled(view_));

  const RECT frame = WindowRect(main_);
  ::SetWindowPos(main_, nullptr, frame.left + 10, frame.top - 5, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(Eventually([&] { return WindowRect(tip).left == rect.left + 10; }));
  EXPECT_EQ(WindowRect(tip).top, rect.top - 5);

  Run("worker:sheet 0 ignored", "sheet sent");
  EXPECT_TRUE(Gone(tip));
}

TEST_F(DialogTest, SettingsLanguageChangeIsSavedAndAnnounced) {
  Launch();
  // Cancel and the close button change nothing.
  for (int way_out : {5052, 5050}) {
    RunInRecorder(main_, "later:platform LIBPLATFORM_COMMAND_OPEN_SETTING");
    HWND dialog = WaitForDialog(L"ComboBox", 5053);
    ASSERT_NE(dialog, nullptr);
    ::SendMessageW(::GetDlgItem(dialog, 5053), CB_SETCURSEL, 4, 0);
    Click(::GetDlgItem(dialog, way_out));
    EXPECT_TRUE(Gone(dialog));
  }
  ASSERT_TRUE(Eventually([&] { return Count("platform LIBPLATFORM_COMMAND_OPEN_SETTING") == 2; }));
  EXPECT_EQ(::GetFileAttributesW(LanguageFile().c_str()), INVALID_FILE_ATTRIBUTES);

  const size_t from = LogSize();
  RunInRecorder(main_, "later:platform LIBPLATFORM_COMMAND_OPEN_SETTING");
  HWND dialog = WaitForDialog(L"ComboBox", 5053);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Width(WindowRect(dialog)), 600);
  HWND list = ::GetDlgItem(dialog, 5053);
  wchar_t name[64] = {};
  ::SendMessageW(list, CB_GETLBTEXT, 4, reinterpret_cast<LPARAM>(name));
  EXPECT_EQ(std::wstring(name), L"Français");
  ::SendMessageW(list, CB_SETCURSEL, 4, 0);
  Click(::GetDlgItem(dialog, 5051));
  EXPECT_TRUE(Gone(dialog));
  ASSERT_TRUE(copy_.WaitForLog("platform LIBPLATFORM_COMMAND_OPEN_SETTING", from));
  EXPECT_EQ(ReadWholeFile(LanguageFile()), "4");

  HWND tip = WaitForDialog(L"SysLink", 5051);
  ASSERT_NE(tip, nullptr);
  wchar_t text[512] = {};
  ::GetWindowTextW(::GetDlgItem(tip, 5051), text, 512);
  EXPECT_NE(std::wstring(text).find(L"Pellavorne Screen Recorder"), std::wstring::npos);
  // What reads the current language number follows at once.
  EXPECT_NE(Run("later:platform LIBPLATFORM_COMMAND_REPLACE_I18N_SUB_DIR $(kLocalSubDir)x",
                "platform LIBPLATFORM_COMMAND_REPLACE_I18N_SUB_DIR")
                .find(" payload=fr/x "),
            std::string::npos);
}

TEST_F(DialogTest, AboutOpensModallyAndClosesWithOk) {
  Launch();
  const size_t from = LogSize();
  RunInRecorder(main_, "worker:platform LIBPLATFORM_COMMAND_OPEN_ABOUT");
  HWND dialog = WaitForDialog(L"SysLink", 5053);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Width(ClientRect(dialog)), 520);
  EXPECT_EQ(Height(ClientRect(dialog)), 380);
  const RECT ok = RectIn(::GetDlgItem(dialog, 5051), dialog);
  EXPECT_EQ(ok.right, 510);
  EXPECT_EQ(ok.bottom, 370);
  EXPECT_FALSE(copy_.WaitForLog("platform LIBPLATFORM_COMMAND_OPEN_ABOUT", from, 300));
  Click(::GetDlgItem(dialog, 5051));
  EXPECT_TRUE(Gone(dialog));
  EXPECT_TRUE(copy_.WaitForLog("platform LIBPLATFORM_COMMAND_OPEN_ABOUT", from));
}

TEST_F(DialogTest, RemainingPlatformCommands) {
  Launch();
  for (const char* name : {"LIBPLATFORM_COMMAND_GET_PRODUCT_ALIAS",
                           "LIBPLATFORM_COMMAND_GET_PRODUCT_BRAND",
                           "LIBPLATFORM_COMMAND_GET_PRODUCT_VERSION",
                           "LIBPLATFORM_COMMAND_GET_TEMP_DIR",
                           "LIBPLATFORM_COMMAND_GET_DPI_SCALE_PERCENT"}) {
    EXPECT_EQ(Run(std::string("worker:fresh ") + name, "fresh " + std::string(name)),
              "fresh " + std::string(name) + " distinct=1");
  }
  // The update names are received and left alone.
  for (const char* name : {"LIBCOMM_COMMAND_CHECK_FOR_UPDATE", "LIBCOMM_COMMAND_DOWNLOAD_UPDATE",
                           "LIBCOMM_COMMAND_DOWNLOAD_UPDATE_CANCEL"}) {
    EXPECT_NE(Run(std::string("later:platform ") + name + " x", std::string("platform ") + name)
                  .find(" object=null window=0000000000000000 value=0"),
              std::string::npos);
  }
  char view[32];
  std::snprintf(view, sizeof(view), "%p", static_cast<void*>(view_));
  EXPECT_NE(Run("later:platform LIBPLATFORM_COMMAND_CHECK_FOR_UPDATE",
                "platform LIBPLATFORM_COMMAND_CHECK_FOR_UPDATE")
                .find(std::string(" window=") + view),
            std::string::npos);
  EXPECT_NE(Run("later:platform LIBPLATFORM_COMMAND_CHANGE_PROGRESS_LOGO",
                "platform LIBPLATFORM_COMMAND_CHANGE_PROGRESS_LOGO")
                .find(" object=null"),
            std::string::npos);
}

TEST_F(DialogTest, DpiFactorAt120) {
  ScreenDpi dpi(120);
  Launch();
  EXPECT_NE(Run("later:platform LIBPLATFORM_COMMAND_GET_DPI_SCALE_PERCENT",
                "platform LIBPLATFORM_COMMAND_GET_DPI_SCALE_PERCENT")
                .find(" scale=1.25 "),
            std::string::npos);
}

}  // namespace

namespace {

// The whole screen as a PNG, as the X server shows it through Wine.
bool SaveScreen(const std::wstring& path) {
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ previous = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  ::SelectObject(memory, previous);
  bool saved = false;
  {
    Gdiplus::Bitmap image(bitmap, nullptr);
    CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    saved = image.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
  }
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return saved;
}

class GdiplusRunning : public ::testing::Environment {
 public:
  void SetUp() override {
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token_, &input, nullptr);
  }
  void TearDown() override { Gdiplus::GdiplusShutdown(token_); }

 private:
  ULONG_PTR token_ = 0;
};
const bool g_gdiplus = (::testing::AddGlobalTestEnvironment(new GdiplusRunning), true);

struct Look {
  DWORD log_pixels;
  int language;
  const char* name;
};

class DialogLookTest : public DialogTest, public ::testing::WithParamInterface<Look> {
 protected:
  void Shoot(const std::string& dialog) {
    ::Sleep(600);  // the last paint of slides and timers
    const std::string file = std::string(GetParam().name) + "-" + dialog + ".png";
    EXPECT_TRUE(SaveScreen(std::wstring(OSTREVAN_SCREENSHOT_DIR_W) + L"\\" +
                           std::wstring(file.begin(), file.end())))
        << file;
  }
};

// Every dialog opened once, photographed and closed; the pictures land in build/screenshots.
TEST_P(DialogLookTest, EveryDialog) {
  ScreenDpi dpi(GetParam().log_pixels);
  MakeFolders(LanguageFile().substr(0, LanguageFile().find_last_of(L'\\')));
  WriteText(LanguageFile(), std::to_string(GetParam().language));
  Launch();
  const float scale = GetParam().log_pixels / 96.0f;
  EXPECT_EQ(Width(WindowRect(main_)), static_cast<int>(740 * scale));

  RunInRecorder(main_, "later:confirm-cb " + std::to_string(static_cast<int>(420 * scale)) +
                           " Remove the selected clip from the list? The file stays on disk.");
  HWND dialog = WaitForDialog();
  ASSERT_NE(dialog, nullptr);
  Shoot("confirm");
  Click(::GetDlgItem(dialog, 5052));
  ASSERT_TRUE(Gone(dialog));

  RunInRecorder(main_, R"(later:link none {"link": "The export stopped. <A HREF=\"https://www.pellavorne.example/faq\">Read the answers</A> or try again.", "width": 460, "height": 210, "sub_title": "Export failed", "title": "Export"})");
  dialog = WaitForDialog(L"SysLink", 5054);
  ASSERT_NE(dialog, nullptr);
  Shoot("link-alert");
  Click(::GetDlgItem(dialog, 5051));
  ASSERT_TRUE(Gone(dialog));

  Run(R"(later:progress-start {"device_id": "cam", "title": "Exporting", "desc": "holiday.mp4", "output_dir": "C:\\out", "show_current_total_number": 0})",
      "progress started");
  Run("later:progress-notify 37 200 2 broken.mp4 holiday.mp4", "progress notified");
  dialog = WaitForDialog(L"Edit", 5054);
  ASSERT_NE(dialog, nullptr);
  Click(::GetDlgItem(dialog, 5053));  // open the failure list
  Shoot("progress");
  Run("later:progress-finish 200 200 0 - -", "progress finished");
  Shoot("progress-finished");
  Click(::GetDlgItem(dialog, 5052));
  ASSERT_TRUE(Gone(dialog));

  RunInRecorder(main_, "later:platform LIBPLATFORM_COMMAND_OPEN_ABOUT");
  dialog = WaitForDialog(L"SysLink", 5053);
  ASSERT_NE(dialog, nullptr);
  Shoot("about");
  Click(::GetDlgItem(dialog, 5051));
  ASSERT_TRUE(Gone(dialog));

  RunInRecorder(main_, "later:platform LIBPLATFORM_COMMAND_OPEN_SETTING");
  dialog = WaitForDialog(L"ComboBox", 5053);
  ASSERT_NE(dialog, nullptr);
  Shoot("settings");
  ::SendMessageW(::GetDlgItem(dialog, 5053), CB_SETCURSEL, 3, 0);  // English
  Click(::GetDlgItem(dialog, 5051));
  ASSERT_TRUE(Gone(dialog));
  HWND tip = WaitForDialog(L"SysLink", 5051);
  ASSERT_NE(tip, nullptr);
  Shoot("sheet-tip");
}

INSTANTIATE_TEST_SUITE_P(Looks, DialogLookTest,
                         ::testing::Values(Look{96, 3, "en-1.0"}, Look{144, 3, "en-1.5"},
                                           Look{96, 8, "ja-1.0"}, Look{144, 8, "ja-1.5"}),
                         [](const ::testing::TestParamInfo<Look>& info) {
                           std::string name = info.param.name;
                           for (char& c : name) if (c == '-' || c == '.') c = '_';
                           return name;
                         });

}  // namespace
