// What the three owner-drawn buttons share: the "BUTTON" superclass created owner-drawn,
// placement with edge anchoring, mouse tracking, the reaction to a mouse event, and painting
// through the off-screen canvas when the parent reflects WM_DRAWITEM back.
//
// T provides: void Draw(Gdiplus::Graphics&, int width, int height) and
// bool React(vantorel::MouseEvent) (true: the system button sees the message too); it may
// hide BeforePress(LPARAM) and OnPointerMove(UINT, WPARAM, LPARAM).
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include "view/internal/button_layout.h"
#include "view/internal/button_state.h"
#include "view/internal/control_window.h"
#include "view/internal/offscreen_canvas.h"

template <class T>
class TEROwnerDrawButton : public TERControlWindow<T> {
 public:
  DECLARE_WND_SUPERCLASS(nullptr, L"BUTTON")

  static constexpr DWORD kHoverTimeMs = 10;

  TEROwnerDrawButton() = default;
  ~TEROwnerDrawButton() override = default;

  int State() const { return m_nState; }
  float Scale() const { return m_fScale; }
  void SetDpiScale(float scale) { m_fScale = scale; }
  void SetFont(Gdiplus::Font* font) { m_pFont = font; }

  // EnableWindow on a facade: the state follows the window's enabled flag.
  BOOL EnableButton(BOOL enable) {
    m_nState = enable ? vantorel::kStateNormal : vantorel::kStateDisabled;
    return ::EnableWindow(this->m_hWnd, enable);
  }

  // Visible here for the map below: the base is a dependent type.
  static BOOL DefaultReflectionHandler(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                       LRESULT& result) {
    return win32_detail::DefaultReflection(window, message, wparam, lparam, result);
  }

  BEGIN_MSG_MAP(TEROwnerDrawButton)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_MOUSEHOVER, OnMouseHover)
    MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
    MESSAGE_HANDLER(BM_CLICK, OnClick)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(OCM_DRAWITEM, OnDrawItem)
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

 protected:
  // Hooks T may hide: before a press is judged, and on every pointer move.
  void BeforePress(LPARAM) {}
  void OnPointerMove(UINT, WPARAM, LPARAM) { ArmTracking(); }

  // WS_CHILD | BS_OWNERDRAW, visible on request, window text "BUTTON".
  HWND CreateOwnerDraw(HWND parent, UINT id, bool visible) {
    const RECT none = {0, 0, 0, 0};
    const DWORD style = WS_CHILD | BS_OWNERDRAW | (visible ? WS_VISIBLE : 0);
    return TERControlWindow<T>::Create(parent, none, L"BUTTON", style, 0, id, nullptr);
  }

  // Top of the Z order at (x, y), a negative coordinate counting from the far edge.
  void Place(int x, int y, SIZE size) {
    RECT parent = {};
    ::GetClientRect(::GetParent(this->m_hWnd), &parent);
    const POINT at = vantorel::AnchoredPosition(x, y, size, {parent.right, parent.bottom});
    ::SetWindowPos(this->m_hWnd, nullptr, at.x, at.y, size.cx, size.cy, SWP_FRAMECHANGED);
  }

  // The same size rule at the current position.
  void ResizeInPlace(SIZE size) {
    RECT rect = {};
    ::GetWindowRect(this->m_hWnd, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(this->m_hWnd), reinterpret_cast<POINT*>(&rect), 1);
    ::SetWindowPos(this->m_hWnd, nullptr, rect.left, rect.top, size.cx, size.cy,
                   SWP_FRAMECHANGED);
  }

  void ArmTracking() {
    if (m_bTracking) return;
    TRACKMOUSEEVENT track = {sizeof(track), TME_HOVER | TME_LEAVE, this->m_hWnd, kHoverTimeMs};
    m_bTracking = ::TrackMouseEvent(&track) != FALSE;
  }

  // Applies a reaction: new state, repaint now, and for a release outside the end of the
  // press without a click. Returns whether the system button must see the message too.
  bool Apply(const vantorel::Reaction& reaction, const RECT* check_rect = nullptr) {
    m_nState = reaction.state;
    switch (reaction.repaint) {
      case vantorel::Repaint::kNone:
        break;
      case vantorel::Repaint::kCheckRect:
        ::InvalidateRect(this->m_hWnd, check_rect, FALSE);
        break;
      case vantorel::Repaint::kAll:
        ::InvalidateRect(this->m_hWnd, nullptr, FALSE);
        break;
      case vantorel::Repaint::kAllErase:
        ::InvalidateRect(this->m_hWnd, nullptr, TRUE);
        break;
    }
    if (reaction.repaint != vantorel::Repaint::kNone) ::UpdateWindow(this->m_hWnd);
    if (reaction.release_capture && ::GetCapture() == this->m_hWnd) ::ReleaseCapture();
    return reaction.pass_on;
  }

  static vantorel::MouseEvent ReleaseEvent(HWND window, LPARAM lparam) {
    RECT client = {};
    ::GetClientRect(window, &client);
    const POINT at = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    return ::PtInRect(&client, at) ? vantorel::MouseEvent::kUpInside
                                   : vantorel::MouseEvent::kUpOutside;
  }

  int m_nState = vantorel::kStateNormal;
  bool m_bTracking = false;
  float m_fScale = 1.0f;
  Gdiplus::Font* m_pFont = nullptr;

 private:
  T* Self() { return static_cast<T*>(this); }
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM lparam, BOOL& handled) {
    Self()->BeforePress(lparam);
    handled = !Self()->React(vantorel::MouseEvent::kDown);
    return 0;
  }
  LRESULT OnLButtonUp(UINT, WPARAM, LPARAM lparam, BOOL& handled) {
    handled = !Self()->React(ReleaseEvent(this->m_hWnd, lparam));
    return 0;
  }
  LRESULT OnMouseMove(UINT message, WPARAM wparam, LPARAM lparam, BOOL& handled) {
    Self()->OnPointerMove(message, wparam, lparam);
    handled = FALSE;
    return 0;
  }
  LRESULT OnMouseHover(UINT, WPARAM, LPARAM, BOOL&) {
    Self()->React(vantorel::MouseEvent::kHover);
    return 0;
  }
  LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&) {
    Self()->React(vantorel::MouseEvent::kLeave);
    m_bTracking = false;
    return 0;
  }
  LRESULT OnClick(UINT, WPARAM, LPARAM, BOOL& handled) {
    Self()->React(vantorel::MouseEvent::kClick);
    handled = FALSE;
    return 0;
  }
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnDrawItem(UINT, WPARAM, LPARAM lparam, BOOL&) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
    RECT client = {};
    ::GetClientRect(this->m_hWnd, &client);
    vantorel::COffscreenCanvas canvas(client.right, client.bottom);
    static_cast<T*>(this)->Draw(canvas.graphics(), client.right, client.bottom);
    canvas.CopyTo(item->hDC);
    return TRUE;
  }
};
