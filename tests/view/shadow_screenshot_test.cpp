// The shadow as it reaches the screen, read back through the screen DC.
#include <gtest/gtest.h>

#include <vector>

#include "test_support.h"
#include "view/kv_themed_shadow_wnd.h"

namespace {

// The screen's pixels in `rect`, as 0x00RRGGBB, row by row.
std::vector<DWORD> Grab(const RECT& rect) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP dib = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, dib);
  ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  ::GdiFlush();
  std::vector<DWORD> pixels(static_cast<const DWORD*>(bits),
                            static_cast<const DWORD*>(bits) + width * height);
  ::SelectObject(memory, old);
  ::DeleteObject(dib);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  for (DWORD& pixel : pixels) pixel &= 0x00FFFFFF;
  return pixels;
}

int Brightness(DWORD pixel) {
  return static_cast<int>((pixel & 0xFF) + ((pixel >> 8) & 0xFF) + ((pixel >> 16) & 0xFF)) / 3;
}

LRESULT CALLBACK GreyProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_ERASEBKGND) {
    RECT rect;
    ::GetClientRect(window, &rect);
    HBRUSH grey = ::CreateSolidBrush(RGB(200, 200, 200));
    ::FillRect(reinterpret_cast<HDC>(wparam), &rect, grey);
    ::DeleteObject(grey);
    return 1;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

TEST(ShadowOnScreen, RightOfAndBelowTheParentIsDarkerThanTheDesktop) {
  // A white desktop to cast the shadow on, and a grey parent above it.
  HWND desktop = CreatePlainWindow(RECT{0, 0, 700, 600}, WS_POPUP | WS_VISIBLE);
  HWND parent = CreatePlainWindow(RECT{100, 100, 400, 300}, WS_POPUP, &GreyProc);
  ::ShowWindow(parent, SW_SHOWNA);
  KvThemedShadowWnd shadow;
  ASSERT_NE(shadow.Create(parent), nullptr);
  shadow.SetShadowSize(12);
  shadow.AdjustWindowPos();
  ::SetWindowPos(desktop, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::UpdateWindow(desktop);
  ::UpdateWindow(parent);
  PumpFor(400);

  const RECT area = {0, 0, 700, 600};
  const std::vector<DWORD> pixels = Grab(area);
  auto at = [&](int x, int y) { return Brightness(pixels[y * 700 + x]); };
  const int background = at(600, 500);
  EXPECT_GT(background, 230) << "the white desktop";
  EXPECT_NEAR(at(250, 200), 200, 8) << "the parent";
  // The shadow spans (112, 112) to (412, 312) and shows beyond the parent's right and bottom.
  EXPECT_LT(at(404, 200), background - 40) << "right of the parent";
  EXPECT_LT(at(250, 305), background - 40) << "below the parent";
  EXPECT_LT(at(404, 305), background - 20) << "the corner";
  EXPECT_GT(at(250, 330), 230) << "beyond the shadow";
  EXPECT_GT(at(50, 200), 230) << "left of the parent: no shadow";

  ::DestroyWindow(parent);
  ::DestroyWindow(desktop);
}

}  // namespace
