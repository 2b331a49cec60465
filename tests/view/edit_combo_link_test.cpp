// The edit box, the check-list combo box and the link as real windows in a reflecting parent.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "control_host.h"
#include "test_support.h"
#include "view/internal/check_list_text.h"
#include "view/kv_combo_box.h"
#include "view/kv_edit.h"
#include "view/kv_link.h"

namespace {

constexpr UINT kId = 201;

std::wstring Text(HWND window) {
  wchar_t text[256] = {};
  ::GetWindowTextW(window, text, 256);
  return text;
}

TEST(CheckListText, JoinsCheckedTextsWithTheLocaleSeparator) {
  EXPECT_EQ(vantorel::JoinSeparator(L","), L", ");
  EXPECT_EQ(vantorel::JoinSeparator(L";  \t"), L"; ") << "trailing blanks dropped";
  EXPECT_EQ(vantorel::JoinSeparator(L""), L"; ");
  const std::vector<std::pair<std::wstring, bool>> items = {
      {L"A", false}, {L"B", true}, {L"C", true}};
  EXPECT_EQ(vantorel::JoinChecked(items, L", "), L"B, C");
  EXPECT_EQ(vantorel::JoinChecked({{L"A", false}}, L", "), L"");
}

TEST(Edit, EnterCallsTheCallbackOnceAndInsertsNothing) {
  ControlHost host;
  for (DWORD style : {0x50010080UL, 0x50010080UL | ES_WANTRETURN}) {
    KvEdit edit;
    ASSERT_NE(edit.Create(host, RECT{10, 10, 200, 34}, L"abc", style, 0, kId), nullptr);
    int calls = 0;
    std::function<void()> enter = [&calls] { ++calls; };
    edit.setFuncEnterCallback(enter);
    ::SetFocus(edit);
    ::SendMessageW(edit, EM_SETSEL, 3, 3);
    // What the keyboard gives for Enter: the key, its character, the release.
    ::PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    ::PostMessageW(edit, WM_CHAR, L'\r', 0x001C0001);
    ::PostMessageW(edit, WM_KEYUP, VK_RETURN, 0xC01C0001);
    PumpPending();
    EXPECT_EQ(calls, 1) << std::hex << style;
    EXPECT_EQ(Text(edit), L"abc") << std::hex << style;
    ::PostMessageW(edit, WM_CHAR, L'x', 1);
    PumpPending();
    EXPECT_EQ(Text(edit), L"abcx") << "other keys still type";
    ::DestroyWindow(edit);
  }
}

TEST(Edit, CueBannerNoCallbackAndAWhiteBackgroundAlsoReadOnly) {
  ControlHost host;
  KvEdit edit;
  edit.Create(host, RECT{10, 10, 200, 34}, L"", 0x50010080, 0, kId);
  edit.setTipValue(L"Type an address");
  wchar_t cue[64] = {};
  ::SendMessageW(edit, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(cue), 64);
  EXPECT_STREQ(cue, L"Type an address");
  ::PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);  // no callback: logged, nothing else
  PumpPending();
  EXPECT_EQ(Text(edit), L"");

  edit.SetReadOnly(TRUE);
  EXPECT_TRUE(::GetWindowLongW(edit, GWL_STYLE) & ES_READONLY);
  ::SetWindowTextW(edit, L"read only");
  EXPECT_EQ(Snapshot(edit, true).At(185, 4), RGB(255, 255, 255));
}

class Combo : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t saved[32] = {};
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SLIST, saved, 32);
    saved_separator_ = saved;
    ::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SLIST, L",");
    ASSERT_NE(combo_.Create(host_, RECT{10, 10, 210, 200}, nullptr,
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST |
                                CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                            0, kId),
              nullptr);
    for (const wchar_t* text : {L"A", L"B", L"C"}) {
      ::SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(::GetComboBoxInfo(combo_, &info));
    list_ = info.hwndList;
  }
  void TearDown() override {
    ::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SLIST, saved_separator_.c_str());
  }
  // Where the user clicks to tick an item of the open list.
  POINT ItemCentre(int item) {
    RECT rect = {};
    ::SendMessageW(list_, LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&rect));
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  }

  ControlHost host_{400, 300};
  KvComboBox combo_;
  HWND list_ = nullptr;
  std::wstring saved_separator_;
};

