// Parents reflecting control notifications back to the controls (OCM_ messages).
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

#include "common/win32/window.h"
#include "test_support.h"

namespace {

constexpr int kButtonId = 3;

class Parent : public CWindowImpl<Parent, CWindow, CWinTraits<WS_POPUP | WS_CLIPCHILDREN>> {
 public:
  BEGIN_MSG_MAP(Parent)
    COMMAND_ID_HANDLER(40001, OnMenuCommand)
    REFLECT_NOTIFICATIONS()
  END_MSG_MAP()
  LRESULT OnMenuCommand(WORD, WORD, HWND, BOOL&) {
    ++menu_commands;
    return 0;
  }
  int menu_commands = 0;
};

// An owner-drawn button that paints itself from the reflected WM_DRAWITEM.
class DrawnButton : public CWindowImpl<DrawnButton> {
 public:
  DECLARE_WND_SUPERCLASS(nullptr, L"Button")
  BEGIN_MSG_MAP(DrawnButton)
    MESSAGE_HANDLER(OCM_DRAWITEM, OnDrawItem)
    MESSAGE_HANDLER(OCM_COMMAND, OnCommand)
    MESSAGE_HANDLER(OCM_NOTIFY, OnNotify)
    MESSAGE_HANDLER(OCM_PARENTNOTIFY, OnParentNotify)
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()
  LRESULT OnDrawItem(UINT, WPARAM, LPARAM lparam, BOOL&) {
    auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lparam);
    ++draws;
    drawn_item = item->hwndItem;
    ::SetBkColor(item->hDC, RGB(0, 200, 0));
    ::ExtTextOutW(item->hDC, 0, 0, ETO_OPAQUE, &item->rcItem, nullptr, 0, nullptr);
    return TRUE;
  }
  LRESULT OnCommand(UINT, WPARAM wparam, LPARAM, BOOL&) {
    commands.push_back(HIWORD(wparam));
    return 0;
  }
  LRESULT OnNotify(UINT, WPARAM, LPARAM lparam, BOOL&) {
    return reinterpret_cast<LPNMHDR>(lparam)->code == static_cast<UINT>(NM_CLICK) ? 55 : 0;
  }
  LRESULT OnParentNotify(UINT, WPARAM, LPARAM, BOOL&) {
    ++parent_notifies;
    return 0;
  }
  int draws = 0;
  HWND drawn_item = nullptr;
  std::vector<WORD> commands;
  int parent_notifies = 0;
};

class ReflectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(parent_.Create(nullptr, MakeRect(50, 50, 250, 150)));
    ASSERT_TRUE(button_.Create(parent_, MakeRect(10, 10, 110, 60), L"",
                               WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, kButtonId));
  }
  void TearDown() override { parent_.DestroyWindow(); }

  Parent parent_;
  DrawnButton button_;
};

TEST_F(ReflectionTest, CommandsFromTheControlGoBackToIt) {
  parent_.SendMessage(WM_COMMAND, MAKEWPARAM(kButtonId, BN_CLICKED),
                      reinterpret_cast<LPARAM>(button_.m_hWnd));
  button_.SendMessage(BM_CLICK);  // the button itself tells its parent
  EXPECT_EQ(button_.commands, (std::vector<WORD>{BN_CLICKED, BN_CLICKED}));

  parent_.SendMessage(WM_COMMAND, MAKEWPARAM(40001, 0), 0);  // a menu: nothing to reflect
  EXPECT_EQ(parent_.menu_commands, 1);
  EXPECT_EQ(button_.commands.size(), 2u);
}

TEST_F(ReflectionTest, OwnerDrawingHappensInTheControl) {
  parent_.ShowWindow(SW_SHOWNOACTIVATE);
  parent_.RedrawWindow(nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  EXPECT_GE(button_.draws, 1);
  EXPECT_EQ(button_.drawn_item, button_.m_hWnd);

  CWindow(button_).Invalidate();
  const int before = button_.draws;
  button_.UpdateWindow();
  EXPECT_EQ(button_.draws, before + 1);
}

TEST_F(ReflectionTest, NotificationsAndDefaults) {
  NMHDR header = {button_.m_hWnd, kButtonId, static_cast<UINT>(NM_CLICK)};
  EXPECT_EQ(parent_.SendMessage(WM_NOTIFY, kButtonId, reinterpret_cast<LPARAM>(&header)), 55);

  // Not handled by the button: the parent's default answer, a brush.
  HDC dc = ::GetDC(button_);
  EXPECT_NE(parent_.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                                reinterpret_cast<LPARAM>(button_.m_hWnd)),
            0);
  ::ReleaseDC(button_, dc);

  // Only creation and destruction notices name a child; a click notice does not.
  EXPECT_EQ(button_.parent_notifies, 1) << "the button's own creation notice";
  parent_.SendMessage(WM_PARENTNOTIFY, MAKEWPARAM(WM_LBUTTONDOWN, kButtonId), MAKELPARAM(1, 1));
  EXPECT_EQ(button_.parent_notifies, 1);
  parent_.SendMessage(WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, kButtonId),
                      reinterpret_cast<LPARAM>(button_.m_hWnd));
  EXPECT_EQ(button_.parent_notifies, 2);
}

}  // namespace
