// The view: the frame's one child, holding the modules' windows. It paints nothing itself.
#pragma once

#include "winlayer/gdi.h"
#include "winlayer/window.h"

class OstrevanGUIView : public CWindowImpl<OstrevanGUIView, CWindow, CControlWinTraits> {
 public:
  DECLARE_WND_CLASS_EX(nullptr, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, COLOR_WINDOW)

  static constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

  void SetCornerSize(float corner_size) { corner_size_ = corner_size; }
  // Rounds the view's corners to its current client size.
  void UpdateRegion();

  BEGIN_MSG_MAP(OstrevanGUIView)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
  END_MSG_MAP()

 private:
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnSize(UINT, WPARAM, LPARAM lparam, BOOL&);

  float corner_size_ = 20.0f;
};
