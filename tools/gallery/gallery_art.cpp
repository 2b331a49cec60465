#include "gallery.h"

#include <commctrl.h>

#include "winlayer/message_map.h"

namespace {

using Gdiplus::Color;

std::unique_ptr<Gdiplus::Bitmap> Canvas(int width, int height) {
  return std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
}

std::unique_ptr<Gdiplus::Bitmap> Disc(Color fill, Color ring) {
  auto bitmap = Canvas(20, 20);
  Gdiplus::Graphics g(bitmap.get());
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  Gdiplus::SolidBrush brush(fill);
  g.FillEllipse(&brush, 3, 3, 14, 14);
  Gdiplus::Pen pen(ring, 1.5f);
  g.DrawEllipse(&pen, 1, 1, 18, 18);
  return bitmap;
}

std::unique_ptr<Gdiplus::Bitmap> Camera(Color color) {
  auto bitmap = Canvas(20, 20);
  Gdiplus::Graphics g(bitmap.get());
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  Gdiplus::SolidBrush brush(color);
  g.FillRectangle(&brush, 2, 6, 16, 11);
  g.FillRectangle(&brush, 7, 3, 6, 4);
  Gdiplus::SolidBrush lens(Color(255, 255, 255, 255));
  g.FillEllipse(&lens, 6, 8, 8, 8);
  return bitmap;
}

std::unique_ptr<Gdiplus::Bitmap> Cross(Color color) {
  auto bitmap = Canvas(10, 10);
  Gdiplus::Graphics g(bitmap.get());
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  Gdiplus::Pen pen(color, 1.8f);
  g.DrawLine(&pen, 2, 2, 8, 8);
  g.DrawLine(&pen, 8, 2, 2, 8);
  return bitmap;
}

std::unique_ptr<Gdiplus::Bitmap> Box(bool checked) {
  auto bitmap = Canvas(16, 16);
  Gdiplus::Graphics g(bitmap.get());
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  Gdiplus::SolidBrush back(checked ? Color(255, 0, 120, 215) : Color(255, 255, 255, 255));
  g.FillRectangle(&back, 1, 1, 14, 14);
  Gdiplus::Pen frame(Color(255, 0, 90, 170), 1.0f);
  g.DrawRectangle(&frame, 1, 1, 13, 13);
  if (checked) {
    Gdiplus::Pen tick(Color(255, 255, 255, 255), 2.0f);
    g.DrawLine(&tick, 4, 8, 7, 11);
    g.DrawLine(&tick, 7, 11, 12, 4);
  }
  return bitmap;
}

// A wide rounded plate for push buttons with text over the picture.
std::unique_ptr<Gdiplus::Bitmap> Plate(Color fill) {
  auto bitmap = Canvas(90, 28);
  Gdiplus::Graphics g(bitmap.get());
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  Gdiplus::SolidBrush brush(fill);
  g.FillRectangle(&brush, 0, 0, 90, 28);
  return bitmap;
}

}  // namespace

GalleryArt::GalleryArt()
    : record(Disc(Color(255, 200, 40, 40), Color(255, 120, 120, 120))),
      record_on(Disc(Color(255, 240, 60, 60), Color(255, 0, 120, 215))),
      camera(Camera(Color(255, 90, 90, 90))),
      camera_on(Camera(Color(255, 0, 120, 215))),
      cross(Cross(Color(255, 120, 120, 120))),
      cross_on(Cross(Color(255, 200, 40, 40))),
      box(Box(false)),
      box_checked(Box(true)),
      logo(Disc(Color(255, 150, 150, 150), Color(0, 0, 0, 0))),
      logo_on(Disc(Color(255, 40, 160, 70), Color(0, 0, 0, 0))),
      wide(Plate(Color(255, 0, 120, 215))),
      wide_on(Plate(Color(255, 0, 90, 170))),
      wide_off(Plate(Color(255, 170, 170, 170))) {}

void GalleryPageContext::Caption(int x, int y, const wchar_t* text) const {
  HDC dc = ::GetDC(parent);
  HGDIOBJ previous = ::SelectObject(dc, hfont);
  SIZE size = {};
  ::GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
  ::SelectObject(dc, previous);
  ::ReleaseDC(parent, dc);
  HWND label = ::CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_LEFT, Scale(x),
                                 Scale(y), size.cx + 2, size.cy, parent, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(hfont), FALSE);
}

bool RegisterGalleryPage(const GalleryPage& page) {
  auto& pages = const_cast<std::vector<GalleryPage>&>(GalleryPages());
  auto at = pages.begin();
  while (at != pages.end() && at->order <= page.order) ++at;
  pages.insert(at, page);
  return true;
}

const std::vector<GalleryPage>& GalleryPages() {
  static std::vector<GalleryPage> pages;
  return pages;
}

void ShowHover(HWND button) { ::SendMessageW(button, WM_MOUSEHOVER, 0, 0); }

void ShowSectionHover(HWND button) {
  NMBCHOTITEM hot = {};
  hot.hdr.hwndFrom = button;
  hot.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(button));
  hot.hdr.code = BCN_HOTITEMCHANGE;
  hot.dwFlags = HICF_ENTERING;
  ::SendMessageW(button, OCM_NOTIFY, hot.hdr.idFrom, reinterpret_cast<LPARAM>(&hot));
}
