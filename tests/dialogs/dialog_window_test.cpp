// Message, settings, about and sheet-tip dialogs as real windows, driven with posted clicks.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "dialogs/message_commands.h"
#include "dialogs/shell_dialog_commands.h"
#include "dialogs/shell_open.h"
#include "dialogs/ui_about_dialog.h"
#include "dialogs/ui_alert_dialog.h"
#include "dialogs/ui_setting_dialog.h"
#include "dialogs/ui_sheet_dialog.h"
#include "host/resource_catalogues.h"
#include "shell/language.h"
#include "shell/shell_state.h"
#include "rapidjson/document.h"

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

std::unique_ptr<UiAlertDialog> MakeAlert(bool confirm, const std::wstring& message, int width,
                                         float scale = 1.0f) {
  auto dialog = std::make_unique<UiAlertDialog>(scale, FindImage("close-normal.png"),
                                                FindImage("close-pressed.png"),
                                                FindImage("alert.png"), confirm ? 1 : 0, true,
                                                L"Cancel", L"OK");
  dialog->SetFitToContent();
  dialog->SetUpDialog(TestOwner(), {width, 0}, message);
  return dialog;
}

// The link control's first link, clicked where its text begins.
void ClickLink(HWND dialog, int id) {
  HWND link = ::GetDlgItem(dialog, id);
  ::PostMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 6));
  ::PostMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(4, 6));
}

std::vector<std::string> g_opened;
bool RecordOpened(const std::string& target) {
  g_opened.push_back(target);
  return true;
}

class OpenedAddresses {
 public:
  OpenedAddresses() {
    g_opened.clear();
    previous_ = ReplaceWebAddressOpener(&RecordOpened);
  }
  ~OpenedAddresses() { ReplaceWebAddressOpener(previous_); }

 private:
  ShellOpenFunction previous_;
};

TEST(MessageDialogs, EndCodesForEveryWayOut) {
  struct Case {
    int click;
    INT_PTR code;
  };
  for (const Case& c : {Case{5051, 5051}, Case{5052, 5052}, Case{5050, 5050}}) {
    auto dialog = MakeAlert(true, L"Delete the recording?", 400);
    EXPECT_EQ(RunModal([&] { return dialog->DoModal(TestOwner()); },
                       [&](HWND window) { ClickButton(window, c.click); }),
              c.code)
        << c.click;
  }
}

TEST(MessageDialogs, BaseLookAndPlacesAt10) {
  auto dialog = MakeAlert(false, L"Saved.", 400);
  RECT close = {}, ok = {}, client = {}, window = {};
  bool secondary_visible = true;
  COLORREF band = 0, body = 0;
  RunModal([&] { return dialog->DoModal(TestOwner()); },
           [&](HWND hwnd) {
             ::Sleep(300);
             close = RectIn(::GetDlgItem(hwnd, 5050), hwnd);
             ok = RectIn(::GetDlgItem(hwnd, 5051), hwnd);
             secondary_visible = ::IsWindowVisible(::GetDlgItem(hwnd, 5052));
             client = ClientRectOf(hwnd);
             ::GetWindowRect(hwnd, &window);
             HDC dc = ::GetDC(hwnd);
             band = ::GetPixel(dc, 40, 13);
             body = ::GetPixel(dc, 40, 30);
             ::ReleaseDC(hwnd, dc);
             ClickButton(hwnd, 5051);
           });
  EXPECT_EQ(close.right, client.right - 8);  // close button 8 in from the right, 4 down
  EXPECT_EQ(close.top, 4);
  EXPECT_EQ(ok.right, client.right - 10);    // the only button: one gap from the right
  EXPECT_FALSE(secondary_visible);
  EXPECT_EQ(band, CatalogueColor("color:title:background"));  // the 26-pixel band
  EXPECT_EQ(body, RGB(255, 255, 255));
  // Recentred on the owner.
  RECT owner = {};
  ::GetWindowRect(TestOwner(), &owner);
  EXPECT_NEAR((window.left + window.right) / 2, (owner.left + owner.right) / 2, 1);
}

