// Windows and pictures shared by the control tests: a parent that answers the list's texts and
// reflects notifications as a module's window would, solid test images, screen pixels and
// posted clicks.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gdiplus.h>

#include <memory>
#include <vector>

#include "control_host.h"
#include "winlayer/window.h"

// A popup shown without activation; texts "r<row>c<column>"; records what it was told.
class TestParent : public CWindowImpl<TestParent, CWindow, CNullTraits> {
 public:
  DECLARE_WND_CLASS(L"VantorelControlTestParent")

  BEGIN_MSG_MAP(TestParent)
  NOTIFY_CODE_HANDLER(LVN_GETDISPINFOW, OnGetDispInfo)
  NOTIFY_CODE_HANDLER(LVN_COLUMNCLICK, OnColumnClick)
  REFLECT_NOTIFICATIONS()
  END_MSG_MAP()

  explicit TestParent(const RECT& rect);
  ~TestParent() override;

  int column_clicks = 0;

 private:
  LRESULT OnGetDispInfo(int, LPNMHDR header, BOOL&);
  LRESULT OnColumnClick(int, LPNMHDR, BOOL&) {
    ++column_clicks;
    return 0;
  }
};

// What the screen shows at a point of `window`'s client area.
COLORREF ClientPixel(HWND window, int x, int y);
// Repaints now and lets whatever that posted run.
void Repaint(HWND window);
