// Background brushes cut for child windows from the parent's picture.
#include <gtest/gtest.h>

#include "control_test_support.h"
#include "test_support.h"
#include "view/kv_window_bg_brush_helper.h"

namespace {

// What a brush paints at (x, y) of a 40 x 40 area filled with it.
COLORREF BrushPixel(HBRUSH brush, int x, int y) {
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 40, 40);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  RECT area = {0, 0, 40, 40};
  ::FillRect(dc, &area, brush);
  const COLORREF color = ::GetPixel(dc, x, y);
  ::SelectObject(dc, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  return color;
}

class BgBrush : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = std::make_unique<TestParent>(RECT{40, 40, 440, 340});
    child_ = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 20, 30, 40, 40, *parent_,
                               nullptr, nullptr, nullptr);
    ASSERT_NE(child_, nullptr);
  }
  std::unique_ptr<TestParent> parent_;
  HWND child_ = nullptr;
};

TEST_F(BgBrush, CutsThePictureUnderTheChildAndKeepsTheLatest) {
  KvWindowBgBrushHelper helper;
  EXPECT_EQ(helper.GetHBRUSH(child_), nullptr) << "never added";

  // Left half red, right half blue; the child at (20, 30) sees red, with 200 offset blue.
  Gdiplus::Bitmap picture(400, 300, PixelFormat32bppARGB);
  {
    Gdiplus::Graphics graphics(&picture);
    Gdiplus::SolidBrush red(Gdiplus::Color(0xFFFF0000));
    Gdiplus::SolidBrush blue(Gdiplus::Color(0xFF0000FF));
    graphics.FillRectangle(&red, 0, 0, 200, 300);
    graphics.FillRectangle(&blue, 200, 0, 200, 300);
    Gdiplus::SolidBrush green(Gdiplus::Color(0xFF00FF00));
    graphics.FillRectangle(&green, 20, 30, 1, 1);  // the child's corner
  }
  helper.AddSubWindow(child_, &picture, 0, 0);
  ASSERT_NE(helper.GetHBRUSH(child_), nullptr);
  EXPECT_EQ(BrushPixel(helper.GetHBRUSH(child_), 0, 0), RGB(0, 255, 0));
  EXPECT_EQ(BrushPixel(helper.GetHBRUSH(child_), 10, 10), RGB(255, 0, 0));

  helper.AddSubWindow(child_, &picture, 200, 0);
  EXPECT_EQ(BrushPixel(helper.GetHBRUSH(child_), 10, 10), RGB(0, 0, 255))
      << "added twice: the second cut";
}

TEST_F(BgBrush, CutsFromABitmapOfTheParentsClientArea) {
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 400, 300);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  RECT all = {0, 0, 400, 300};
  ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  ::SetPixel(dc, 20, 30, RGB(1, 2, 3));
  ::SetPixel(dc, 59, 69, RGB(4, 5, 6));
  ::SelectObject(dc, old);
  ::DeleteDC(dc);

  KvWindowBgBrushHelper helper;
  helper.AddSubWindow(child_, bitmap);
  ::DeleteObject(bitmap);  // the brush keeps its own copy
  HBRUSH brush = helper.GetHBRUSH(child_);
  ASSERT_NE(brush, nullptr);
  EXPECT_EQ(BrushPixel(brush, 0, 0), RGB(1, 2, 3));
  EXPECT_EQ(BrushPixel(brush, 39, 39), RGB(4, 5, 6));
  EXPECT_EQ(BrushPixel(brush, 5, 5), RGB(255, 255, 255));

  helper.AddSubWindow(nullptr, bitmap);
  EXPECT_EQ(helper.GetHBRUSH(nullptr), nullptr) << "no child: nothing stored";
}

}  // namespace
