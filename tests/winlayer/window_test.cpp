#include "winlayer/window.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "winlayer/frame_window.h"
#include "test_support.h"

namespace {

using PopupTraits = CWinTraits<WS_POPUP, WS_EX_TOOLWINDOW>;

// Answers WM_APP with its own index, so a wrong object would show.
class Numbered : public CWindowImpl<Numbered, CWindow, PopupTraits> {
 public:
  explicit Numbered(int index) : index_(index) {}
  BEGIN_MSG_MAP(Numbered)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_APP, OnApp)
  END_MSG_MAP()
  LRESULT OnCreate(UINT, WPARAM, LPARAM lparam, BOOL&) {
    created_with = reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams;
    window_seen_at_create = m_hWnd;
    return 0;
  }
  LRESULT OnApp(UINT, WPARAM, LPARAM, BOOL&) { return index_; }
  void* created_with = nullptr;
  HWND window_seen_at_create = nullptr;

 private:
  int index_;
};

TEST(WindowImpl, EveryWindowReachesItsOwnObject) {
  std::vector<std::unique_ptr<Numbered>> windows;
  for (int i = 0; i < 8; ++i) {
    windows.push_back(std::make_unique<Numbered>(i));
    ASSERT_TRUE(windows.back()->Create(nullptr, MakeRect(0, 0, 20, 20), nullptr, 0, 0, 0,
                                       windows.back().get()));
  }
  for (int i = 7; i >= 0; --i) {
    Numbered& window = *windows[i];
    EXPECT_EQ(window.SendMessage(WM_APP), i);
    EXPECT_EQ(window.window_seen_at_create, window.m_hWnd) << "attached before WM_CREATE";
    EXPECT_EQ(window.created_with, &window);
    EXPECT_EQ(window.GetWindowLongPtr(GWLP_USERDATA), 0) << "the layer keeps out of user data";
  }
  for (auto& window : windows) EXPECT_TRUE(window->DestroyWindow());
}

// A plain C++ object with a map of its own, for CHAIN_MSG_MAP_MEMBER.
class Helper {
 public:
  BEGIN_MSG_MAP(Helper)
    MESSAGE_HANDLER(WM_APP + 3, OnThree)
  ALT_MSG_MAP(1)
    MESSAGE_HANDLER(WM_APP + 4, OnFour)
  END_MSG_MAP()
  LRESULT OnThree(UINT, WPARAM, LPARAM, BOOL&) { return 3; }
  LRESULT OnFour(UINT, WPARAM, LPARAM, BOOL&) { return 4; }
};

