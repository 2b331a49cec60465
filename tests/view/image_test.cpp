#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "test_support.h"
#include "view/brush_helper.h"
#include "view/font_helper.h"
#include "view/image_helper.h"
#include "view/utils.h"

namespace {

Gdiplus::ARGB FramePixel(Gdiplus::Bitmap& bitmap) {
  Gdiplus::Color color;
  bitmap.GetPixel(0, 0, &color);
  return color.GetValue();
}

TEST(AnimatedImage, StoresDelaysOfEveryFrameInMilliseconds) {
  auto gif = BitmapFromBytes(MakeAnimatedGif({10, 20, 0}));
  ASSERT_EQ(gif->GetLastStatus(), Gdiplus::Ok);
  std::vector<UINT> delays = {5};
  EXPECT_TRUE(Utils::StoreGifInternal(gif.get(), delays));
  EXPECT_EQ(delays, (std::vector<UINT>{5, 100, 200, 0})) << "appended, not replaced";
}

TEST(AnimatedImage, OneFrameIsNotAnimated) {
  auto gif = BitmapFromBytes(MakeAnimatedGif({30}));
  ASSERT_EQ(gif->GetLastStatus(), Gdiplus::Ok);
  std::vector<UINT> delays = {1, 2};
  EXPECT_FALSE(Utils::StoreGifInternal(gif.get(), delays));
  Gdiplus::Bitmap plain(4, 4, PixelFormat32bppARGB);
  EXPECT_FALSE(Utils::StoreGifInternal(&plain, delays));
  EXPECT_EQ(delays, (std::vector<UINT>{1, 2}));
}

TEST(AnimatedImage, NextFrameSelectsItAndWrapsAfterTheLast) {
  auto gif = BitmapFromBytes(MakeAnimatedGif({10, 20, 0}));
  std::vector<UINT> delays;
  ASSERT_TRUE(Utils::StoreGifInternal(gif.get(), delays));
  EXPECT_EQ(FramePixel(*gif), kGifFrameColors[0]);

  UINT index = 0;
  EXPECT_EQ(Utils::NextActiveFrameInternal(gif.get(), index, delays), 200u);
  EXPECT_EQ(index, 1u);
  EXPECT_EQ(FramePixel(*gif), kGifFrameColors[1]);
  EXPECT_EQ(Utils::NextActiveFrameInternal(gif.get(), index, delays), 0u);
  EXPECT_EQ(index, 2u);
  EXPECT_EQ(FramePixel(*gif), kGifFrameColors[2]);
  EXPECT_EQ(Utils::NextActiveFrameInternal(gif.get(), index, delays), 100u);
  EXPECT_EQ(index, 0u) << "wrapped";
  EXPECT_EQ(FramePixel(*gif), kGifFrameColors[0]);

  std::vector<UINT> none;
  index = 1;
  EXPECT_EQ(Utils::NextActiveFrameInternal(gif.get(), index, none), 0u);
  EXPECT_EQ(index, 1u);
}

std::wstring WriteTempGif() {
  wchar_t folder[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  std::wstring path = std::wstring(folder) + L"vantorel_image_helper_test.gif";
  const std::vector<uint8_t> bytes = MakeAnimatedGif({5});
  FILE* file = _wfopen(path.c_str(), L"wb");
  fwrite(bytes.data(), 1, bytes.size(), file);
  fclose(file);
  return path;
}

TEST(ImageHelper, LoadsFilesKeepsTheImageAndCopiesClone) {
  const std::wstring path = WriteTempGif();
  CImageHelper helper;
  EXPECT_EQ(helper.GetWidth(), 0.0f);
  Gdiplus::Image* image = helper.Load_Image(path.c_str(), nullptr);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(helper.GetWidth(), 1.0f);
  EXPECT_EQ(helper.GetHeight(), 1.0f);

  CImageHelper copy(helper);
  CImageHelper assigned;
  assigned = helper;
  assigned = assigned;
  // A failed load leaves the helper empty; the copies keep their own image.
  EXPECT_EQ(helper.Load_Image(L"Z:\\no\\such\\picture.png", nullptr), nullptr);
  EXPECT_EQ(helper.GetWidth(), 0.0f);
  EXPECT_EQ(copy.GetWidth(), 1.0f);
  EXPECT_EQ(assigned.GetHeight(), 1.0f);
  ::DeleteFileW(path.c_str());
}

TEST(ImageHelper, MissingResourceGivesNull) {
  CImageHelper helper;
  EXPECT_EQ(helper.Load_Image(MAKEINTRESOURCEW(4711), RT_RCDATA), nullptr);
  EXPECT_EQ(helper.Load_Image(nullptr, nullptr), nullptr);
}

TEST(FontHelper, WithoutAFontThereIsNothingToConvert) {
  CFontHelper helper;
  EXPECT_EQ(helper.LoadFont(MAKEINTRESOURCEW(4711), RT_FONT), 0);
  EXPECT_EQ(helper.SetFontStyle(Gdiplus::FontStyleBold, 12.0f), 0) << "empty collection";
  EXPECT_EQ(helper.GetFont(), nullptr);
  HWND window = CreatePlainWindow(RECT{0, 0, 50, 50}, WS_POPUP);
  EXPECT_EQ(helper.FontToHFONT_W(window), nullptr);
  EXPECT_EQ(helper.FontToHFONT_A(window), nullptr);
  ::DestroyWindow(window);
}

// Paints its left half red and its right half blue into whatever DC it is asked to.
LRESULT CALLBACK HalvesProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  HDC dc = reinterpret_cast<HDC>(wparam);
  if ((message == WM_PRINTCLIENT || message == WM_ERASEBKGND || message == WM_PAINT) && dc) {
    RECT client;
    ::GetClientRect(window, &client);
    RECT left = client, right = client;
    left.right = right.left = client.right / 2;
    HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));
    HBRUSH blue = ::CreateSolidBrush(RGB(0, 0, 255));
    ::FillRect(dc, &left, red);
    ::FillRect(dc, &right, blue);
    ::DeleteObject(red);
    ::DeleteObject(blue);
    return message == WM_ERASEBKGND ? 1 : 0;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

Gdiplus::ARGB BrushColor(Gdiplus::Brush* brush) {
  Canvas canvas(8, 8);
  canvas.graphics.FillRectangle(brush, 0, 0, 8, 8);
  return canvas.At(4, 4);
}

TEST(BrushHelper, CutsTheParentsPaintingUnderTheChild) {
  HWND parent = CreatePlainWindow(RECT{100, 100, 300, 200}, WS_POPUP, &HalvesProc);
  HWND left = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 20, 20, 30, 30, parent, nullptr,
                                nullptr, nullptr);
  HWND right = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 150, 20, 30, 30, parent, nullptr,
                                 nullptr, nullptr);
  CBrushHelper helper;
  for (auto type : {CBrushHelper::GET_BRUSH_TYPE_PRINT_CLIENT, CBrushHelper::GET_BRUSH_TYPE_PAINT,
                    CBrushHelper::GET_BRUSH_TYPE_ERASE_BKGND}) {
    Gdiplus::TextureBrush* brush = helper.GetBackGroundBrush(right, parent, type);
    ASSERT_NE(brush, nullptr) << type;
    EXPECT_EQ(BrushColor(brush), 0xFF0000FFu) << type;
    brush = helper.GetBackGroundBrush(left, parent, type);
    ASSERT_NE(brush, nullptr) << type;
    EXPECT_EQ(BrushColor(brush), 0xFFFF0000u) << type;
  }
  EXPECT_EQ(helper.GetBackGroundBrush(nullptr, parent, CBrushHelper::GET_BRUSH_TYPE_PAINT),
            nullptr);
  EXPECT_EQ(helper.GetBackGroundBrush(left, nullptr, CBrushHelper::GET_BRUSH_TYPE_PAINT), nullptr);
  helper.DeleteOldBrush();
  ::DestroyWindow(parent);
}

}  // namespace
