#include "control_test_support.h"

#include <cstdio>

#include "test_support.h"

TestParent::TestParent(const RECT& rect) {
  Create(nullptr, rect, L"controls", WS_POPUP | WS_CLIPCHILDREN, 0);
  // Shown without activation: Wine would hand an activated window to the absent window manager.
  ShowWindow(SW_SHOWNA);
}

TestParent::~TestParent() {
  if (m_hWnd) DestroyWindow();
}

LRESULT TestParent::OnGetDispInfo(int, LPNMHDR header, BOOL&) {
  auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
  if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0) {
    std::swprintf(info->item.pszText, info->item.cchTextMax, L"r%dc%d", info->item.iItem,
                  info->item.iSubItem);
  }
  return 0;
}

COLORREF ClientPixel(HWND window, int x, int y) {
  HDC dc = ::GetDC(window);
  const COLORREF color = ::GetPixel(dc, x, y);
  ::ReleaseDC(window, dc);
  return color;
}

void Repaint(HWND window) {
  ::RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpPending();
}

