#include "view/kv_window_bg_brush_helper.h"

#include <cassert>

#include "view/internal/control_window.h"
#include "view/utils.h"
#include "winlayer/gdi.h"

#pragma GCC diagnostic ignored "-Wsign-compare"  // the picture's size is unsigned

namespace {

// A screen-compatible bitmap of the child's size and a memory DC with it selected.
struct ChildPicture {
  explicit ChildPicture(const RECT& rect) {
    HDC screen = ::GetDC(nullptr);
    dc.CreateCompatibleDC(screen);
    bitmap.CreateCompatibleBitmap(screen, rect.right - rect.left, rect.bottom - rect.top);
    ::ReleaseDC(nullptr, screen);
    if (!dc.IsNull() && !bitmap.IsNull()) previous = dc.SelectObject(bitmap);
  }
  ~ChildPicture() { if (previous) dc.SelectObject(previous); }
  bool Ready() const { return previous != nullptr; }

  CDC dc;
  CBitmap bitmap;
  HGDIOBJ previous = nullptr;
};

bool ChildRect(HWND child, RECT* rect) {  // in the parent's client area
  if (!child || !::IsWindow(child)) return false;
  *rect = Utils::GetWindowRelativeRect(child);
  return rect->right > rect->left && rect->bottom > rect->top;
}

}  // namespace

KvWindowBgBrushHelper::~KvWindowBgBrushHelper() {
  for (auto& entry : m_brushes) ::DeleteObject(entry.second);
}

void KvWindowBgBrushHelper::AddSubWindow(HWND child, Gdiplus::Image* parent_background,
                                         int offsetx, int offsety) {
  RECT rect = {};
  if (!parent_background || !ChildRect(child, &rect)) {
    vantorel::LogLine("KvWindowBgBrushHelper", "no picture or no child window");
    return;
  }
  assert(offsetx+rect.right <= parent_background->GetWidth());
  assert(offsety+rect.bottom <= parent_background->GetHeight());
  ChildPicture picture(rect);
  if (!picture.Ready()) return;
  {
    Gdiplus::Graphics graphics(picture.dc);
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHighQuality);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    graphics.DrawImage(parent_background, Gdiplus::Rect(0, 0, width, height),
                       offsetx + rect.left, offsety + rect.top, width, height,
                       Gdiplus::UnitPixel);
  }
  Store(child, picture.bitmap);
}

void KvWindowBgBrushHelper::AddSubWindow(HWND child, HBITMAP background) {
  RECT rect = {};
  if (!background || !ChildRect(child, &rect)) {
    vantorel::LogLine("KvWindowBgBrushHelper", "no bitmap or no child window");
    return;
  }
  ChildPicture picture(rect);
  CDC source;
  source.CreateCompatibleDC(picture.dc);
  if (!picture.Ready() || source.IsNull()) return;
  {
    CSelectObject select(source, background);
    ::BitBlt(picture.dc, 0, 0, rect.right - rect.left, rect.bottom - rect.top, source,
             rect.left, rect.top, SRCCOPY);
  }
  Store(child, picture.bitmap);
}

void KvWindowBgBrushHelper::Store(HWND child, HBITMAP picture) {
  // The brush keeps its own copy of the pixels.
  HBRUSH brush = ::CreatePatternBrush(picture);
  if (!brush) return;
  HBRUSH& slot = m_brushes[child];
  if (slot) ::DeleteObject(slot);
  slot = brush;
}

HBRUSH KvWindowBgBrushHelper::GetHBRUSH(HWND child) const {
  const auto found = m_brushes.find(child);
  return found == m_brushes.end() ? nullptr : found->second;
}
