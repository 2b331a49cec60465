#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <string>

#include "test_support.h"
#include "view/utils.h"

namespace {

// Ink bounds of what was drawn on a white canvas.
struct Ink {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
  int CenterX() const { return (left + right) / 2; }
  int CenterY() const { return (top + bottom) / 2; }
};

Ink InkOf(Canvas& canvas, int width, int height) {
  Ink ink;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (!canvas.IsInk(x, y)) continue;
      ink.left = std::min(ink.left, x);
      ink.right = std::max(ink.right, x);
      ink.top = std::min(ink.top, y);
      ink.bottom = std::max(ink.bottom, y);
    }
  }
  return ink;
}

class TextDrawing : public ::testing::Test {
 protected:
  Canvas canvas{240, 80};
  Gdiplus::Font font{L"Arial", 16.0f, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel};
  Gdiplus::Color black{0xFF000000};
  const Gdiplus::RectF rect{0, 0, 240, 80};
};

TEST_F(TextDrawing, EachFormPlacesTheTextWhereItsNameSays) {
  Utils::DrawTextCenter(&canvas.graphics, rect, L"Hello", &font, &black);
  Ink centred = InkOf(canvas, 240, 80);
  EXPECT_NEAR(centred.CenterX(), 120, 8);
  EXPECT_NEAR(centred.CenterY(), 40, 6);

  canvas.graphics.Clear(Gdiplus::Color(canvas.fill));
  Utils::DrawTextRightAlign(&canvas.graphics, rect, L"Hello", &font, &black);
  Ink right = InkOf(canvas, 240, 80);
  EXPECT_GT(right.right, 225);
  EXPECT_LT(right.top, 20);

  canvas.graphics.Clear(Gdiplus::Color(canvas.fill));
  Utils::DrawTextInRectVerticalCenter(&canvas.graphics, rect, L"Hello", &font, &black);
  Ink left_middle = InkOf(canvas, 240, 80);
  EXPECT_LT(left_middle.left, 10);
  EXPECT_NEAR(left_middle.CenterY(), 40, 6);

  canvas.graphics.Clear(Gdiplus::Color(canvas.fill));
  Utils::DrawTextInRect(&canvas.graphics, rect, L"Hello", &font, &black);
  Ink top_left = InkOf(canvas, 240, 80);
  EXPECT_LT(top_left.left, 10);
  EXPECT_LT(top_left.top, 20);

  canvas.graphics.Clear(Gdiplus::Color(canvas.fill));
  Gdiplus::StringFormat far_bottom;
  far_bottom.SetAlignment(Gdiplus::StringAlignmentFar);
  far_bottom.SetLineAlignment(Gdiplus::StringAlignmentFar);
  Gdiplus::Color red(0xFFFF0000);
  Utils::DrawTextW(&canvas.graphics, rect, L"Hello", &font, &far_bottom, &red);
  Ink given = InkOf(canvas, 240, 80);
  EXPECT_GT(given.right, 225);
  EXPECT_GT(given.bottom, 65);
  Gdiplus::Color sample;
  bool found_red = false;
  for (int x = given.left; x <= given.right && !found_red; ++x) {
    for (int y = given.top; y <= given.bottom && !found_red; ++y) {
      canvas.bitmap.GetPixel(x, y, &sample);
      found_red = sample.GetValue() == 0xFFFF0000;
    }
  }
  EXPECT_TRUE(found_red) << "drawn in the given colour";
}

// A memory DC with a 32-bit bitmap and a known font.
class GdiText : public ::testing::Test {
 protected:
  void SetUp() override {
    dc_ = ::CreateCompatibleDC(nullptr);
    bitmap_ = ::CreateCompatibleBitmap(screen_, 200, 200);
    old_bitmap_ = ::SelectObject(dc_, bitmap_);
    font_ = Utils::GetHFONT(-16, DEFAULT_CHARSET, FALSE, L"Arial");
    old_font_ = ::SelectObject(dc_, font_);
  }
  void TearDown() override {
    ::SelectObject(dc_, old_font_);
    ::SelectObject(dc_, old_bitmap_);
    ::DeleteObject(font_);
    ::DeleteObject(bitmap_);
    ::DeleteDC(dc_);
    ::ReleaseDC(nullptr, screen_);
  }
  int Width(const wchar_t* text, int count) {
    SIZE size = {};
    ::GetTextExtentPoint32W(dc_, text, count, &size);
    return size.cx;
  }

