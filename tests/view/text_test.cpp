#include <gtest/gtest.h>

#include "test_support.h"
#include "view/utils.h"

namespace {

TEST(CharacterFitting, GdiFindsTheLongestPrefixAndKeepsTheDcsFont) {
  HDC dc = ::CreateCompatibleDC(nullptr);
  HFONT font = Utils::GetHFONT(-16, DEFAULT_CHARSET, FALSE, L"Arial");
  const wchar_t* text = L"WWWWWWWWWW";
  HGDIOBJ stock = ::SelectObject(dc, font);
  SIZE four = {}, all = {};
  ::GetTextExtentPoint32W(dc, text, 4, &four);
  ::GetTextExtentPoint32W(dc, text, 10, &all);
  ::SelectObject(dc, stock);
  EXPECT_EQ(Utils::numberOfGdiCharactersThatFitWidth(dc, 100, L"", font), 0);
  EXPECT_EQ(Utils::numberOfGdiCharactersThatFitWidth(dc, all.cx, text, font), 10);
  EXPECT_EQ(Utils::numberOfGdiCharactersThatFitWidth(dc, four.cx, text, font), 4);
  EXPECT_EQ(Utils::numberOfGdiCharactersThatFitWidth(dc, four.cx - 1, text, font), 3);
  EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), stock);
  ::DeleteDC(dc);
  ::DeleteObject(font);
}

TEST(CharacterFitting, GdiplusFindsTheLongestPrefix) {
  Canvas canvas(10, 10);
  Gdiplus::Font font(L"Arial", 16.0f, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
  const wchar_t* text = L"abcdefghij";
  auto width = [&](int count) {
    Gdiplus::RectF bounds;
    canvas.graphics.MeasureString(text, count, &font, Gdiplus::RectF(), nullptr, &bounds);
    return bounds.Width;
  };
  EXPECT_EQ(Utils::numberOfGdiplusCharactersThatFitWidth(&canvas.graphics, 50, L"", &font), 0);
  EXPECT_EQ(Utils::numberOfGdiplusCharactersThatFitWidth(&canvas.graphics, width(10), text, &font),
            10);
  const int fitted =
      Utils::numberOfGdiplusCharactersThatFitWidth(&canvas.graphics, width(5), text, &font);
  EXPECT_LE(width(fitted), width(5));
  EXPECT_GT(width(fitted + 1), width(5));
}

}  // namespace
