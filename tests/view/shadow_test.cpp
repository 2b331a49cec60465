#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "test_support.h"
#include "view/kv_themed_shadow_wnd.h"

namespace {

constexpr LONG_PTR kUserData = 0x5EED;
constexpr LRESULT kParentAnswer = 42;

// The parent's own procedure: answers WM_APP, so we can tell it still runs.
LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_APP) return kParentAnswer;
  return ::DefWindowProcW(window, message, wparam, lparam);
}

RECT WindowRect(HWND window) {
  RECT rect = {};
  ::GetWindowRect(window, &rect);
  return rect;
}

class Shadow : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreatePlainWindow(RECT{100, 100, 400, 300}, WS_POPUP | WS_VISIBLE, &ParentProc);
    ASSERT_NE(parent_, nullptr);
    ::SetWindowLongPtrW(parent_, GWLP_USERDATA, kUserData);
    parent_proc_ = ::GetWindowLongPtrW(parent_, GWLP_WNDPROC);
  }
  void TearDown() override {
    shadow_.reset();
    if (::IsWindow(parent_)) ::DestroyWindow(parent_);
    PumpPending();
  }
  HWND MakeShadow(int size = 12) {
    shadow_ = std::make_unique<KvThemedShadowWnd>();
    HWND window = shadow_->Create(parent_);
    shadow_->SetShadowSize(size);
    return window;
  }
  void ExpectParentIntact() {
    EXPECT_EQ(::GetWindowLongPtrW(parent_, GWLP_WNDPROC), parent_proc_);
    EXPECT_EQ(::GetWindowLongPtrW(parent_, GWLP_USERDATA), kUserData);
    EXPECT_EQ(::SendMessageW(parent_, WM_APP, 0, 0), kParentAnswer);
    EXPECT_TRUE(::MoveWindow(parent_, 120, 110, 310, 210, TRUE));
    PumpPending();
  }

  HWND parent_ = nullptr;
  LONG_PTR parent_proc_ = 0;
  std::unique_ptr<KvThemedShadowWnd> shadow_;
};

TEST_F(Shadow, IsALayeredClickThroughWindowOwnedByItsParent) {
  HWND shadow = MakeShadow();
  ASSERT_NE(shadow, nullptr);
  EXPECT_EQ(static_cast<HWND>(*shadow_), shadow);
  wchar_t name[64] = {};
  ::GetClassNameW(shadow, name, 64);
  EXPECT_STREQ(name, L"WTL_ThemedShadowWindow");
  EXPECT_EQ(::GetWindow(shadow, GW_OWNER), parent_);
  const LONG_PTR style = ::GetWindowLongPtrW(shadow, GWL_STYLE);
  const LONG_PTR exstyle = ::GetWindowLongPtrW(shadow, GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_VISIBLE);
  EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CHILD));
  const LONG_PTR wanted = WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE;
  EXPECT_EQ(exstyle & wanted, wanted);
  EXPECT_FALSE(exstyle & WS_EX_TOPMOST);
  EXPECT_EQ(::GetWindowLongPtrW(parent_, GWLP_USERDATA), kUserData) << "parent's user data kept";
  EXPECT_NE(::GetWindowLongPtrW(parent_, GWLP_WNDPROC), parent_proc_) << "parent hooked";
}