TEST_F(Combo, ShowsTheCheckedTextsJoinedAndSelectAllClearsThemAgain) {
  EXPECT_EQ(Text(combo_), L"") << "nothing checked";
  EXPECT_EQ(combo_.SetCheck(1, 1), 1);
  combo_.SetCheck(2, 1);
  EXPECT_EQ(Text(combo_), L"B, C");
  EXPECT_EQ(::GetWindowTextLengthW(combo_), 4);
  ::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SLIST, L";");
  combo_.SetCheck(2, 1);
  EXPECT_EQ(Text(combo_), L"B; C") << "the user's separator, read when the text changes";

  combo_.SelectAll(1);
  EXPECT_EQ(Text(combo_), L"A; B; C");
  combo_.SelectAll(0);
  for (int item = 0; item < 3; ++item) EXPECT_EQ(combo_.GetCheck(item), 0) << item;
  EXPECT_EQ(Text(combo_), L"");
  EXPECT_EQ(combo_.SetCheck(7, 1), CB_ERR);
  EXPECT_TRUE(host_.commands.empty()) << "setting checks from code notifies nobody";
}

TEST_F(Combo, TickingInTheOpenListTogglesOnceAndKeepsItOpen) {
  ::SendMessageW(combo_, CB_SHOWDROPDOWN, TRUE, 0);
  PumpPending();
  ASSERT_TRUE(::SendMessageW(combo_, CB_GETDROPPEDSTATE, 0, 0));
  const POINT b = ItemCentre(1);
  ClickAt(list_, b.x, b.y);
  EXPECT_EQ(combo_.GetCheck(1), 1);
  EXPECT_EQ(host_.Count(kId, CBN_SELCHANGE), 1);
  EXPECT_TRUE(::SendMessageW(combo_, CB_GETDROPPEDSTATE, 0, 0)) << "still open";
  ClickAt(list_, b.x, b.y);
  EXPECT_EQ(combo_.GetCheck(1), 0);
  EXPECT_EQ(host_.Count(kId, CBN_SELCHANGE), 2);

  ::SendMessageW(list_, LB_SETCURSEL, 2, 0);
  ::PostMessageW(list_, WM_CHAR, L' ', 1);
  PumpPending();
  EXPECT_EQ(combo_.GetCheck(2), 1) << "Space ticks the item under the keyboard cursor";
  EXPECT_EQ(host_.Count(kId, CBN_SELCHANGE), 3);
  EXPECT_EQ(::SendMessageW(list_, LB_GETCURSEL, 0, 0), LB_ERR) << "the combo sees no choice";
  EXPECT_EQ(Text(combo_), L"C");
  ::SendMessageW(combo_, CB_SHOWDROPDOWN, FALSE, 0);
}

TEST(Link, PaintsItsTextWithoutFlicker) {
  ControlHost host;
  KvLink link;
  ASSERT_NE(link.Create(host, RECT{10, 10, 250, 40},
                        L"Read the <a href=\"https://example.com\">release notes</a>", 0, 0,
                        kId),
            nullptr);
  PumpPending();
  const Snapshot shot(link, true);
  const RECT all = {0, 0, shot.width, shot.height};
  EXPECT_LT(shot.CountNear(RGB(0, 0, 0), 40, all), shot.width * shot.height / 2)
      << "not a black box";
  EXPECT_GT(shot.CountNear(::GetSysColor(COLOR_HOTLIGHT), 60, all), 10) << "the link text";
}

}  // namespace
