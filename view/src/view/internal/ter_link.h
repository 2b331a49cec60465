// The window behind KvLink: a "SysLink" painted through an off-screen bitmap (cleared to
// black, then drawn by the system control itself) and copied to the screen in one go.
//
// Notifications to the parent: the system link's own (WM_NOTIFY NM_CLICK / NM_RETURN).
#pragma once

#include "view/internal/control_window.h"

class TERLink : public TERControlWindow<TERLink> {
 public:
  DECLARE_WND_SUPERCLASS(nullptr, L"SysLink")

  TERLink() = default;
  ~TERLink() override = default;

  HWND CreateLink(HWND parent, const RECT& rect, const wchar_t* text, DWORD style,
                  DWORD exstyle, UINT id, void* param);

  BEGIN_MSG_MAP(TERLink)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
  END_MSG_MAP()

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
};
