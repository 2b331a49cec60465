// The shadow's internals, compiled into this program: what the exported facade cannot show.
#include <gtest/gtest.h>

#include "test_support.h"
#include "view/internal/themed_shadow_wnd.h"

namespace {

TEST(ThemedShadow, SizeAndOffsetAreaBounds) {
  CThemedShadowWnd shadow;
  EXPECT_EQ(shadow.ShadowSize(), 5);
  EXPECT_EQ(shadow.RightOffsetArea(), 1);
  shadow.SetShadowSize(255);
  EXPECT_EQ(shadow.ShadowSize(), 255);
  shadow.SetShadowSize(256);
  EXPECT_EQ(shadow.ShadowSize(), 5);
  shadow.SetShadowSize(0);
  EXPECT_EQ(shadow.ShadowSize(), 5);
  shadow.SetRightOffsetArea(-3);
  EXPECT_EQ(shadow.RightOffsetArea(), 1);
  shadow.SetRightOffsetArea(0);
  EXPECT_EQ(shadow.RightOffsetArea(), 0);
  shadow.SetRightOffsetArea(7);
  EXPECT_EQ(shadow.RightOffsetArea(), 7);
}

// Takes activation messages without acting on them (DefWindowProc would activate the window).
LRESULT CALLBACK InertProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_ACTIVATE || message == WM_NCACTIVATE) return 0;
  return ::DefWindowProcW(window, message, wparam, lparam);
}

TEST(ThemedShadow, MovesWithoutRedrawingAndRedrawsOnResize) {
  HWND parent = CreatePlainWindow(RECT{100, 100, 400, 300}, WS_POPUP | WS_VISIBLE, &InertProc);
  CThemedShadowWnd shadow;
  ASSERT_NE(shadow.Create(parent), nullptr);
  EXPECT_EQ(shadow.RedrawCount(), 0) << "nothing to draw before the first placement";
  shadow.AdjustWindowPos();
  EXPECT_EQ(shadow.RedrawCount(), 1) << "the first placement sizes it";

  ::MoveWindow(parent, 180, 160, 300, 200, TRUE);
  ::SendMessageW(parent, WM_NCACTIVATE, TRUE, 0);
  ::SendMessageW(parent, WM_ACTIVATE, WA_ACTIVE, 0);
  ::InvalidateRect(parent, nullptr, TRUE);
  ::UpdateWindow(parent);
  shadow.AdjustWindowPos();
  PumpFor(20);
  RECT rect;
  ::GetWindowRect(shadow, &rect);
  EXPECT_EQ(rect.left, 185);
  EXPECT_EQ(shadow.RedrawCount(), 1) << "moving does not redraw";

  ::MoveWindow(parent, 180, 160, 320, 200, TRUE);
  EXPECT_EQ(shadow.RedrawCount(), 2) << "resizing does";
  ::SetWindowPos(parent, nullptr, 0, 0, 320, 240, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(shadow.RedrawCount(), 3);
  ::GetWindowRect(shadow, &rect);
  EXPECT_EQ(rect.bottom - rect.top, 240);
  ::DestroyWindow(parent);
}

TEST(ThemedShadow, HiddenParentDoesNotMoveItsShadow) {
  HWND parent = CreatePlainWindow(RECT{100, 100, 400, 300});
  CThemedShadowWnd shadow;
  ASSERT_NE(shadow.Create(parent), nullptr);
  shadow.AdjustWindowPos();
  ::ShowWindow(parent, SW_HIDE);
  ::MoveWindow(parent, 300, 300, 300, 200, TRUE);
  RECT rect;
  ::GetWindowRect(shadow, &rect);
  EXPECT_EQ(rect.left, 105);
  ::DestroyWindow(parent);
}

}  // namespace