TEST(MessageDialogs, FitToContentTakesTheTallerOfIconAndText) {
  auto dialog = MakeAlert(true, L"One line\r\ntwo lines\r\nthree lines\r\nfour lines", 400);
  RECT client = {}, cancel = {};
  RunModal([&] { return dialog->DoModal(TestOwner()); },
           [&](HWND hwnd) {
             ::Sleep(200);
             client = ClientRectOf(hwnd);
             cancel = RectIn(::GetDlgItem(hwnd, 5052), hwnd);
             ClickButton(hwnd, 5052);
           });
  const AlertLayout& layout = dialog->layout();
  const int content = std::max(layout.icon.bottom, layout.message.bottom);
  EXPECT_GT(layout.message.bottom, layout.icon.bottom);  // four lines outgrow the icon
  EXPECT_EQ(cancel.top, content + 10);
  EXPECT_EQ(client.bottom, content + 10 + Height(cancel) + 10);
}

TEST(MessageDialogs, LinkClickOpensTheAddressOrGoesToTheHandler) {
  OpenedAddresses opened;
  const std::wstring message = L"<A HREF=\"https://www.pellavorne.example/help\">Help</A> for you";
  auto plain = MakeAlert(false, message, 400);
  bool still_open = false;
  RunModal([&] { return plain->DoModal(TestOwner()); },
           [&](HWND hwnd) {
             ClickLink(hwnd, kDetailControlId);
             const ULONGLONG deadline = ::GetTickCount64() + 5000;
             while (g_opened.empty() && ::GetTickCount64() < deadline) ::Sleep(20);
             still_open = ::IsWindowVisible(hwnd);
             ClickButton(hwnd, 5051);
           });
  EXPECT_NE(plain->link_control(), nullptr);
  EXPECT_EQ(plain->message(), L"Help for you");  // what the layout measured
  ASSERT_EQ(g_opened.size(), 1u);
  EXPECT_EQ(g_opened[0], "https://www.pellavorne.example/help");
  EXPECT_TRUE(still_open);

  for (int answer : {1, 0}) {
    UiLinkAlertDialog dialog(1.0f, FindImage("close-normal.png"), FindImage("close-pressed.png"),
                             FindImage("alert.png"), 0, false, L"Cancel", L"OK");
    std::atomic<int> calls{0};
    std::wstring seen;
    dialog.SetLinkHandler([&](const std::wstring& address) {
      ++calls;
      seen = address;
      return answer;
    });
    dialog.SetUpDialog(TestOwner(), {420, 200}, message, L"OK");
    RECT client = {}, ok = {};
    const INT_PTR code = RunModal([&] { return dialog.DoModal(TestOwner()); },
                                  [&](HWND hwnd) {
                                    client = ClientRectOf(hwnd);
                                    ok = RectIn(::GetDlgItem(hwnd, 5051), hwnd);
                                    ClickLink(hwnd, kDetailControlId);
                                    const ULONGLONG deadline = ::GetTickCount64() + 5000;
                                    while (calls == 0 && ::GetTickCount64() < deadline) ::Sleep(20);
                                    if (answer == 0) ClickButton(hwnd, 5052);
                                  });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seen, L"https://www.pellavorne.example/help");
    EXPECT_EQ(code, answer ? 5051 : 5052);
    EXPECT_EQ(client.bottom, 200);  // a link alert keeps the height it was given
    EXPECT_EQ(ok.bottom, 200 - 10);
  }
  EXPECT_EQ(g_opened.size(), 1u);  // handled clicks open nothing
}

