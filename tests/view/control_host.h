// A parent for control tests: reflects notifications back to its controls (as the host's
// dialogs do), records the WM_COMMAND it receives, and reads what a control painted.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <memory>
#include <vector>

#include "winlayer/window.h"

struct Command {
  WORD id;
  WORD code;
  HWND control;
};

class ControlHost : public CWindowImpl<ControlHost, CWindow, CNullTraits> {
 public:
  DECLARE_WND_CLASS_EX(L"VantorelTestControlHost", 0, COLOR_WINDOW)

  // A visible, unactivated pop-up with a client area of `width` x `height` at (x, y).
  explicit ControlHost(int width = 400, int height = 300, int x = 50, int y = 50);
  ~ControlHost() override;

  std::vector<Command> commands;
  int Count(WORD id, WORD code) const;

  BEGIN_MSG_MAP(ControlHost)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    REFLECT_NOTIFICATIONS()
  END_MSG_MAP()

 private:
  LRESULT OnCommand(UINT, WPARAM wparam, LPARAM lparam, BOOL& handled);
};

// The control's client area as it paints it now (WM_PRINTCLIENT into a bitmap).
class Snapshot {
 public:
  // `painted`: what the window itself painted on screen after a full repaint, instead of
  // what it draws for WM_PRINTCLIENT.
  explicit Snapshot(HWND control, bool painted = false);
  COLORREF At(int x, int y) const;
  int width = 0;
  int height = 0;
  // How many pixels of the area have this colour (within a tolerance per channel).
  int CountNear(COLORREF color, int tolerance, RECT area) const;

 private:
  std::vector<DWORD> pixels_;
};

// Posted mouse messages at client coordinates of `control`, then the queue pumped.
void PostMouse(HWND control, UINT message, int x, int y);
void ClickAt(HWND control, int x, int y);

std::unique_ptr<Gdiplus::Bitmap> SolidBitmap(int width, int height, Gdiplus::ARGB color);
RECT ChildRect(HWND control);  // in the parent's client coordinates
