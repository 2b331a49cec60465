#include "view/internal/ter_link.h"

#include <commctrl.h>

#include "winlayer/gdi.h"

HWND TERLink::CreateLink(HWND parent, const RECT& rect, const wchar_t* text, DWORD style,
                         DWORD exstyle, UINT id, void* param) {
  INITCOMMONCONTROLSEX init = {sizeof(init), ICC_LINK_CLASS};
  ::InitCommonControlsEx(&init);
  return Create(parent, rect, text, style, exstyle, id, param);
}

LRESULT TERLink::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
  CPaintDC paint(m_hWnd);
  RECT client = {};
  GetClientRect(&client);
  CDC memory;
  memory.CreateCompatibleDC(paint);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(paint, client.right, client.bottom);
  if (memory.IsNull() || bitmap.IsNull()) return 0;
  CSelectObject select(memory, bitmap);
  memory.FillSolidRect(client, RGB(0, 0, 0));
  // The system control draws its text (and, unless transparent, its background) off screen.
  DefWindowProc(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.m_hDC), PRF_CLIENT);
  paint.BitBlt(0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  return 0;
}
