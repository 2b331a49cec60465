#include "common/win32/window.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

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
  for (int i = 0; i < 64; ++i) {
    windows.push_back(std::make_unique<Numbered>(i));
    ASSERT_TRUE(windows.back()->Create(nullptr, MakeRect(0, 0, 20, 20), nullptr, 0, 0, 0,
                                       windows.back().get()));
  }
  for (int i = 63; i >= 0; --i) {
    Numbered& window = *windows[i];
    EXPECT_EQ(window.SendMessage(WM_APP), i);
    EXPECT_EQ(window.window_seen_at_create, window.m_hWnd);
    EXPECT_EQ(window.created_with, &window);
    EXPECT_EQ(window.GetWindowLongPtr(GWLP_USERDATA), 0) << "the layer keeps out of user data";
    if (i > 0) {
      EXPECT_NE(window.GetWindowLongPtr(GWLP_WNDPROC),
                windows[i - 1]->GetWindowLongPtr(GWLP_WNDPROC));
    }
  }
  for (auto& window : windows) EXPECT_TRUE(window->DestroyWindow());
}

TEST(WindowImpl, WindowsOnSeveralThreadsAtOnce) {
  std::vector<std::thread> threads;
  std::vector<int> good(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, &good] {
      for (int i = 0; i < 20; ++i) {
        Numbered window(t * 100 + i);
        if (window.Create(nullptr, MakeRect(0, 0, 10, 10)) &&
            window.SendMessage(WM_APP) == t * 100 + i) {
          ++good[t];
        }
        window.DestroyWindow();
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(good, std::vector<int>(4, 20));
}

// WM_SETTEXT is looked at and passed on, WM_GETTEXTLENGTH is answered here.
class TextWatcher : public CWindowImpl<TextWatcher, CWindow, PopupTraits> {
 public:
  BEGIN_MSG_MAP(TextWatcher)
    MESSAGE_HANDLER(WM_SETTEXT, OnSetText)
    MESSAGE_HANDLER(WM_GETTEXTLENGTH, OnGetTextLength)
    MESSAGE_RANGE_HANDLER(WM_APP + 10, WM_APP + 19, OnRange)
    COMMAND_HANDLER(7, BN_CLICKED, OnClicked)
    COMMAND_ID_HANDLER(7, OnAnyCommandOf7)
    NOTIFY_HANDLER(9, NM_CLICK, OnNotifyClick)
    NOTIFY_CODE_HANDLER(NM_RETURN, OnNotifyReturn)
  END_MSG_MAP()
  LRESULT OnSetText(UINT, WPARAM, LPARAM, BOOL& handled) {
    ++set_text_seen;
    handled = FALSE;
    return 0;
  }
  LRESULT OnGetTextLength(UINT, WPARAM, LPARAM, BOOL&) { return 42; }
  LRESULT OnRange(UINT message, WPARAM, LPARAM, BOOL&) { return message - WM_APP; }
  LRESULT OnClicked(WORD, WORD, HWND, BOOL&) { return 1; }
  LRESULT OnAnyCommandOf7(WORD code, WORD, HWND, BOOL&) { return 100 + code; }
  LRESULT OnNotifyClick(int id, LPNMHDR, BOOL&) { return 200 + id; }
  LRESULT OnNotifyReturn(int id, LPNMHDR, BOOL&) { return 300 + id; }
  int set_text_seen = 0;
};

TEST(WindowImpl, MessageMapHandlersAndFallThrough) {
  TextWatcher window;
  ASSERT_TRUE(window.Create(nullptr, MakeRect(0, 0, 10, 10), L"start"));
  EXPECT_EQ(window.GetWindowText(), L"start");
  EXPECT_TRUE(window.SetWindowText(L"changed"));
  EXPECT_EQ(window.set_text_seen, 1);
  wchar_t text[32] = {};
  EXPECT_EQ(window.GetWindowText(text, 32), 7) << "handled FALSE: DefWindowProc stored it";
  EXPECT_STREQ(text, L"changed");
  EXPECT_EQ(window.GetWindowTextLength(), 42);

  EXPECT_EQ(window.SendMessage(WM_APP + 12), 12);
  EXPECT_EQ(window.SendMessage(WM_APP + 20), 0) << "outside the range: DefWindowProc";
  EXPECT_EQ(window.SendMessage(WM_COMMAND, MAKEWPARAM(7, BN_CLICKED)), 1);
  EXPECT_EQ(window.SendMessage(WM_COMMAND, MAKEWPARAM(7, EN_CHANGE)), 100 + EN_CHANGE);
  NMHDR header = {window.m_hWnd, 9, static_cast<UINT>(NM_CLICK)};
  EXPECT_EQ(window.SendMessage(WM_NOTIFY, 9, reinterpret_cast<LPARAM>(&header)), 209);
  header.idFrom = 4;
  header.code = static_cast<UINT>(NM_RETURN);
  EXPECT_EQ(window.SendMessage(WM_NOTIFY, 4, reinterpret_cast<LPARAM>(&header)), 304);
  window.DestroyWindow();
}

TEST(WindowImpl, CWindowConveniences) {
  TextWatcher parent;
  ASSERT_TRUE(parent.Create(nullptr, MakeRect(100, 100, 400, 300), nullptr, WS_POPUP));
  CWindow child;
  ASSERT_TRUE(child.Create(L"Static", parent, MakeRect(0, 0, 100, 50), L"wide text",
                           WS_CHILD | WS_VISIBLE, 0, 17));
  EXPECT_EQ(parent.GetDlgItem(17), child.m_hWnd);
  EXPECT_EQ(child.GetParent(), parent.m_hWnd);
  EXPECT_EQ(child.GetWindowText(), L"wide text");
  EXPECT_TRUE(child.CenterWindow());
  RECT placed{};
  child.GetWindowRect(&placed);
  parent.ScreenToClient(&placed);
  EXPECT_EQ(placed.left, 100);
  EXPECT_EQ(placed.top, 75);

  EXPECT_TRUE(child.ModifyStyle(0, SS_CENTER));
  EXPECT_FALSE(child.ModifyStyle(0, SS_CENTER)) << "no change";
  EXPECT_TRUE(child.GetStyle() & SS_CENTER);
  EXPECT_TRUE(child.ModifyStyleEx(0, WS_EX_TRANSPARENT, SWP_FRAMECHANGED));
  EXPECT_TRUE(child.GetExStyle() & WS_EX_TRANSPARENT);
  EXPECT_TRUE(child.DestroyWindow());
  EXPECT_EQ(child.m_hWnd, nullptr);
  parent.DestroyWindow();
}

// Counts OnFinalMessage; optionally claims WM_NCDESTROY or destroys itself from a handler.
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
    if (delete_on_final) delete this;
  }
  ~Finalised() override {
    if (destroyed_flag) *destroyed_flag = true;
  }

  bool refuse_creation = false;
  bool claim_nc_destroy = false;
  bool delete_on_final = false;
  bool* destroyed_flag = nullptr;
  int final_calls = 0;
  int final_calls_inside_handler = -1;
  HWND final_window = nullptr;
  HWND handle_at_final = reinterpret_cast<HWND>(1);
};

