#include "view/internal/scaled_image_cache.h"

namespace {

constexpr size_t kMaxEntries = 16;

}  // namespace

const CScaledImageCache::Entry* CScaledImageCache::Find(Gdiplus::Image* image, int width,
                                                        int height) {
  for (const Entry& entry : m_entries) {
    if (entry.image == image && entry.width == width && entry.height == height) return &entry;
  }
  if (m_entries.size() >= kMaxEntries) m_entries.erase(m_entries.begin());
  Entry entry{image, width, height, CBitmap()};
  void* bits = nullptr;
  if (!entry.bitmap.CreateDIBSection32(width, height, &bits) || !bits) return nullptr;
  {
    // GDI+ writes premultiplied pixels straight into the section.
    Gdiplus::Bitmap target(width, height, width * 4, PixelFormat32bppPARGB,
                           static_cast<BYTE*>(bits));
    Gdiplus::Graphics graphics(&target);
    graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    graphics.DrawImage(image, Gdiplus::Rect(0, 0, width, height));
  }
  m_entries.push_back(std::move(entry));
  return &m_entries.back();
}

void CScaledImageCache::Draw(HDC dc, Gdiplus::Image* image, int x, int y, int width,
                             int height) {
  if (!image || width <= 0 || height <= 0) return;
  const Entry* entry = Find(image, width, height);
  if (!entry) return;
  if (m_dc.IsNull() && !m_dc.CreateCompatibleDC(dc)) return;
  CSelectObject select(m_dc, entry->bitmap);
  const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ::GdiAlphaBlend(dc, x, y, width, height, m_dc, 0, 0, width, height, blend);
}
