#include "view/internal/shadow_picture.h"

#include "view/path_helper.h"

namespace vantorel {

ShadowPicture& ShadowPicture::operator=(ShadowPicture&& other) noexcept {
  if (this == &other) return *this;
  Release();
  width = other.width;
  height = other.height;
  band = other.band;
  picture = std::move(other.picture);
  bitmap = other.bitmap;
  other.bitmap = nullptr;
  return *this;
}

void ShadowPicture::Release() {
  picture.reset();
  if (bitmap) ::DeleteObject(bitmap);
  bitmap = nullptr;
}

ShadowPicture RenderShadowPicture(int width, int height, int band, int corner_radius) {
  ShadowPicture result;
  result.width = width;
  result.height = height;
  result.band = band;
  if (width <= 0 || height <= 0) return result;

  CPathHelper path;
  Gdiplus::GraphicsPath* outline =
      path.CreateRoundRect(Gdiplus::Rect(0, 0, width, height), corner_radius);
  result.picture.reset(new Gdiplus::Bitmap(width, height, PixelFormat32bppARGB));
  if (!outline || !result.picture) return result;
  {
    Gdiplus::Graphics graphics(result.picture.get());
    Gdiplus::PathGradientBrush brush(outline);
    // Transparent at the outline, black from 5% of the way in to the centre.
    const Gdiplus::Color colors[] = {Gdiplus::Color(0x00FFFFFF), Gdiplus::Color(0xFF000000),
                                     Gdiplus::Color(0xFF000000)};
    Gdiplus::REAL positions[] = {0.0f, 0.05f, 1.0f};
    brush.SetInterpolationColors(colors, positions, 3);
    // Only the bands along the right and bottom edges show from behind the parent.
    graphics.ExcludeClip(Gdiplus::Rect(0, 0, width - band, height - band));
    graphics.FillPath(&brush, outline);
  }
  if (result.picture->GetHBITMAP(Gdiplus::Color(0xFF000000), &result.bitmap) != Gdiplus::Ok)
    result.bitmap = nullptr;
  return result;
}

}  // namespace vantorel
