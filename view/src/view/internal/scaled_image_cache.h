// Pictures drawn in every row (the check boxes) kept pre-scaled as premultiplied bitmaps:
// blending one is a plain GDI copy, where scaling it with GDI+ per row cost most of a row.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <vector>

#include "winlayer/gdi.h"

class CScaledImageCache {
 public:
  CScaledImageCache() = default;
  CScaledImageCache(const CScaledImageCache&) = delete;
  CScaledImageCache& operator=(const CScaledImageCache&) = delete;

  // Draws `image` scaled to width x height at (x, y) of `dc`, keeping its transparency.
  void Draw(HDC dc, Gdiplus::Image* image, int x, int y, int width, int height);
  // Forgets every picture (the images changed).
  void Clear() { m_entries.clear(); }

 private:
  struct Entry {
    Gdiplus::Image* image;
    int width;
    int height;
    CBitmap bitmap;
  };
  const Entry* Find(Gdiplus::Image* image, int width, int height);

  std::vector<Entry> m_entries;  // a handful: one per picture and size
  CDC m_dc;
};
