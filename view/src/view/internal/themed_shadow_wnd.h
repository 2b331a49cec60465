// The soft drop shadow behind a borderless window: a layered, click-through, non-activating
// window owned by its parent, following the parent through a hook on the parent's procedure.
#pragma once

#include <windows.h>

#include <future>

#include "winlayer/window.h"
#include "view/internal/parent_hook.h"
#include "view/internal/shadow_picture.h"

class CThemedShadowWnd : public CWindowImpl<CThemedShadowWnd, CWindow, CNullTraits>,
                         private vantorel::ParentHookListener {
 public:
  DECLARE_WND_CLASS(L"WTL_ThemedShadowWindow")

  static constexpr int kDefaultShadowSize = 5;
  static constexpr int kDefaultRightOffsetArea = 1;
  static constexpr int kCornerRadius = 10;

  CThemedShadowWnd() = default;
  ~CThemedShadowWnd() override;

  // Creates the shadow, visible but empty, and hooks `parent`; it takes its place on the
  // parent's next move, size or activation. Null on failure (see GetLastError).
  HWND Create(HWND parent);
  // Changes the window AdjustWindowPos follows; the hook stays on the window given to Create.
  void SetThemeParent(HWND parent) { m_hThemeParent = parent; }
  void SetShadowSize(int size);       // 1..255, anything else gives 5
  void SetRightOffsetArea(int area);  // negative gives 1
  void SetRoundOffset(int first, int second);
  // Places the shadow behind the theme parent, offset by the shadow size less the round
  // offset (first: vertical, second: horizontal); repaints only after a change of size.
  void AdjustWindowPos();
  // Starts rendering the picture for the theme parent's current size on a worker thread, so
  // that showing the parent only copies it to the screen. Call after the size settings.
  void Prepare();

  int ShadowSize() const { return m_nShadowSize; }
  int RightOffsetArea() const { return m_nRightOffsetArea; }
  int RedrawCount() const { return m_nRedrawCount; }
  int PreparedPicturesUsed() const { return m_nPreparedUsed; }
  const vantorel::ShadowPicture& Picture() const { return m_picture; }

  BEGIN_MSG_MAP(CThemedShadowWnd)
  MESSAGE_HANDLER(WM_CREATE, OnCreate)
  MESSAGE_HANDLER(WM_SIZE, OnSize)
  MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
  MESSAGE_HANDLER(WM_MOUSEACTIVATE, OnMouseActivate)
  MESSAGE_HANDLER(WM_NCHITTEST, OnNcHitTest)
  END_MSG_MAP()

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnMouseActivate(UINT, WPARAM, LPARAM, BOOL&) { return MA_NOACTIVATE; }
  LRESULT OnNcHitTest(UINT, WPARAM, LPARAM, BOOL&) { return HTTRANSPARENT; }

  void OnParentMessage(HWND parent, UINT message, WPARAM wparam) override;
  void Redraw();
  int Band() const { return m_nShadowSize + m_nRightOffsetArea; }

  HWND m_hThemeParent = nullptr;
  int m_nShadowSize = kDefaultShadowSize;
  RECT m_rcClient = {};
  vantorel::ShadowPicture m_picture;
  std::future<vantorel::ShadowPicture> m_prepared;
  bool m_bNeedsRedraw = false;
  int m_nRightOffsetArea = kDefaultRightOffsetArea;
  int m_nRoundOffsetFirst = 0;
  int m_nRoundOffsetSecond = 0;
  int m_nRedrawCount = 0;
  int m_nPreparedUsed = 0;
  vantorel::ParentHook m_hook;
};