template <class T>
class ChainBase : public CWindowImpl<T, CWindow, PopupTraits> {
 public:
  BEGIN_MSG_MAP(ChainBase)
    MESSAGE_HANDLER(WM_APP + 1, OnOne)
    MESSAGE_HANDLER(WM_APP + 2, OnTwo)
  END_MSG_MAP()
  LRESULT OnOne(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnTwo(UINT, WPARAM, LPARAM, BOOL&) { return 2; }
};

// Looks at WM_SETTEXT and WM_APP + 2 and declines them; answers the rest itself or through
// the chained maps.
class Mapped : public ChainBase<Mapped> {
 public:
  BEGIN_MSG_MAP(Mapped)
    MESSAGE_HANDLER(WM_SETTEXT, OnDecline)
    MESSAGE_HANDLER(WM_APP + 2, OnDecline)
    MESSAGE_RANGE_HANDLER(WM_APP + 10, WM_APP + 19, OnRange)
    COMMAND_HANDLER(7, BN_CLICKED, OnClicked)
    COMMAND_ID_HANDLER(7, OnAnyCommandOf7)
    NOTIFY_HANDLER(9, NM_CLICK, OnNotifyClick)
    CHAIN_MSG_MAP(ChainBase<Mapped>)
    CHAIN_MSG_MAP_MEMBER(helper)
    CHAIN_MSG_MAP_ALT_MEMBER(helper, 1)
  END_MSG_MAP()
  LRESULT OnDecline(UINT, WPARAM, LPARAM, BOOL& handled) {
    ++declined;
    handled = FALSE;
    return 99;
  }
  LRESULT OnRange(UINT message, WPARAM, LPARAM, BOOL&) { return message - WM_APP; }
  LRESULT OnClicked(WORD, WORD, HWND, BOOL&) { return 1; }
  LRESULT OnAnyCommandOf7(WORD code, WORD, HWND, BOOL&) { return 100 + code; }
  LRESULT OnNotifyClick(int id, LPNMHDR, BOOL&) { return 200 + id; }
  Helper helper;
  int declined = 0;
};

TEST(WindowImpl, MessageMapsAnswerFallThroughAndChain) {
  Mapped window;
  ASSERT_TRUE(window.Create(nullptr, MakeRect(0, 0, 10, 10), L"start"));
  EXPECT_TRUE(window.SetWindowText(L"changed"));
  EXPECT_EQ(window.GetWindowText(), L"changed") << "declined: DefWindowProc stored it";
  EXPECT_EQ(window.SendMessage(WM_APP + 2), 2) << "declined: the base's map answers";
  EXPECT_EQ(window.declined, 2);
  EXPECT_EQ(window.SendMessage(WM_APP + 1), 1);
  EXPECT_EQ(window.SendMessage(WM_APP + 3), 3);
  EXPECT_EQ(window.SendMessage(WM_APP + 4), 4);
  EXPECT_EQ(window.SendMessage(WM_APP + 12), 12);
  EXPECT_EQ(window.SendMessage(WM_APP + 20), 0) << "handled by nobody: DefWindowProc";

  EXPECT_EQ(window.SendMessage(WM_COMMAND, MAKEWPARAM(7, BN_CLICKED)), 1);
  EXPECT_EQ(window.SendMessage(WM_COMMAND, MAKEWPARAM(7, EN_CHANGE)), 100 + EN_CHANGE);
  NMHDR header = {window.m_hWnd, 9, static_cast<UINT>(NM_CLICK)};
  EXPECT_EQ(window.SendMessage(WM_NOTIFY, 9, reinterpret_cast<LPARAM>(&header)), 209);
  header.code = static_cast<UINT>(NM_RETURN);
  EXPECT_EQ(window.SendMessage(WM_NOTIFY, 9, reinterpret_cast<LPARAM>(&header)), 0);
  window.DestroyWindow();
}

// Counts OnFinalMessage; may refuse creation, claim WM_NCDESTROY or destroy itself.
class Finalised : public CWindowImpl<Finalised, CWindow, PopupTraits> {
 public:
  BEGIN_MSG_MAP(Finalised)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_NCDESTROY, OnNcDestroy)
    MESSAGE_HANDLER(WM_APP, OnDestroyYourself)
  END_MSG_MAP()
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&) { return refuse_creation ? -1 : 0; }
  LRESULT OnNcDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    handled = claim_nc_destroy;
    return 0;
  }
  LRESULT OnDestroyYourself(UINT, WPARAM, LPARAM, BOOL&) {
    DestroyWindow();
    final_calls_inside_handler = final_calls;
    return 0;
  }
  void OnFinalMessage(HWND window) override {
    ++final_calls;
    final_window = window;
    handle_at_final = m_hWnd;
  }

  bool refuse_creation = false, claim_nc_destroy = false;
  int final_calls = 0;
  int final_calls_inside_handler = -1;
  HWND final_window = nullptr;
  HWND handle_at_final = reinterpret_cast<HWND>(1);
};

TEST(WindowImpl, OnFinalMessageRunsOnceAfterTheWindowIsGone) {
  for (bool claim : {false, true}) {  // also when the map claims WM_NCDESTROY
    Finalised window;
    window.claim_nc_destroy = claim;
    ASSERT_TRUE(window.Create(nullptr, MakeRect(0, 0, 10, 10)));
    HWND handle = window.m_hWnd;
    ::DestroyWindow(handle);
    EXPECT_EQ(window.final_calls, 1) << claim;
    EXPECT_EQ(window.final_window, handle);
    EXPECT_EQ(window.handle_at_final, nullptr);
    EXPECT_EQ(window.m_hWnd, nullptr);
  }

  // Destroyed from a handler of its own: only after that handler has returned.
  Finalised window;
  ASSERT_TRUE(window.Create(nullptr, MakeRect(0, 0, 10, 10)));
  window.SendMessage(WM_APP);
  EXPECT_EQ(window.final_calls_inside_handler, 0);
  EXPECT_EQ(window.final_calls, 1);
}

