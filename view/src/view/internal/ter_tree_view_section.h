// A tree that paints every item itself: the system tree keeps the items, the scrolling and the
// keyboard; the derived class paints and decides what a click does. It keeps the font it is
// given, since its own painting needs it.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "view/internal/control_window.h"

class TERTreeViewSection : public TERControlWindow<TERTreeViewSection> {
 public:
  DECLARE_WND_SUPERCLASS(nullptr, WC_TREEVIEWW)

  BEGIN_MSG_MAP(TERTreeViewSection)
  MESSAGE_HANDLER(WM_SETFONT, OnSetFont)
  MESSAGE_HANDLER(WM_GETFONT, OnGetFont)
  DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

  ~TERTreeViewSection() override = default;

  HFONT Font() const { return m_hFont ? m_hFont : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)); }

 protected:
  LRESULT OnSetFont(UINT message, WPARAM wparam, LPARAM lparam, BOOL&) {
    m_hFont = reinterpret_cast<HFONT>(wparam);
    return DefWindowProc(message, wparam, lparam);
  }
  LRESULT OnGetFont(UINT, WPARAM, LPARAM, BOOL&) { return reinterpret_cast<LRESULT>(m_hFont); }

  HFONT m_hFont = nullptr;  // the caller's
};