TEST(MessageDialogs, SizesTooSmallToUseAreRaised) {
  const SIZE size = BoundedMessageDialogSize(0, -5, 1.5f);
  EXPECT_EQ(size.cx, 300);
  EXPECT_EQ(size.cy, 150);
  EXPECT_EQ(BoundedMessageDialogSize(640, 480, 1.0f).cx, 640);
}

std::unique_ptr<UiSettingDialog> MakeSetting(int language) {
  auto dialog = std::make_unique<UiSettingDialog>(1.0f, FindImage("close-normal.png"),
                                                  FindImage("close-pressed.png"), false,
                                                  L"Cancel", L"OK");
  dialog->SetTitle(L"Settings");
  dialog->SetLanguage(language);
  dialog->SetUpDialog(nullptr, {600, 240});
  return dialog;
}

TEST(SettingDialog, OkReturnsTheChosenLanguageCancelAndCloseReturnNothing) {
  auto dialog = MakeSetting(3);
  RECT list = {};
  LRESULT count = 0, selected = -1;
  EXPECT_EQ(RunModal([&] { return dialog->DoModal(TestOwner()); },
                     [&](HWND hwnd) {
                       HWND combo = ::GetDlgItem(hwnd, 5053);
                       count = ::SendMessageW(combo, CB_GETCOUNT, 0, 0);
                       selected = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
                       ::GetWindowRect(combo, &list);
                       ::SendMessageW(combo, CB_SETCURSEL, 4, 0);  // the fifth: French
                       ClickButton(hwnd, 5051);
                     }),
            5051);
  EXPECT_EQ(count, 15);
  EXPECT_EQ(dialog->language_numbers()[selected], 3);
  auto result = dialog->TakeResult();
  ASSERT_TRUE(result);
  EXPECT_EQ(*result, dialog->language_numbers()[4]);
  EXPECT_EQ(Width(list), 240);
  EXPECT_EQ(Height(list), 22);
  EXPECT_EQ(Width(dialog->layout().list), 240);
  EXPECT_EQ(Height(dialog->layout().list), 22);
  EXPECT_EQ(dialog->layout().list.left, static_cast<int>(dialog->layout().frame.X) + 24);

  for (int way_out : {5052, 5050}) {
    auto other = MakeSetting(3);
    EXPECT_EQ(RunModal([&] { return other->DoModal(TestOwner()); },
                       [&](HWND hwnd) {
                         ::SendMessageW(::GetDlgItem(hwnd, 5053), CB_SETCURSEL, 4, 0);
                         ClickButton(hwnd, way_out);
                       }),
              5052);
    EXPECT_FALSE(other->TakeResult());
  }
}

TEST(SettingDialog, UnknownCurrentLanguageOpensWithoutSelectionAndOkKeepsIt) {
  auto dialog = MakeSetting(42);
  LRESULT selected = 0;
  RunModal([&] { return dialog->DoModal(TestOwner()); },
           [&](HWND hwnd) {
             selected = ::SendMessageW(::GetDlgItem(hwnd, 5053), CB_GETCURSEL, 0, 0);
             ClickButton(hwnd, 5051);
           });
  EXPECT_EQ(selected, CB_ERR);
  auto result = dialog->TakeResult();
  ASSERT_TRUE(result);
  EXPECT_EQ(*result, 42);
}