TEST(WindowImpl, FailedCreationLeavesNothingPending) {
  Finalised refused;
  refused.refuse_creation = true;
  EXPECT_EQ(refused.Create(nullptr, MakeRect(0, 0, 10, 10)), nullptr);
  EXPECT_EQ(refused.final_calls, 1);
  EXPECT_EQ(refused.m_hWnd, nullptr);

  // A child without a parent fails before any message reaches the class procedure.
  Numbered orphan(-1);
  EXPECT_EQ(orphan.Create(nullptr, MakeRect(0, 0, 10, 10), nullptr, WS_CHILD), nullptr);
  Numbered next(5);
  ASSERT_TRUE(next.Create(nullptr, MakeRect(0, 0, 10, 10)));
  EXPECT_EQ(next.SendMessage(WM_APP), 5);
  // A window of the class created by someone else must not pick up the failed object.
  wchar_t name[64] = {};
  ::GetClassNameW(next, name, 64);
  CWindow foreign(::CreateWindowExW(0, name, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr));
  ASSERT_TRUE(foreign.m_hWnd);
  EXPECT_EQ(foreign.SendMessage(WM_APP), 0);
  EXPECT_EQ(orphan.m_hWnd, nullptr);
  foreign.DestroyWindow();
  next.DestroyWindow();
}

class Frame : public CFrameWindowImpl<Frame> {
 public:
  DECLARE_FRAME_WND_CLASS(L"OstrevanTestFrame", 1)
  BEGIN_MSG_MAP(Frame)
    CHAIN_MSG_MAP(CFrameWindowImpl<Frame>)
  END_MSG_MAP()
  void UpdateLayout(BOOL = TRUE) { ++layouts; }
  int layouts = 0;
};

TEST(FrameWindow, TitledByItsClassAndLaidOutWhenSizedButNotMinimised) {
  Frame frame;
  ASSERT_TRUE(frame.CreateEx()) << "the default rectangle";
  EXPECT_EQ(frame.GetWindowText(), L"OstrevanTestFrame");
  EXPECT_EQ(frame.GetStyle() & WS_OVERLAPPEDWINDOW, static_cast<DWORD>(WS_OVERLAPPEDWINDOW));
  const int layouts = frame.layouts;
  frame.SetWindowPos(nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(frame.layouts, layouts + 1);
  frame.SendMessage(WM_SIZE, SIZE_MINIMIZED, 0);
  EXPECT_EQ(frame.layouts, layouts + 1);
  frame.DestroyWindow();
}

// Parents reflecting control notifications back to the controls (OCM_ messages).
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

// An owner-drawn button (a superclass of the system's) that handles what its parent reflects.
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
    drawn_item = reinterpret_cast<DRAWITEMSTRUCT*>(lparam)->hwndItem;
    ++draws;
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

TEST(Reflection, TheParentSendsControlNotificationsBackToTheControl) {
  Parent parent;
  DrawnButton button;
  ASSERT_TRUE(parent.Create(nullptr, MakeRect(50, 50, 250, 150)));
  ASSERT_TRUE(button.Create(parent, MakeRect(10, 10, 110, 60), L"",
                            WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, kButtonId));
  // Sent as the button sends it: BM_CLICK would also give it the focus, and a window that
  // was activated takes Wine seconds to go.
  parent.SendMessage(WM_COMMAND, MAKEWPARAM(kButtonId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button.m_hWnd));
  parent.SendMessage(WM_COMMAND, MAKEWPARAM(40001, 0), 0);  // a menu: nothing to reflect
  EXPECT_EQ(parent.menu_commands, 1);
  EXPECT_EQ(button.commands, std::vector<WORD>{BN_CLICKED});

  parent.ShowWindow(SW_SHOWNOACTIVATE);
  parent.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  EXPECT_GE(button.draws, 1);
  EXPECT_EQ(button.drawn_item, button.m_hWnd);

  NMHDR header = {button.m_hWnd, kButtonId, static_cast<UINT>(NM_CLICK)};
  EXPECT_EQ(parent.SendMessage(WM_NOTIFY, kButtonId, reinterpret_cast<LPARAM>(&header)), 55);
  // Not handled by the button: the parent's default answer, a brush.
  HDC dc = ::GetDC(button);
  EXPECT_NE(parent.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(button.m_hWnd)),
            0);
  ::ReleaseDC(button, dc);

  // Only creation and destruction notices name a child; a click notice does not.
  EXPECT_EQ(button.parent_notifies, 1) << "the button's own creation notice";
  parent.SendMessage(WM_PARENTNOTIFY, MAKEWPARAM(WM_LBUTTONDOWN, kButtonId), MAKELPARAM(1, 1));
  EXPECT_EQ(button.parent_notifies, 1);
  parent.SendMessage(WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, kButtonId),
                     reinterpret_cast<LPARAM>(button.m_hWnd));
  EXPECT_EQ(button.parent_notifies, 2);
  parent.DestroyWindow();
}

}  // namespace
