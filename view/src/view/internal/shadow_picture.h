// The shadow's picture: a rounded rectangle filled by a path gradient, transparent at the
// outline, of which only the bands along the right and bottom edges are kept. It depends on
// nothing but its size, so it can be rendered on any thread (GDI+ must be running).
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <memory>

namespace vantorel {

struct ShadowPicture {
  ShadowPicture() = default;
  ~ShadowPicture() { Release(); }
  ShadowPicture(const ShadowPicture&) = delete;
  ShadowPicture& operator=(const ShadowPicture&) = delete;
  ShadowPicture(ShadowPicture&& other) noexcept { *this = std::move(other); }
  ShadowPicture& operator=(ShadowPicture&& other) noexcept;

  bool Fits(int w, int h, int b) const { return bitmap && w == width && h == height && b == band; }
  void Release();

  int width = 0;
  int height = 0;
  int band = 0;  // shadow size + right offset area
  std::unique_ptr<Gdiplus::Bitmap> picture;
  HBITMAP bitmap = nullptr;  // premultiplied copy for UpdateLayeredWindow
};

// Empty (no bitmap) when the size is empty or GDI+ fails.
ShadowPicture RenderShadowPicture(int width, int height, int band, int corner_radius);

}  // namespace vantorel
