#include "control_host.h"

#include <cstdlib>

#include "test_support.h"

ControlHost::ControlHost(int width, int height, int x, int y) {
  RECT frame = {x, y, x + width, y + height};
  Create(nullptr, frame, L"host", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW);
  // Shown without activation (see CreatePlainWindow).
  ::ShowWindow(m_hWnd, SW_SHOWNA);
}

ControlHost::~ControlHost() {
  if (m_hWnd) DestroyWindow();
  PumpPending();
}

int ControlHost::Count(WORD id, WORD code) const {
  int n = 0;
  for (const Command& c : commands) n += c.id == id && c.code == code;
  return n;
}

LRESULT ControlHost::OnCommand(UINT, WPARAM wparam, LPARAM lparam, BOOL& handled) {
  commands.push_back({LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam)});
  handled = FALSE;  // reflected on
  return 0;
}

Snapshot::Snapshot(HWND control, bool painted) {
  RECT client = {};
  ::GetClientRect(control, &client);
  width = client.right;
  height = client.bottom;
  if (width <= 0 || height <= 0) return;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = ::SelectObject(memory, bitmap);
  RECT all = {0, 0, width, height};
  ::FillRect(memory, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  if (painted) {
    ::RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC window = ::GetDC(control);
    ::BitBlt(memory, 0, 0, width, height, window, 0, 0, SRCCOPY);
    ::ReleaseDC(control, window);
  } else {
    ::SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  }
  ::GdiFlush();
  const DWORD* p = static_cast<const DWORD*>(bits);
  pixels_.assign(p, p + width * height);
  ::SelectObject(memory, previous);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
}

COLORREF Snapshot::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
  const DWORD p = pixels_[y * width + x];  // 0x00RRGGBB
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int Snapshot::CountNear(COLORREF color, int tolerance, RECT area) const {
  int n = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      const COLORREF c = At(x, y);
      if (c == CLR_INVALID) continue;
      n += std::abs(GetRValue(c) - GetRValue(color)) <= tolerance &&
           std::abs(GetGValue(c) - GetGValue(color)) <= tolerance &&
           std::abs(GetBValue(c) - GetBValue(color)) <= tolerance;
    }
  }
  return n;
}

void PostMouse(HWND control, UINT message, int x, int y) {
  const WPARAM keys = message == WM_LBUTTONDOWN ? MK_LBUTTON : 0;
  ::PostMessageW(control, message, keys, MAKELPARAM(x, y));
  PumpPending();
}

void ClickAt(HWND control, int x, int y) {
  PostMouse(control, WM_LBUTTONDOWN, x, y);
  PostMouse(control, WM_LBUTTONUP, x, y);
}

std::unique_ptr<Gdiplus::Bitmap> SolidBitmap(int width, int height, Gdiplus::ARGB color) {
  auto bitmap = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
  Gdiplus::Graphics graphics(bitmap.get());
  graphics.Clear(Gdiplus::Color(color));
  return bitmap;
}

RECT ChildRect(HWND control) {
  RECT rect = {};
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}