  HDC screen_ = ::GetDC(nullptr);
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_bitmap_ = nullptr;
  HFONT font_ = nullptr;
  HGDIOBJ old_font_ = nullptr;
};

TEST_F(GdiText, ExtentWrapsAndNeverExceedsTheMaximum) {
  const wchar_t* short_text = L"Hi";
  auto small = Utils::GetTextExtent(dc_, short_text, -1, 150);
  EXPECT_EQ(small.first, Width(short_text, 2));
  EXPECT_GT(small.second, 0);

  const wchar_t* sentence = L"a sentence long enough to wrap over several lines here";
  auto wrapped = Utils::GetTextExtent(dc_, sentence, -1, 80);
  EXPECT_LE(wrapped.first, 80);
  EXPECT_GE(wrapped.second, 3 * small.second);

  const wchar_t* word = L"Unbreakablewordwiderthanthemaximum";
  auto clipped = Utils::GetTextExtent(dc_, word, -1, 40);
  EXPECT_EQ(clipped.first, 40) << "a single word wider than the maximum";
  EXPECT_GE(clipped.second, small.second);
}

TEST_F(GdiText, DrawTextInRectWraps) {
  RECT whole = {0, 0, 200, 200};
  ::FillRect(dc_, &whole, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  Utils::DrawTextInRect(dc_, L"wrap these words &please", -1, RECT{0, 0, 60, 200});
  int ink_rows = 0;
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 200; ++x) {
      if (::GetPixel(dc_, x, y) != RGB(255, 255, 255)) {
        EXPECT_LT(x, 60);
        ++ink_rows;
        break;
      }
    }
  }
  EXPECT_GT(ink_rows, 30) << "several lines";
}

TEST_F(GdiText, CharacterFittingFindsTheLongestPrefix) {
  const wchar_t* text = L"WWWWWWWWWW";
  const int four = Width(text, 4);
  const int all = Width(text, 10);
  // The member selects the font it is given and puts the DC's own font back.
  HGDIOBJ stock = ::GetStockObject(SYSTEM_FONT);
  ::SelectObject(dc_, stock);
  EXPECT_EQ(Utils::numberOfGdiCharactersThatFitWidth(dc_, 100, L"", font_), 0);
  EXPECT_EQ(Utils::numberOfGdiCharactersThatFitWidth(dc_, 100, nullptr, font_), 0);
  EXPECT_EQ(Utils::numberOfGdiCharactersThatFitWidth(dc_, all + 50, text, font_), 10);
  EXPECT_EQ(Utils::numberOfGdiCharactersThatFitWidth(dc_, all, text, font_), 10);
  EXPECT_EQ(Utils::numberOfGdiCharactersThatFitWidth(dc_, four, text, font_), 4);
  EXPECT_EQ(Utils::numberOfGdiCharactersThatFitWidth(dc_, four - 1, text, font_), 3);
  EXPECT_EQ(Utils::numberOfGdiCharactersThatFitWidth(dc_, 0, text, font_), 0);
  EXPECT_EQ(::GetCurrentObject(dc_, OBJ_FONT), stock);
}