TEST(AboutDialog, SizesAt10AndTheAddressOpensWithoutClosing) {
  OpenedAddresses opened;
  UiAboutDialog dialog(1.0f, FindImage("close-normal.png"), FindImage("close-pressed.png"));
  dialog.SetUpDialog(TestOwner(), {520, 380}, L"");
  RECT client = {}, ok = {}, link = {};
  bool open_after_click = false;
  EXPECT_EQ(RunModal([&] { return dialog.DoModal(TestOwner()); },
                     [&](HWND hwnd) {
                       client = ClientRectOf(hwnd);
                       ok = RectIn(::GetDlgItem(hwnd, 5051), hwnd);
                       link = RectIn(::GetDlgItem(hwnd, 5053), hwnd);
                       ClickLink(hwnd, 5053);
                       const ULONGLONG deadline = ::GetTickCount64() + 5000;
                       while (g_opened.empty() && ::GetTickCount64() < deadline) ::Sleep(20);
                       ::Sleep(100);
                       open_after_click = ::IsWindowVisible(hwnd) != FALSE;
                       ClickButton(hwnd, 5051);
                     }),
            5051);
  EXPECT_EQ(client.right, 520);
  EXPECT_EQ(client.bottom, 380);
  EXPECT_EQ(dialog.about_layout().band_height, 196);
  EXPECT_EQ(dialog.about_layout().logo.top, 28);
  EXPECT_EQ(Width(dialog.about_layout().logo), 96);
  EXPECT_EQ(dialog.about_layout().logo.left, (520 - 96) / 2);
  EXPECT_EQ(ok.right, 510);
  EXPECT_EQ(ok.bottom, 370);
  EXPECT_NEAR((link.left + link.right) / 2, 260, 2);
  ASSERT_EQ(g_opened.size(), 1u);
  EXPECT_EQ(g_opened[0], "https://www.pellavorne.example/");
  EXPECT_TRUE(open_after_click);
  EXPECT_EQ(dialog.more_info(), L"For more information about Pellavorne, please visit:");
}

class SheetTipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tip_ = std::make_unique<UiSheetDialog>(1.0f, FindImage("close-normal.png"),
                                           FindImage("close-pressed.png"));
    const RECT owner = ClientRectOf(TestOwner());
    tip_->Create(TestOwner(), {owner.right, owner.bottom});
    tip_->SetTopOffset(32);
    tip_->Reposition();
    PumpPending();
  }
  int TipHeight() {
    RECT rect = {};
    ::GetWindowRect(*tip_, &rect);
    return Height(rect);
  }
  std::unique_ptr<UiSheetDialog> tip_;
};