TEST_F(Shadow, FollowsTheParentByShadowSizeLessTheRoundOffset) {
  HWND shadow = MakeShadow(12);
  shadow_->SetRoundOffset(2, 2);
  ASSERT_TRUE(::MoveWindow(parent_, 150, 120, 300, 200, TRUE));
  RECT rect = WindowRect(shadow);
  EXPECT_EQ(rect.left, 160);
  EXPECT_EQ(rect.top, 130);
  EXPECT_EQ(rect.right - rect.left, 300);
  EXPECT_EQ(rect.bottom - rect.top, 200);

  shadow_->SetRoundOffset(4, 1);  // first: vertical, second: horizontal
  ASSERT_TRUE(
      ::SetWindowPos(parent_, nullptr, 200, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
  rect = WindowRect(shadow);
  EXPECT_EQ(rect.left, 211);
  EXPECT_EQ(rect.top, 208);
}

TEST_F(Shadow, ShadowSizeOutsideOneTo255FallsBackToFive) {
  HWND shadow = MakeShadow();
  const struct {
    int given;
    int used;
  } cases[] = {{0, 5}, {256, 5}, {-4, 5}, {255, 255}, {1, 1}, {12, 12}};
  for (const auto& c : cases) {
    shadow_->SetShadowSize(c.given);
    shadow_->AdjustWindowPos();
    EXPECT_EQ(WindowRect(shadow).left, WindowRect(parent_).left + c.used) << c.given;
  }
}

TEST_F(Shadow, HidesAndShowsWithTheParent) {
  HWND shadow = MakeShadow();
  shadow_->AdjustWindowPos();
  EXPECT_TRUE(::IsWindowVisible(shadow));
  ::ShowWindow(parent_, SW_HIDE);
  EXPECT_FALSE(::IsWindowVisible(shadow));
  ::ShowWindow(parent_, SW_SHOWNA);
  EXPECT_TRUE(::IsWindowVisible(shadow));
}

// Activation and focus messages sent to any window of this thread whose class is the shadow's.
int g_shadow_activations = 0;
LRESULT CALLBACK WatchActivation(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lparam);
    wchar_t name[64] = {};
    ::GetClassNameW(sent->hwnd, name, 64);
    if (std::wstring(name) == L"WTL_ThemedShadowWindow" &&
        ((sent->message == WM_ACTIVATE && LOWORD(sent->wParam) != WA_INACTIVE) ||
         (sent->message == WM_NCACTIVATE && sent->wParam) || sent->message == WM_SETFOCUS)) {
      ++g_shadow_activations;
    }
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST_F(Shadow, NeverTakesActivationOrMouseInput) {
  HHOOK hook =
      ::SetWindowsHookExW(WH_CALLWNDPROC, &WatchActivation, nullptr, ::GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  g_shadow_activations = 0;
  HWND shadow = MakeShadow();
  ::MoveWindow(parent_, 130, 130, 300, 200, TRUE);
  ::SetWindowPos(parent_, nullptr, 0, 0, 320, 220, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::ShowWindow(parent_, SW_HIDE);
  ::ShowWindow(parent_, SW_SHOWNA);
  EXPECT_NE(::GetActiveWindow(), shadow);
  PumpFor(50);
  ::UnhookWindowsHookEx(hook);
  EXPECT_EQ(g_shadow_activations, 0);
  EXPECT_NE(::GetActiveWindow(), shadow);
  EXPECT_NE(::GetForegroundWindow(), shadow);
  EXPECT_EQ(::SendMessageW(shadow, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(parent_),
                           MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
            MA_NOACTIVATE);
  // Right of the parent, where only the shadow lies.
  const RECT rect = WindowRect(shadow);
  EXPECT_NE(::WindowFromPoint(POINT{rect.right - 3, (rect.top + rect.bottom) / 2}), shadow);
}

TEST_F(Shadow, ParentKeepsWorkingAfterTheShadowIsDeleted) {
  MakeShadow();
  ::MoveWindow(parent_, 110, 110, 300, 200, TRUE);
  shadow_.reset();
  ExpectParentIntact();
}

TEST_F(Shadow, ParentKeepsWorkingAfterTheShadowWindowIsDestroyed) {
  HWND shadow = MakeShadow();
  ASSERT_TRUE(::DestroyWindow(shadow));
  ExpectParentIntact();
  shadow_.reset();  // the facade outlives its window
  ExpectParentIntact();
}

TEST_F(Shadow, DestroyingTheParentTakesTheShadowWindowAlong) {
  HWND shadow = MakeShadow();
  ASSERT_TRUE(::DestroyWindow(parent_));
  EXPECT_FALSE(::IsWindow(shadow));
  shadow_.reset();
}

// A second subclasser on top of the shadow's hook, removed after the shadow is gone.
WNDPROC g_below_subclass = nullptr;
int g_subclass_calls = 0;
LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  ++g_subclass_calls;
  return ::CallWindowProcW(g_below_subclass, window, message, wparam, lparam);
}

TEST_F(Shadow, HookUnderAnotherSubclassStaysAForwarder) {
  MakeShadow();
  g_below_subclass = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(parent_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass)));
  shadow_.reset();
  g_subclass_calls = 0;
  EXPECT_EQ(::SendMessageW(parent_, WM_APP, 0, 0), kParentAnswer);
  EXPECT_EQ(g_subclass_calls, 1);
  ::MoveWindow(parent_, 140, 140, 300, 200, TRUE);  // the stub must not reach a dead shadow
  ::SetWindowLongPtrW(parent_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_below_subclass));
  EXPECT_EQ(::SendMessageW(parent_, WM_APP, 0, 0), kParentAnswer);
  ::MoveWindow(parent_, 150, 150, 300, 200, TRUE);
}

TEST_F(Shadow, TwoShadowsOnOneParentInEitherOrder) {
  for (bool first_goes_first : {true, false}) {
    auto first = std::make_unique<KvThemedShadowWnd>();
    auto second = std::make_unique<KvThemedShadowWnd>();
    ASSERT_NE(first->Create(parent_), nullptr);
    ASSERT_NE(second->Create(parent_), nullptr);
    first->SetShadowSize(3);
    second->SetShadowSize(9);
    ::MoveWindow(parent_, 100, 150, 300, 200, TRUE);
    EXPECT_EQ(WindowRect(*first).left, 103);
    EXPECT_EQ(WindowRect(*second).left, 109);
    (first_goes_first ? first : second).reset();
    ::MoveWindow(parent_, 200, 100, 300, 200, TRUE);
    KvThemedShadowWnd& left = first ? *first : *second;
    EXPECT_EQ(WindowRect(left).left, first ? 203 : 209);
    first.reset();
    second.reset();
    ExpectParentIntact();
  }
}

}  // namespace