TEST(GdiplusFitting, CharacterFittingFindsTheLongestPrefix) {
  Canvas canvas(10, 10);
  Gdiplus::Font font(L"Arial", 16.0f, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
  auto measure = [&](const wchar_t* text, int count) {
    Gdiplus::RectF bounds;
    canvas.graphics.MeasureString(text, count, &font, Gdiplus::RectF(), nullptr, &bounds);
    return bounds.Width;
  };
  const wchar_t* text = L"abcdefghij";
  EXPECT_EQ(Utils::numberOfGdiplusCharactersThatFitWidth(&canvas.graphics, 50, L"", &font), 0);
  EXPECT_EQ(Utils::numberOfGdiplusCharactersThatFitWidth(&canvas.graphics, measure(text, 10), text,
                                                         &font),
            10);
  const float room = measure(text, 5);
  const int fitted =
      Utils::numberOfGdiplusCharactersThatFitWidth(&canvas.graphics, room, text, &font);
  EXPECT_GE(fitted, 4);
  EXPECT_LE(measure(text, fitted), room);
  EXPECT_GT(measure(text, fitted + 1), room);
}

TEST(Fonts, GdiFontCarriesTheLogicalFontFields) {
  HFONT bold = Utils::GetHFONT(-17, 0x100 | GB2312_CHARSET, TRUE, L"Arial");
  ASSERT_NE(bold, nullptr);
  LOGFONTW font = {};
  ASSERT_EQ(::GetObjectW(bold, sizeof(font), &font), static_cast<int>(sizeof(font)));
  EXPECT_EQ(font.lfHeight, -17);
  EXPECT_EQ(font.lfWeight, FW_BOLD);
  EXPECT_EQ(font.lfCharSet, GB2312_CHARSET) << "low byte of the character set";
  EXPECT_STREQ(font.lfFaceName, L"Arial");
  EXPECT_EQ(font.lfWidth, 0);
  EXPECT_EQ(font.lfItalic, 0);
  EXPECT_EQ(font.lfQuality, 0);
  EXPECT_EQ(font.lfPitchAndFamily, 0);
  ::DeleteObject(bold);

  HFONT normal = Utils::GetHFONT(20, ANSI_CHARSET, FALSE, L"Arial");
  ::GetObjectW(normal, sizeof(font), &font);
  EXPECT_EQ(font.lfHeight, 20);
  EXPECT_EQ(font.lfWeight, FW_NORMAL);
  ::DeleteObject(normal);
}

TEST(Fonts, OverlongFaceNameIsCutNotOverrun) {
  const std::wstring face(60, L'F');
  HFONT gdi = Utils::GetHFONT(-12, 0, FALSE, face.c_str());
  ASSERT_NE(gdi, nullptr);
  LOGFONTW font = {};
  ::GetObjectW(gdi, sizeof(font), &font);
  EXPECT_EQ(std::wcslen(font.lfFaceName), 31u);
  ::DeleteObject(gdi);
  HDC screen = ::GetDC(nullptr);
  delete Utils::GetFont(screen, -12, 0, FALSE, face.c_str());
  delete Utils::GetFont(screen, -12, 0, FALSE, nullptr);
  ::ReleaseDC(nullptr, screen);
}

TEST(Fonts, GdiplusFontFromTheLogicalFont) {
  HDC screen = ::GetDC(nullptr);
  std::unique_ptr<Gdiplus::Font> bold(Utils::GetFont(screen, -16, DEFAULT_CHARSET, TRUE, L"Arial"));
  std::unique_ptr<Gdiplus::Font> regular(
      Utils::GetFont(screen, -16, DEFAULT_CHARSET, FALSE, L"Arial"));
  ::ReleaseDC(nullptr, screen);
  ASSERT_NE(bold, nullptr);
  ASSERT_EQ(bold->GetLastStatus(), Gdiplus::Ok);
  EXPECT_TRUE(bold->GetStyle() & Gdiplus::FontStyleBold);
  EXPECT_FALSE(regular->GetStyle() & Gdiplus::FontStyleBold);
  Canvas canvas(10, 10);
  EXPECT_NEAR(bold->GetHeight(&canvas.graphics), regular->GetHeight(&canvas.graphics), 0.5);
  LOGFONTW font = {};
  ASSERT_EQ(bold->GetLogFontW(&canvas.graphics, &font), Gdiplus::Ok);
  EXPECT_EQ(font.lfWeight, FW_BOLD);
}

}  // namespace
