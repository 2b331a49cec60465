#include "view/internal/offscreen_canvas.h"

namespace vantorel {

namespace {

int AtLeastOne(int n) { return n > 0 ? n : 1; }

void SetQuality(Gdiplus::Graphics& graphics) {
  graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintSystemDefault);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQuality);
}

}  // namespace

COffscreenCanvas::COffscreenCanvas(int width, int height)
    : width_(width),
      height_(height),
      bitmap_(AtLeastOne(width), AtLeastOne(height), PixelFormat32bppARGB),
      graphics_(&bitmap_) {
  SetQuality(graphics_);
}

void COffscreenCanvas::CopyTo(HDC dc) {
  if (width_ <= 0 || height_ <= 0 || !dc) return;
  graphics_.Flush(Gdiplus::FlushIntentionSync);
  Gdiplus::Graphics screen(dc);
  Gdiplus::CachedBitmap cached(&bitmap_, &screen);
  screen.DrawCachedBitmap(&cached, 0, 0);
}

SizeF MeasureText(HWND window, const wchar_t* text, Gdiplus::Font* font, float box_width,
                  float box_height, const Gdiplus::StringFormat* format) {
  if (!font || !text || !*text) return {};
  Gdiplus::Graphics graphics(window);
  SetQuality(graphics);
  Gdiplus::RectF bounds;
  graphics.MeasureString(text, -1, font, Gdiplus::RectF(0, 0, box_width, box_height), format,
                         &bounds);
  return {bounds.Width, bounds.Height};
}

SIZE ScaledImageSize(Gdiplus::Image* image, float scale) {
  if (!image) return {};
  return {static_cast<LONG>(static_cast<float>(image->GetWidth()) * scale),
          static_cast<LONG>(static_cast<float>(image->GetHeight()) * scale)};
}

}  // namespace vantorel
