// The list's column header, subclassed: its own height and a check-all box drawn over the
// first column after the system has painted it (the list forwards the post-paint stage).
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gdiplus.h>

#include <functional>

#include "winlayer/window.h"

class TERListViewHeader : public CWindowImpl<TERListViewHeader, CWindow, CNullTraits> {
 public:
  using CheckCallback = std::function<bool(bool)>;

  BEGIN_MSG_MAP(TERListViewHeader)
  MESSAGE_HANDLER(HDM_LAYOUT, OnLayout)
  MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
  MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDown)
  END_MSG_MAP()

  // Heights in pixels, already scaled.
  void SetHeightParameters(int height, int second) {
    m_nHeight = height;
    m_nSecond = second;
  }
  void SetCheckImages(Gdiplus::Bitmap* checked, Gdiplus::Bitmap* unchecked) {
    m_pChecked = checked;
    m_pUnchecked = unchecked;
  }
  void SetDpiScale(float scale) { m_fScale = scale; }
  void SetCheckCallback(CheckCallback callback) { m_fnCheck = std::move(callback); }

  void SetChecked(bool checked) { m_bChecked = checked; }
  bool IsChecked() const { return m_bChecked; }
  void RefreshCheck();
  // Draws the box into the header's device context; called at the post-paint stage.
  void DrawCheck(HDC dc);

 private:
  LRESULT OnLayout(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL& handled);

  RECT CheckRect() const;

  CheckCallback m_fnCheck;
  Gdiplus::Bitmap* m_pChecked = nullptr;
  Gdiplus::Bitmap* m_pUnchecked = nullptr;
  bool m_bChecked = false;
  int m_nHeight = 25;
  int m_nSecond = -1;
  COLORREF m_crBackground = 0xF2F2F2;
  COLORREF m_crButtonFace = ::GetSysColor(COLOR_BTNFACE);
  float m_fScale = 1.0f;
};
