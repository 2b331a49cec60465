#include "view/internal/ter_list_view_header.h"

#include <commctrl.h>

#include "view/internal/list_view_rules.h"
#include "view/internal/control_window.h"

using vantorel::ScaleLength;

RECT TERListViewHeader::CheckRect() const {
  Gdiplus::Bitmap* image = m_bChecked ? m_pChecked : m_pUnchecked;
  RECT client = {};
  ::GetClientRect(m_hWnd, &client);
  if (!image) return RECT{};
  const int width = static_cast<int>(static_cast<float>(image->GetWidth()) * m_fScale);
  const int height = static_cast<int>(static_cast<float>(image->GetHeight()) * m_fScale);
  const int left = ScaleLength(5, m_fScale);
  const int top = (client.bottom - height) / 2;
  return RECT{left, top, left + width, top + height};
}

void TERListViewHeader::DrawCheck(HDC dc) {
  Gdiplus::Bitmap* image = m_bChecked ? m_pChecked : m_pUnchecked;
  if (!image || !dc) return;
  const RECT box = CheckRect();
  Gdiplus::Graphics graphics(dc);
  graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
  graphics.DrawImage(image, Gdiplus::Rect(box.left, box.top, box.right - box.left,
                                          box.bottom - box.top));
}

void TERListViewHeader::RefreshCheck() {
  if (m_hWnd) InvalidateRect(nullptr, TRUE);
}

LRESULT TERListViewHeader::OnLayout(UINT message, WPARAM wparam, LPARAM lparam, BOOL&) {
  const LRESULT result = DefWindowProc(message, wparam, lparam);
  auto* layout = reinterpret_cast<HDLAYOUT*>(lparam);
  // A hidden header takes no room; leave it so.
  if (result && layout && layout->pwpos && layout->prc && layout->pwpos->cy > 0) {
    layout->pwpos->cy = m_nHeight;
    layout->prc->top = layout->pwpos->y + m_nHeight;
  }
  return result;
}

LRESULT TERListViewHeader::OnLButtonDown(UINT, WPARAM, LPARAM lparam, BOOL& handled) {
  if (!m_pChecked || !m_pUnchecked) {
    handled = FALSE;
    return 0;
  }
  HDHITTESTINFO hit = {};
  hit.pt = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  SendMessage(HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  const RECT box = CheckRect();
  const bool on_item = (hit.flags & HHT_ONHEADER) && !(hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN));
  if (!on_item || hit.pt.x < box.left || hit.pt.x > box.right) {
    handled = FALSE;
    return 0;
  }
  m_bChecked = !m_bChecked;
  RefreshCheck();
  bool accepted = false;
  if (m_fnCheck) {
    accepted = m_fnCheck(m_bChecked);
  } else {
    vantorel::LogLine("KvListView", "header clicked without a header-check callback");
  }
  if (!accepted) {
    m_bChecked = !m_bChecked;
    RefreshCheck();
  }
  return 0;
}
