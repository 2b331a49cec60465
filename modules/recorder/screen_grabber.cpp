#include "screen_grabber.h"

ScreenGrabber::ScreenGrabber(bool even_size, const RECT& area) {
  if (area.right > area.left && area.bottom > area.top) {
    left_ = area.left;
    top_ = area.top;
    width_ = area.right - area.left;
    height_ = area.bottom - area.top;
  } else {
    left_ = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    top_ = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    width_ = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    height_ = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
  }
  if (even_size) {
    width_ &= ~1;
    height_ &= ~1;
  }
  if (width_ <= 0 || height_ <= 0) return;
  HDC screen = ::GetDC(nullptr);
  memory_.reset(::CreateCompatibleDC(screen));
  ::ReleaseDC(nullptr, screen);
  if (!memory_) return;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_.reset(::CreateDIBSection(memory_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_ || !bits) return;
  previous_ = ::SelectObject(memory_.get(), bitmap_.get());
  pixels_ = static_cast<uint8_t*>(bits);
}

ScreenGrabber::~ScreenGrabber() {
  if (memory_ && previous_) ::SelectObject(memory_.get(), previous_);
}

bool ScreenGrabber::Grab(bool with_cursor) {
  if (!ok()) return false;
  HDC screen = ::GetDC(nullptr);
  const BOOL copied = ::BitBlt(memory_.get(), 0, 0, width_, height_, screen, left_, top_,
                               SRCCOPY | CAPTUREBLT);
  ::ReleaseDC(nullptr, screen);
  if (!copied) return false;
  ::GdiFlush();  // the pixels are read directly after this
  if (with_cursor) DrawCursor();
  return true;
}

void ScreenGrabber::DrawCursor() {
  CURSORINFO cursor = {};
  cursor.cbSize = sizeof(cursor);
  if (!::GetCursorInfo(&cursor) || !(cursor.flags & CURSOR_SHOWING) || !cursor.hCursor) return;
  ICONINFO icon = {};
  if (!::GetIconInfo(cursor.hCursor, &icon)) return;
  // GetIconInfo hands over two bitmaps that are ours to delete.
  OwnedBitmap mask(icon.hbmMask);
  OwnedBitmap colour(icon.hbmColor);
  ::DrawIconEx(memory_.get(), cursor.ptScreenPos.x - left_ - static_cast<int>(icon.xHotspot),
               cursor.ptScreenPos.y - top_ - static_cast<int>(icon.yHotspot), cursor.hCursor, 0,
               0, 0, nullptr, DI_NORMAL);
  ::GdiFlush();
}
