// The drop shadow of a borderless window (main frame, dialogs).
//
//   shadow.Create(frame);        // after the frame exists, on its thread
//   shadow.SetShadowSize(12);
//   shadow.SetRoundOffset(2, 2);
//
// The shadow follows the window given to Create by hooking its window procedure (the window's
// GWLP_USERDATA is left alone). Destroying the shadow, or deleting this object, unhooks it, so
// the window may outlive its shadow. User-interface thread only.
#pragma once

#include <windows.h>

#include "view/vantorel_export.h"

class CThemedShadowWnd;

class VANTOREL_API KvThemedShadowWnd {
 public:
  KvThemedShadowWnd();
  ~KvThemedShadowWnd();  // destroys the shadow window if it still exists
  // Not copyable: two facades would delete the same window object.
  KvThemedShadowWnd(const KvThemedShadowWnd&) = delete;
  KvThemedShadowWnd& operator=(const KvThemedShadowWnd&) = delete;

  // The shadow window, owned by `parent`; null on failure (GetLastError tells why).
  HWND Create(HWND parent);
  void SetThemeParent(HWND parent);            // the window followed from now on
  void SetShadowSize(int size);                // 1..255 pixels right and down; otherwise 5
  void SetRightOffsetArea(int area);           // band kept clear at the edges; negative gives 1
  void SetRoundOffset(int first, int second);  // subtracted from the vertical / horizontal offset
  void AdjustWindowPos();                      // moves now; repaints only after a change of size
  // Renders the picture for the window's current size on a worker thread, so showing the
  // window costs only the copy to the screen. Call after the size settings.
  void Prepare();

  operator HWND() const;

 private:
  CThemedShadowWnd* m_pImpl;
};
