#include <algorithm>
#include <cwchar>

#include "view/internal/fit_search.h"
#include "view/utils.h"

namespace {

constexpr UINT kDrawFlags = DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL;  // 0x2810
constexpr UINT kMeasureFlags = kDrawFlags | DT_CALCRECT;                  // 0x2C10

void DrawWithFormat(Gdiplus::Graphics* graphics, const Gdiplus::RectF& rect, const wchar_t* text,
                    Gdiplus::Font* font, const Gdiplus::StringFormat* format,
                    Gdiplus::Color* color) {
  Gdiplus::SolidBrush brush(*color);
  graphics->DrawString(text, -1, font, rect, format, &brush);
}

void DrawAligned(Gdiplus::Graphics* graphics, const Gdiplus::RectF& rect, const wchar_t* text,
                 Gdiplus::Font* font, Gdiplus::Color* color, Gdiplus::StringAlignment horizontal,
                 Gdiplus::StringAlignment vertical) {
  Gdiplus::StringFormat format(0, LANG_NEUTRAL);
  format.SetAlignment(horizontal);
  format.SetLineAlignment(vertical);
  DrawWithFormat(graphics, rect, text, font, &format, color);
}

}  // namespace

void Utils::DrawTextW(Gdiplus::Graphics* graphics, Gdiplus::RectF rect, const wchar_t* text,
                      Gdiplus::Font* font, const Gdiplus::StringFormat* format,
                      Gdiplus::Color* color) {
  DrawWithFormat(graphics, rect, text, font, format, color);
}

void Utils::DrawTextCenter(Gdiplus::Graphics* graphics, Gdiplus::RectF rect, const wchar_t* text,
                           Gdiplus::Font* font, Gdiplus::Color* color) {
  DrawAligned(graphics, rect, text, font, color, Gdiplus::StringAlignmentCenter,
              Gdiplus::StringAlignmentCenter);
}

void Utils::DrawTextRightAlign(Gdiplus::Graphics* graphics, Gdiplus::RectF rect,
                               const wchar_t* text, Gdiplus::Font* font, Gdiplus::Color* color) {
  DrawAligned(graphics, rect, text, font, color, Gdiplus::StringAlignmentFar,
              Gdiplus::StringAlignmentNear);
}

void Utils::DrawTextInRectVerticalCenter(Gdiplus::Graphics* graphics, Gdiplus::RectF rect,
                                         const wchar_t* text, Gdiplus::Font* font,
                                         Gdiplus::Color* color) {
  DrawAligned(graphics, rect, text, font, color, Gdiplus::StringAlignmentNear,
              Gdiplus::StringAlignmentCenter);
}

void Utils::DrawTextInRect(Gdiplus::Graphics* graphics, Gdiplus::RectF rect, const wchar_t* text,
                           Gdiplus::Font* font, Gdiplus::Color* color) {
  // A copy per call: a shared format object would race between threads that draw.
  Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericDefault());
  DrawWithFormat(graphics, rect, text, font, &format, color);
}

void Utils::DrawTextInRect(HDC dc, const wchar_t* text, int length, RECT rect) {
  ::DrawTextW(dc, text, length, &rect, kDrawFlags);
}

std::pair<int, int> Utils::GetTextExtent(HDC dc, const wchar_t* text, int length, int max_width) {
  RECT rect = {0, 0, max_width, 0};
  const int height = ::DrawTextW(dc, text, length, &rect, kMeasureFlags);
  // A word longer than the line makes the measured rectangle wider than asked for.
  return {std::min(max_width, static_cast<int>(rect.right - rect.left)), height};
}

int Utils::numberOfGdiCharactersThatFitWidth(HDC dc, int width, const wchar_t* text, HFONT font) {
  if (!text) return 0;
  const int length = static_cast<int>(std::wcslen(text));
  HGDIOBJ previous = font ? ::SelectObject(dc, font) : nullptr;
  const int count = vantorel::LongestFittingPrefix(length, [&](int characters) {
    SIZE size = {};
    ::GetTextExtentPoint32W(dc, text, characters, &size);
    return size.cx <= width;
  });
  if (previous) ::SelectObject(dc, previous);
  return count;
}

int Utils::numberOfGdiplusCharactersThatFitWidth(Gdiplus::Graphics* graphics, float width,
                                                 const wchar_t* text, Gdiplus::Font* font) {
  if (!text) return 0;
  const int length = static_cast<int>(std::wcslen(text));
  return vantorel::LongestFittingPrefix(length, [&](int characters) {
    if (characters == 0) return width >= 0.0f;  // GDI+ refuses to measure nothing
    Gdiplus::RectF bounds;
    graphics->MeasureString(text, characters, font, Gdiplus::RectF(), nullptr, &bounds);
    return width >= bounds.Width;
  });
}
