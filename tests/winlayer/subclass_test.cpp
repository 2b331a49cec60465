// Subclassing existing windows, and living with other code that hooks the same window.
#include <gtest/gtest.h>

#include "winlayer/window.h"

namespace {

// Watches WM_SETTEXT and passes it on to the control.
class TextSpy : public CWindowImpl<TextSpy> {
 public:
  BEGIN_MSG_MAP(TextSpy)
    MESSAGE_HANDLER(WM_SETTEXT, OnSetText)
    MESSAGE_HANDLER(WM_APP, OnApp)
  END_MSG_MAP()
  LRESULT OnSetText(UINT, WPARAM, LPARAM, BOOL& handled) {
    ++texts;
    handled = FALSE;
    return 0;
  }
  LRESULT OnApp(UINT, WPARAM, LPARAM, BOOL&) { return 77; }
  void OnFinalMessage(HWND) override { ++finals; }
  int texts = 0;
  int finals = 0;
};

HWND CreateEdit() {
  return ::CreateWindowExW(0, L"Edit", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                           ::GetModuleHandleW(nullptr), nullptr);
}

TEST(Subclass, AControlKeepsItsBehaviourUntilUnsubclassedOrDestroyed) {
  HWND control = CreateEdit();
  ASSERT_TRUE(control);
  ::SetWindowLongPtrW(control, GWLP_USERDATA, 0x1234);
  const LONG_PTR original = ::GetWindowLongPtrW(control, GWLP_WNDPROC);
  TextSpy spy;
  ASSERT_TRUE(spy.SubclassWindow(control));
  EXPECT_FALSE(spy.SubclassWindow(control)) << "already attached";
  EXPECT_EQ(::GetWindowLongPtrW(control, GWLP_USERDATA), 0x1234);
  EXPECT_TRUE(::SetWindowTextW(control, L"hello"));
  EXPECT_EQ(spy.texts, 1);
  EXPECT_EQ(spy.GetWindowText(), L"hello") << "the Edit procedure stored it";
  EXPECT_EQ(::SendMessageW(control, WM_APP, 0, 0), 77);

  EXPECT_EQ(spy.UnsubclassWindow(), control);
  EXPECT_EQ(spy.m_hWnd, nullptr);
  EXPECT_EQ(::GetWindowLongPtrW(control, GWLP_WNDPROC), original);
  EXPECT_EQ(::SendMessageW(control, WM_APP, 0, 0), 0);
  EXPECT_EQ(spy.finals, 0);

  ASSERT_TRUE(spy.SubclassWindow(control));
  ::DestroyWindow(control);
  EXPECT_EQ(spy.finals, 1);
  EXPECT_EQ(spy.m_hWnd, nullptr);
}

// Another party's hook, the way a shadow window takes over its target: it replaces the
// procedure and the user data, forwards everything, and later puts both back.
struct ForeignHook {
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_APP + 1) return 5;
    return ::CallWindowProcW(current->previous, window, message, wparam, lparam);
  }
  void Install(HWND window) {
    current = this;
    previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
    previous_data = ::SetWindowLongPtrW(window, GWLP_USERDATA, 0x5eed);
  }
  void Remove(HWND window) {
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    ::SetWindowLongPtrW(window, GWLP_USERDATA, previous_data);
  }
  static ForeignHook* current;
  WNDPROC previous = nullptr;
  LONG_PTR previous_data = 0;
};
ForeignHook* ForeignHook::current = nullptr;

TEST(Subclass, AnotherHookOnTopIsRespectedAndMayRestoreUs) {
  HWND control = CreateEdit();
  TextSpy spy;
  ASSERT_TRUE(spy.SubclassWindow(control));
  ForeignHook hook;
  hook.Install(control);
  EXPECT_EQ(::SendMessageW(control, WM_APP, 0, 0), 77) << "forwarded to our map";
  EXPECT_EQ(::SendMessageW(control, WM_APP + 1, 0, 0), 5);
  EXPECT_EQ(spy.UnsubclassWindow(), nullptr) << "taking ours away would drop the hook";
  EXPECT_EQ(spy.m_hWnd, control);

  hook.Remove(control);
  EXPECT_TRUE(::SetWindowTextW(control, L"back"));
  EXPECT_EQ(spy.texts, 1) << "ours is back in the chain";
  hook.Install(control);
  ::DestroyWindow(control);  // with the hook on top again: we are still told
  EXPECT_EQ(spy.finals, 1);
  EXPECT_EQ(spy.m_hWnd, nullptr);
}

// An object dying before its window unhooks itself: directly, or when another hook sits on
// top, by leaving its stub forwarding to the procedure it replaced.
TEST(Subclass, ObjectDyingBeforeItsWindowLeavesAWorkingWindow) {
  for (bool hooked : {false, true}) {
    auto* spy = new TextSpy;
    HWND control = CreateEdit();
    ASSERT_TRUE(spy->SubclassWindow(control));
    ForeignHook hook;
    if (hooked) hook.Install(control);
    delete spy;
    EXPECT_TRUE(::SetWindowTextW(control, L"fine"));
    wchar_t text[16] = {};
    ::GetWindowTextW(control, text, 16);
    EXPECT_STREQ(text, L"fine") << hooked;
    EXPECT_EQ(::SendMessageW(control, WM_APP, 0, 0), 0);
    ::DestroyWindow(control);
  }
}

}  // namespace