TEST(WindowImpl, OnFinalMessageRunsOnceAfterTheWindowIsGone) {
  Finalised window;
  ASSERT_TRUE(window.Create(nullptr, MakeRect(0, 0, 10, 10)));
  HWND handle = window.m_hWnd;
  ::DestroyWindow(handle);
  EXPECT_EQ(window.final_calls, 1);
  EXPECT_EQ(window.final_window, handle);
  EXPECT_EQ(window.handle_at_final, nullptr);
  EXPECT_EQ(window.m_hWnd, nullptr);
  EXPECT_FALSE(::IsWindow(handle));

  // The object can be used again.
  ASSERT_TRUE(window.Create(nullptr, MakeRect(0, 0, 10, 10)));
  window.DestroyWindow();
  EXPECT_EQ(window.final_calls, 2);
}

TEST(WindowImpl, OnFinalMessageRunsEvenWhenTheMapClaimsNcDestroy) {
  Finalised window;
  window.claim_nc_destroy = true;
  ASSERT_TRUE(window.Create(nullptr, MakeRect(0, 0, 10, 10)));
  window.DestroyWindow();
  EXPECT_EQ(window.final_calls, 1);
  EXPECT_EQ(window.m_hWnd, nullptr);
}

TEST(WindowImpl, DestroyingFromAHandlerFinalisesAfterThatHandler) {
  Finalised window;
  ASSERT_TRUE(window.Create(nullptr, MakeRect(0, 0, 10, 10)));
  window.SendMessage(WM_APP);
  EXPECT_EQ(window.final_calls_inside_handler, 0);
  EXPECT_EQ(window.final_calls, 1);
}