// Every height the watched window is given, seen as it happens: a test that sampled the
// height between pumps could miss steps on a busy machine, where timer ticks bunch up.
HWND g_sized_window = nullptr;
std::vector<int> g_heights;
LRESULT CALLBACK WatchSizes(int code, WPARAM wparam, LPARAM lparam) {
  const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lparam);
  if (code == HC_ACTION && sent->hwnd == g_sized_window && sent->message == WM_WINDOWPOSCHANGED) {
    const auto* pos = reinterpret_cast<const WINDOWPOS*>(sent->lParam);
    if (!(pos->flags & SWP_NOSIZE)) g_heights.push_back(pos->cy);
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST_F(SheetTipTest, SlidesDownInFifthsThenHidesAfterTheDisplayTime) {
  EXPECT_EQ(TipHeight(), 8);
  g_sized_window = *tip_;
  g_heights.clear();
  HHOOK hook =
      ::SetWindowsHookExW(WH_CALLWNDPROCRET, &WatchSizes, nullptr, ::GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  tip_->SetMessage(L"The new language applies at the next start.");
  tip_->ShowFor(5, 700);
  const bool slid =
      PumpUntil([&] { return ::IsWindowVisible(::GetDlgItem(*tip_, 5051)) != FALSE; });
  ::UnhookWindowsHookEx(hook);
  ASSERT_TRUE(slid);
  const std::set<int> heights(g_heights.begin(), g_heights.end());
  for (int height : heights) EXPECT_EQ(height % 8, 0) << height;
  // Each step one fifth, none skipped, and never beyond the full 40.
  for (int height : {16, 24, 32, 40}) EXPECT_EQ(heights.count(height), 1u) << height;
  EXPECT_LE(*heights.rbegin(), 40);
  EXPECT_EQ(TipHeight(), 40);
  RECT owner = {}, tip = {};
  ::GetWindowRect(TestOwner(), &owner);
  ::GetWindowRect(*tip_, &tip);
  EXPECT_EQ(tip.left, owner.left);
  EXPECT_EQ(tip.top, owner.top + 32);
  EXPECT_EQ(Width(tip), Width(owner));
  EXPECT_TRUE(::IsWindowEnabled(TestOwner()));  // a notice blocks nothing

  const ULONGLONG shown = ::GetTickCount64();
  ASSERT_TRUE(PumpUntil([&] { return !::IsWindowVisible(*tip_); }));
  EXPECT_GE(::GetTickCount64() - shown, 600u);
  EXPECT_TRUE(tip_->finished());

  // Hidden at full height: shown again, it starts its display time at once.
  tip_->ShowFor(5, 300);
  PumpFor(30);
  EXPECT_EQ(TipHeight(), 40);
  ASSERT_TRUE(PumpUntil([&] { return !::IsWindowVisible(*tip_); }));
}

TEST_F(SheetTipTest, ClickWithoutActionHidesAndShowZeroHidesAndClears) {
  tip_->SetMessage(L"Click me");
  tip_->ShowFor(5, 60000);
  ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(::GetDlgItem(*tip_, 5051)) != FALSE; }));
  ClickLink(*tip_, 5051);
  ASSERT_TRUE(PumpUntil([&] { return !::IsWindowVisible(*tip_); }));

  static int actions;
  actions = 0;
  tip_->SetClickAction([] { ++actions; });
  tip_->ShowFor(5, 60000);
  ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(*tip_) != FALSE; }));
  PumpFor(100);
  ClickLink(*tip_, 5051);
  ASSERT_TRUE(PumpUntil([&] { return !::IsWindowVisible(*tip_); }));
  EXPECT_EQ(actions, 1);

  tip_->ShowFor(0, 5000);  // hiding a hidden tip is fine
  tip_->SetMessage(nullptr);
  EXPECT_FALSE(::IsWindowVisible(*tip_));
  EXPECT_EQ(tip_->message(), L"");
}

std::vector<std::string> g_folders;
bool RecordFolder(const std::string& target) {
  g_folders.push_back(target);
  return true;
}

// A module's tip that names a folder opens it when clicked; the next tip without one does not.
TEST_F(SheetTipTest, CommandWithAFolderOpensItOnClickAndOnlyThatTip) {
  SetHostDialog(kHostDialogSheetTip, tip_.get());
  g_folders.clear();
  const ShellOpenFunction previous = ReplaceFolderOpener(&RecordFolder);
  auto send = [](const char* json) {
    rapidjson::Document payload;
    payload.Parse(json);
    TERObserveData1 record = {};
    record.name = "LIBPLATFORM_COMMAND_SHOW_SHEET_TIP";
    record.payload = static_cast<rapidjson::Value*>(&payload);
    ShowSheetTipCommand(&record);
  };
  for (const char* json : {R"({"show": 1, "message": "Saved to C:\\clips", "open_folder": "C:\\clips"})",
                           R"({"show": 1, "message": "Language changes at the next start"})"}) {
    send(json);
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(::GetDlgItem(*tip_, 5051)) != FALSE; }));
    ClickLink(*tip_, 5051);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindowVisible(*tip_); }));
  }
  ReplaceFolderOpener(previous);
  SetHostDialog(kHostDialogSheetTip, nullptr);
  ASSERT_EQ(g_folders.size(), 1u);
  EXPECT_EQ(g_folders[0], "C:\\clips");
}

TEST_F(SheetTipTest, FollowsTheOwnerByOffset) {
  RECT before = {}, after = {};
  ::GetWindowRect(*tip_, &before);
  tip_->MoveBy(10, -5);
  ::GetWindowRect(*tip_, &after);
  EXPECT_EQ(after.left - before.left, 10);
  EXPECT_EQ(after.top - before.top, -5);
  EXPECT_EQ(Width(after), Width(before));
}

}  // namespace
