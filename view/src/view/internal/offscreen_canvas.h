// Double buffering shared by the controls: everything is drawn with GDI+ into a transparent
// 32-bit ARGB bitmap of the client size, which then reaches the screen in one copy.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include "view/internal/button_layout.h"

namespace vantorel {

class COffscreenCanvas {
 public:
  COffscreenCanvas(int width, int height);
  COffscreenCanvas(const COffscreenCanvas&) = delete;
  COffscreenCanvas& operator=(const COffscreenCanvas&) = delete;

  Gdiplus::Graphics& graphics() { return graphics_; }
  // Through a cached bitmap at (0, 0) of `dc`; nothing for an empty client.
  void CopyTo(HDC dc);

 private:
  int width_;
  int height_;
  Gdiplus::Bitmap bitmap_;
  Gdiplus::Graphics graphics_;
};

// A COLORREF (0x00BBGGRR) as an opaque GDI+ colour.
inline Gdiplus::Color Opaque(DWORD color) {
  return Gdiplus::Color(255, GetRValue(color), GetGValue(color), GetBValue(color));
}

// The GDI+ size of the whole text with `font` on a graphics of `window`, in a layout box
// (0: unbounded). Zero without a font or text.
SizeF MeasureText(HWND window, const wchar_t* text, Gdiplus::Font* font, float box_width = 0,
                  float box_height = 0, const Gdiplus::StringFormat* format = nullptr);

// Where measured text is drawn: the layouts truncate to whole pixels, and GDI+ wraps a text
// whose box is a fraction narrower than its measured width, so the box gets one pixel more.
inline Gdiplus::RectF TextBox(float x, float y, float width, float height) {
  return Gdiplus::RectF(x, y, width + 1.0f, height);
}

// Scaled image size, truncated; zero without an image.
SIZE ScaledImageSize(Gdiplus::Image* image, float scale);

}  // namespace vantorel