TEST(WindowImpl, AnObjectMayDeleteItselfInOnFinalMessage) {
  bool destroyed = false;
  auto* window = new Finalised;
  window->delete_on_final = true;
  window->destroyed_flag = &destroyed;
  ASSERT_TRUE(window->Create(nullptr, MakeRect(0, 0, 10, 10)));
  ::DestroyWindow(window->m_hWnd);
  EXPECT_TRUE(destroyed);
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
  HWND foreign = ::CreateWindowExW(0, name, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(foreign);
  EXPECT_EQ(::SendMessageW(foreign, WM_APP, 0, 0), 0);
  EXPECT_EQ(orphan.m_hWnd, nullptr);
  ::DestroyWindow(foreign);
  next.DestroyWindow();
}

TEST(WindowImpl, AWindowOutlivingItsObjectFallsBackToTheDefault) {
  auto window = std::make_unique<TextWatcher>();
  ASSERT_TRUE(window->Create(nullptr, MakeRect(0, 0, 10, 10)));
  HWND handle = window->m_hWnd;
  window.reset();
  EXPECT_TRUE(::SetWindowTextW(handle, L"still works"));
  EXPECT_EQ(::GetWindowTextLengthW(handle), 11);
  EXPECT_TRUE(::DestroyWindow(handle));
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

class Chained : public ChainBase<Chained> {
 public:
  BEGIN_MSG_MAP(Chained)
    MESSAGE_HANDLER(WM_APP + 2, OnTwoFirst)
    CHAIN_MSG_MAP(ChainBase<Chained>)
    CHAIN_MSG_MAP_MEMBER(helper)
    CHAIN_MSG_MAP_ALT_MEMBER(helper, 1)
  END_MSG_MAP()
  // Looks first and declines: the base's handler answers.
  LRESULT OnTwoFirst(UINT, WPARAM, LPARAM, BOOL& handled) {
    ++declined;
    handled = FALSE;
    return 99;
  }
  Helper helper;
  int declined = 0;
};

TEST(WindowImpl, ChainedMaps) {
  Chained window;
  ASSERT_TRUE(window.Create(nullptr, MakeRect(0, 0, 10, 10)));
  EXPECT_EQ(window.SendMessage(WM_APP + 1), 1);
  EXPECT_EQ(window.SendMessage(WM_APP + 2), 2);
  EXPECT_EQ(window.declined, 1);
  EXPECT_EQ(window.SendMessage(WM_APP + 3), 3);
  EXPECT_EQ(window.SendMessage(WM_APP + 4), 4);
  EXPECT_EQ(window.SendMessage(WM_APP + 5), 0);
  window.DestroyWindow();
}

class NamedClass : public CWindowImpl<NamedClass, CWindow, PopupTraits> {
 public:
  DECLARE_WND_CLASS_EX(L"OstrevanTestNamedClass", CS_DBLCLKS, COLOR_BTNFACE)
  BEGIN_MSG_MAP(NamedClass)
  END_MSG_MAP()
};

TEST(WindowImpl, ClassRegistration) {
  NamedClass named;
  Numbered unnamed(0);
  ASSERT_TRUE(named.Create(nullptr, MakeRect(0, 0, 10, 10)));
  ASSERT_TRUE(unnamed.Create(nullptr, MakeRect(0, 0, 10, 10)));
  wchar_t name[64] = {};
  ::GetClassNameW(named, name, 64);
  EXPECT_STREQ(name, L"OstrevanTestNamedClass");
  EXPECT_EQ(::GetClassLongPtrW(named, GCL_STYLE), CS_DBLCLKS);
  EXPECT_EQ(::GetClassLongPtrW(named, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
  ::GetClassNameW(unnamed, name, 64);
  EXPECT_EQ(std::wstring(name).rfind(L"Ostrevan:", 0), 0u) << std::wstring(name).c_str();
  EXPECT_NE(std::wstring(name), std::wstring(L"Ostrevan:"));
  EXPECT_EQ(::GetClassLongPtrW(unnamed, GCL_STYLE), CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS);
  named.DestroyWindow();
  unnamed.DestroyWindow();
}

// A new class that behaves as an Edit control, with a map in front of it.
class SuperEdit : public CWindowImpl<SuperEdit, CWindow, PopupTraits> {
 public:
  DECLARE_WND_SUPERCLASS(nullptr, L"Edit")
  BEGIN_MSG_MAP(SuperEdit)
    MESSAGE_HANDLER(EM_SETLIMITTEXT, OnSetLimit)
  END_MSG_MAP()
  LRESULT OnSetLimit(UINT, WPARAM, LPARAM, BOOL& handled) {
    ++limits_set;
    handled = FALSE;
    return 0;
  }
  int limits_set = 0;
};

TEST(WindowImpl, SuperclassOfASystemControl) {
  SuperEdit edit;
  ASSERT_TRUE(edit.Create(nullptr, MakeRect(0, 0, 100, 20), L"abc"));
  EXPECT_EQ(edit.GetWindowText(), L"abc");
  edit.SendMessage(EM_SETLIMITTEXT, 5);
  EXPECT_EQ(edit.limits_set, 1);
  EXPECT_EQ(edit.SendMessage(EM_GETLIMITTEXT), 5) << "the Edit procedure did the work";
  EXPECT_NE(edit.m_pfnSuperWindowProc, reinterpret_cast<WNDPROC>(::DefWindowProcW));
  edit.DestroyWindow();
}

}  // namespace
