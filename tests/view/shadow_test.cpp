// The shadow window through its exported facade, and the internal class built into this
// program for what the facade hides (size bounds, redraw count).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "test_support.h"
#include "view/internal/themed_shadow_wnd.h"
#include "view/kv_themed_shadow_wnd.h"

namespace {

constexpr LONG_PTR kUserData = 0x5EED;
constexpr LRESULT kParentAnswer = 42;

// The parent's own procedure: answers WM_APP, so we can tell it still runs, and takes
// activation messages without acting on them (DefWindowProc would activate the window).
LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_APP) return kParentAnswer;
  if (message == WM_ACTIVATE || message == WM_NCACTIVATE) return 0;
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

TEST_F(Shadow, FollowsTheParentByShadowSizeLessTheRoundOffset) {
  HWND shadow = MakeShadow(12);
  shadow_->SetRoundOffset(2, 2);
  ASSERT_TRUE(::MoveWindow(parent_, 150, 120, 300, 200, TRUE));
  const RECT rect = WindowRect(shadow);
  EXPECT_EQ(rect.left, 160);
  EXPECT_EQ(rect.top, 130);
  EXPECT_EQ(rect.right - rect.left, 300);
  EXPECT_EQ(rect.bottom - rect.top, 200);

  shadow_->SetRoundOffset(4, 1);  // first: vertical, second: horizontal
  ::SetWindowPos(parent_, nullptr, 200, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(WindowRect(shadow).left, 211);
  EXPECT_EQ(WindowRect(shadow).top, 208);
}

TEST(ThemedShadow, SizeAndOffsetAreaBounds) {
  CThemedShadowWnd shadow;
  EXPECT_EQ(shadow.ShadowSize(), 5);
  EXPECT_EQ(shadow.RightOffsetArea(), 1);
  for (auto [given, used] : {std::pair{0, 5}, {256, 5}, {-4, 5}, {255, 255}, {1, 1}}) {
    shadow.SetShadowSize(given);
    EXPECT_EQ(shadow.ShadowSize(), used) << given;
  }
  for (auto [given, used] : {std::pair{-3, 1}, {0, 0}, {7, 7}}) {
    shadow.SetRightOffsetArea(given);
    EXPECT_EQ(shadow.RightOffsetArea(), used) << given;
  }
}

TEST_F(Shadow, MovesWithoutRedrawingAndRedrawsOnResize) {
  CThemedShadowWnd shadow;
  ASSERT_NE(shadow.Create(parent_), nullptr);
  EXPECT_EQ(shadow.RedrawCount(), 0) << "nothing to draw before the first placement";
  shadow.AdjustWindowPos();
  EXPECT_EQ(shadow.RedrawCount(), 1) << "the first placement sizes it";

  ::MoveWindow(parent_, 180, 160, 300, 200, TRUE);
  ::SendMessageW(parent_, WM_NCACTIVATE, TRUE, 0);
  ::SendMessageW(parent_, WM_ACTIVATE, WA_ACTIVE, 0);
  ::InvalidateRect(parent_, nullptr, TRUE);
  ::UpdateWindow(parent_);
  shadow.AdjustWindowPos();
  PumpFor(20);
  EXPECT_EQ(WindowRect(shadow).left, 185);
  EXPECT_EQ(shadow.RedrawCount(), 1) << "moving does not redraw";

  ::MoveWindow(parent_, 180, 160, 320, 200, TRUE);
  EXPECT_EQ(shadow.RedrawCount(), 2) << "resizing does";
  ::SetWindowPos(parent_, nullptr, 0, 0, 320, 240, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(shadow.RedrawCount(), 3);
  EXPECT_EQ(WindowRect(shadow).bottom - WindowRect(shadow).top, 240);
}

// The picture is rendered on a worker while the parent is built, and used when the parent
// shows at the size it was prepared for; any later change of size or band renders anew.
TEST_F(Shadow, PreparedPictureIsUsedOnlyWhileItFits) {
  CThemedShadowWnd shadow;
  ASSERT_NE(shadow.Create(parent_), nullptr);
  shadow.SetShadowSize(12);
  shadow.Prepare();
  shadow.AdjustWindowPos();
  EXPECT_EQ(shadow.PreparedPicturesUsed(), 1);
  EXPECT_TRUE(shadow.Picture().Fits(300, 200, 13));

  ::MoveWindow(parent_, 100, 100, 320, 200, TRUE);
  EXPECT_EQ(shadow.RedrawCount(), 2);
  EXPECT_EQ(shadow.PreparedPicturesUsed(), 1) << "a new size is rendered, not taken";
  EXPECT_TRUE(shadow.Picture().Fits(320, 200, 13));

  CThemedShadowWnd changed;
  ASSERT_NE(changed.Create(parent_), nullptr);
  changed.Prepare();  // with the default size, then the settings change
  changed.SetShadowSize(20);
  changed.AdjustWindowPos();
  EXPECT_EQ(changed.PreparedPicturesUsed(), 0);
  EXPECT_TRUE(changed.Picture().Fits(320, 200, 21));
}

// Drawn only in the bands along the right and bottom edges.
TEST(ShadowPicture, OnlyTheRightAndBottomBandsAreDrawn) {
  const vantorel::ShadowPicture picture = vantorel::RenderShadowPicture(300, 200, 13, 10);
  ASSERT_NE(picture.picture, nullptr);
  ASSERT_NE(picture.bitmap, nullptr);
  auto alpha = [&](int x, int y) {
    Gdiplus::Color color;
    picture.picture->GetPixel(x, y, &color);
    return color.GetA();
  };
  EXPECT_EQ(alpha(150, 100), 0) << "the middle lies behind the parent";
  EXPECT_EQ(alpha(10, 10), 0);
  EXPECT_GT(alpha(293, 100), 200) << "right band";
  EXPECT_GT(alpha(150, 193), 200) << "bottom band";
  EXPECT_EQ(vantorel::RenderShadowPicture(0, 200, 13, 10).bitmap, nullptr);
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
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lparam);
  wchar_t name[64] = {};
  if (code == HC_ACTION && ::GetClassNameW(sent->hwnd, name, 64) &&
      std::wstring(name) == L"WTL_ThemedShadowWindow" &&
      ((sent->message == WM_ACTIVATE && LOWORD(sent->wParam) != WA_INACTIVE) ||
       (sent->message == WM_NCACTIVATE && sent->wParam) || sent->message == WM_SETFOCUS)) {
    ++g_shadow_activations;
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST_F(Shadow, NeverTakesActivationOrMouseInput) {
  HHOOK hook =
      ::SetWindowsHookExW(WH_CALLWNDPROC, &WatchActivation, nullptr, ::GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  g_shadow_activations = 0;
  HWND shadow = MakeShadow();
  const LONG_PTR wanted = WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE;
  EXPECT_EQ(::GetWindowLongPtrW(shadow, GWL_EXSTYLE) & wanted, wanted);
  ::MoveWindow(parent_, 130, 130, 300, 200, TRUE);
  ::SetWindowPos(parent_, nullptr, 0, 0, 320, 220, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::ShowWindow(parent_, SW_HIDE);
  ::ShowWindow(parent_, SW_SHOWNA);
  PumpFor(50);
  ::UnhookWindowsHookEx(hook);
  EXPECT_EQ(g_shadow_activations, 0);
  EXPECT_NE(::GetActiveWindow(), shadow);
  EXPECT_EQ(::SendMessageW(shadow, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(parent_),
                           MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
            MA_NOACTIVATE);
  // Right of the parent, where only the shadow lies, clicks pass through.
  const RECT rect = WindowRect(shadow);
  EXPECT_NE(::WindowFromPoint(POINT{rect.right - 3, (rect.top + rect.bottom) / 2}), shadow);
}

// A subclasser put on top of the shadow's hook.
WNDPROC g_below_subclass = nullptr;
LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return ::CallWindowProcW(g_below_subclass, window, message, wparam, lparam);
}

TEST_F(Shadow, ParentKeepsWorkingAfterTheShadowIsGone) {
  MakeShadow();
  ::MoveWindow(parent_, 110, 110, 300, 200, TRUE);
  shadow_.reset();
  ExpectParentIntact();

  ASSERT_TRUE(::DestroyWindow(MakeShadow()));
  ExpectParentIntact();
  shadow_.reset();  // the facade outlives its window
  ExpectParentIntact();

  // Under another subclass the hook stays behind as a forwarder to the parent's procedure.
  MakeShadow();
  g_below_subclass = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(parent_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass)));
  shadow_.reset();
  EXPECT_EQ(::SendMessageW(parent_, WM_APP, 0, 0), kParentAnswer);
  ::MoveWindow(parent_, 140, 140, 300, 200, TRUE);  // must not reach the deleted shadow
  ::SetWindowLongPtrW(parent_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_below_subclass));
  EXPECT_EQ(::SendMessageW(parent_, WM_APP, 0, 0), kParentAnswer);
}

TEST_F(Shadow, TwoShadowsOnOneParentGoInEitherOrder) {
  for (bool first_goes_first : {true, false}) {
    auto first = std::make_unique<KvThemedShadowWnd>();
    auto second = std::make_unique<KvThemedShadowWnd>();
    ASSERT_NE(first->Create(parent_), nullptr);
    ASSERT_NE(second->Create(parent_), nullptr);
    first->SetShadowSize(3);
    second->SetShadowSize(9);
    (first_goes_first ? first : second).reset();
    ::MoveWindow(parent_, 200, 100, 300, 200, TRUE);
    EXPECT_EQ(WindowRect(first ? *first : *second).left, first ? 203 : 209);
    first.reset();
    second.reset();
    ExpectParentIntact();
  }
}

TEST_F(Shadow, IsDrawnRightOfAndBelowTheParent) {
  // A white "desktop" under the parent to cast the shadow on.
  HWND desktop = CreatePlainWindow(RECT{0, 0, 700, 600}, WS_POPUP | WS_VISIBLE);
  ::SetWindowPos(desktop, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  MakeShadow(12);
  shadow_->AdjustWindowPos();
  ::UpdateWindow(desktop);
  ::UpdateWindow(parent_);
  PumpFor(400);

  // The screen's brightness, read from a copy of it.
  HDC screen = ::GetDC(nullptr);
  HDC copy = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 700, 600);
  HGDIOBJ old = ::SelectObject(copy, bitmap);
  ::BitBlt(copy, 0, 0, 700, 600, screen, 0, 0, SRCCOPY);
  auto at = [&](int x, int y) {
    const COLORREF c = ::GetPixel(copy, x, y);
    return (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
  };
  const int background = at(600, 500);
  EXPECT_GT(background, 230) << "the white desktop";
  // The shadow spans (112, 112) to (412, 312) and shows beyond the parent's right and bottom.
  EXPECT_LT(at(404, 200), background - 40) << "right of the parent";
  EXPECT_LT(at(250, 305), background - 40) << "below the parent";
  EXPECT_GT(at(250, 330), 230) << "beyond the shadow";
  EXPECT_GT(at(50, 200), 230) << "left of the parent: no shadow";
  ::SelectObject(copy, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(copy);
  ::ReleaseDC(nullptr, screen);
  ::DestroyWindow(desktop);
}

}  // namespace
