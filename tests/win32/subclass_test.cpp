// Subclassing existing windows, and living with other code that hooks the same window.
#include <gtest/gtest.h>

#include "common/win32/window.h"
#include "test_support.h"

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

HWND CreateControl(const wchar_t* cls, DWORD style = 0) {
  return ::CreateWindowExW(0, cls, L"", WS_POPUP | style, 0, 0, 100, 20, nullptr, nullptr,
                           ::GetModuleHandleW(nullptr), nullptr);
}

TEST(Subclass, EditAndButtonControlsKeepTheirBehaviour) {
  for (const wchar_t* cls : {L"Edit", L"Button"}) {
    HWND control = CreateControl(cls);
    ASSERT_TRUE(control);
    const LONG_PTR original = ::GetWindowLongPtrW(control, GWLP_WNDPROC);
    TextSpy spy;
    ASSERT_TRUE(spy.SubclassWindow(control));
    EXPECT_FALSE(spy.SubclassWindow(control)) << "already attached";
    EXPECT_NE(::GetWindowLongPtrW(control, GWLP_WNDPROC), original);
    EXPECT_TRUE(::SetWindowTextW(control, L"hello"));
    EXPECT_EQ(spy.texts, 1);
    EXPECT_EQ(spy.GetWindowText(), L"hello");
    EXPECT_EQ(::SendMessageW(control, WM_APP, 0, 0), 77);

    EXPECT_EQ(spy.UnsubclassWindow(), control);
    EXPECT_EQ(spy.m_hWnd, nullptr);
    EXPECT_EQ(::GetWindowLongPtrW(control, GWLP_WNDPROC), original);
    ::SetWindowTextW(control, L"again");
    EXPECT_EQ(spy.texts, 1);
    EXPECT_EQ(::SendMessageW(control, WM_APP, 0, 0), 0);
    EXPECT_EQ(spy.finals, 0);
    ::DestroyWindow(control);
  }
}

TEST(Subclass, DestroyingASubclassedControlFinalisesTheObject) {
  HWND control = CreateControl(L"Edit");
  TextSpy spy;
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
    ++current->seen;
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
  int seen = 0;
};
ForeignHook* ForeignHook::current = nullptr;

TEST(Subclass, AnotherHookOnTopIsRespectedAndMayRestoreUs) {
  HWND control = CreateControl(L"Edit");
  ::SetWindowLongPtrW(control, GWLP_USERDATA, 0x1234);
  TextSpy spy;
  ASSERT_TRUE(spy.SubclassWindow(control));
  EXPECT_EQ(::GetWindowLongPtrW(control, GWLP_USERDATA), 0x1234);

  ForeignHook hook;
  hook.Install(control);
  EXPECT_EQ(::SendMessageW(control, WM_APP, 0, 0), 77) << "forwarded to our map";
  EXPECT_EQ(::SendMessageW(control, WM_APP + 1, 0, 0), 5);
  EXPECT_EQ(hook.seen, 1);
  EXPECT_EQ(spy.UnsubclassWindow(), nullptr) << "taking ours away would drop the hook";
  EXPECT_EQ(spy.m_hWnd, control);

  hook.Remove(control);
  EXPECT_EQ(::GetWindowLongPtrW(control, GWLP_USERDATA), 0x1234);
  EXPECT_TRUE(::SetWindowTextW(control, L"back"));
  EXPECT_EQ(spy.texts, 1);
  EXPECT_EQ(hook.seen, 1);
  EXPECT_EQ(spy.UnsubclassWindow(), control);
  ::DestroyWindow(control);
}

TEST(Subclass, AWindowOfOursSurvivesAShadowTakingItOver) {
  TextSpy window;
  ASSERT_TRUE(window.Create(nullptr, MakeRect(0, 0, 50, 50), nullptr, WS_POPUP));
  const LONG_PTR ours = window.GetWindowLongPtr(GWLP_WNDPROC);
  ForeignHook shadow;
  shadow.Install(window);
  EXPECT_EQ(window.SendMessage(WM_APP), 77);
  EXPECT_EQ(window.GetWindowLongPtr(GWLP_USERDATA), 0x5eed);
  shadow.Remove(window);
  EXPECT_EQ(window.GetWindowLongPtr(GWLP_WNDPROC), ours);
  EXPECT_EQ(window.GetWindowLongPtr(GWLP_USERDATA), 0);
  EXPECT_EQ(window.SendMessage(WM_APP), 77);
  // Destroyed while the shadow is on top again: the object is still told.
  shadow.Install(window);
  window.DestroyWindow();
  EXPECT_EQ(window.finals, 1);
}

TEST(Subclass, ObjectDyingUnderAForeignHookLeavesAWorkingWindow) {
  HWND control = CreateControl(L"Edit");
  auto* spy = new TextSpy;
  ASSERT_TRUE(spy->SubclassWindow(control));
  ForeignHook hook;
  hook.Install(control);
  delete spy;  // the hook still forwards to the stub, which now goes to the Edit procedure
  EXPECT_TRUE(::SetWindowTextW(control, L"fine"));
  wchar_t text[16] = {};
  ::GetWindowTextW(control, text, 16);
  EXPECT_STREQ(text, L"fine");
  EXPECT_EQ(::SendMessageW(control, WM_APP, 0, 0), 0);
  ::DestroyWindow(control);
}

}  // namespace
