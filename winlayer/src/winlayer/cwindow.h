// CWindow: a thin, non-owning HWND wrapper, and the style traits used by window classes.
#pragma once

#include <windows.h>

#include <string>

class CWindow {
 public:
  // Lets the system pick position and size of an overlapped window.
  static const RECT rcDefault;

  HWND m_hWnd = nullptr;

  CWindow(HWND window = nullptr) : m_hWnd(window) {}
  CWindow& operator=(HWND window) {
    m_hWnd = window;
    return *this;
  }
  operator HWND() const { return m_hWnd; }

  void Attach(HWND window) { m_hWnd = window; }
  HWND Detach() {
    HWND window = m_hWnd;
    m_hWnd = nullptr;
    return window;
  }

  // A plain window of an already registered class; `id` is the child id or menu handle.
  HWND Create(const wchar_t* class_name, HWND parent, const RECT& rect = rcDefault,
              const wchar_t* name = nullptr, DWORD style = 0, DWORD exstyle = 0, UINT id = 0,
              void* param = nullptr);
  BOOL DestroyWindow();

  BOOL IsWindow() const { return ::IsWindow(m_hWnd); }
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
  BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
  BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
  BOOL IsChild(HWND window) const { return ::IsChild(m_hWnd, window); }

  BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
  BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
  BOOL SetWindowPos(HWND insert_after, int x, int y, int cx, int cy, UINT flags) {
    return ::SetWindowPos(m_hWnd, insert_after, x, y, cx, cy, flags);
  }
  BOOL SetWindowPos(HWND insert_after, const RECT& rect, UINT flags) {
    return ::SetWindowPos(m_hWnd, insert_after, rect.left, rect.top, rect.right - rect.left,
                          rect.bottom - rect.top, flags);
  }
  BOOL MoveWindow(int x, int y, int cx, int cy, BOOL repaint = TRUE) {
    return ::MoveWindow(m_hWnd, x, y, cx, cy, repaint);
  }
  BOOL MoveWindow(const RECT& rect, BOOL repaint = TRUE) {
    return ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, repaint);
  }
  BOOL BringWindowToTop() { return ::BringWindowToTop(m_hWnd); }
  // Centres on `center` (default: the owner, or the parent for a child), else on the work
  // area of the window's monitor; a top-level window is kept inside that work area.
  BOOL CenterWindow(HWND center = nullptr);

  BOOL GetClientRect(RECT* rect) const { return ::GetClientRect(m_hWnd, rect); }
  BOOL GetWindowRect(RECT* rect) const { return ::GetWindowRect(m_hWnd, rect); }
  BOOL ClientToScreen(POINT* point) const { return ::ClientToScreen(m_hWnd, point); }
  BOOL ClientToScreen(RECT* rect) const;
  BOOL ScreenToClient(POINT* point) const { return ::ScreenToClient(m_hWnd, point); }
  BOOL ScreenToClient(RECT* rect) const;

  BOOL Invalidate(BOOL erase = TRUE) { return ::InvalidateRect(m_hWnd, nullptr, erase); }
  BOOL InvalidateRect(const RECT* rect, BOOL erase = TRUE) {
    return ::InvalidateRect(m_hWnd, rect, erase);
  }
  BOOL InvalidateRgn(HRGN region, BOOL erase = TRUE) {
    return ::InvalidateRgn(m_hWnd, region, erase);
  }
  BOOL ValidateRect(const RECT* rect) { return ::ValidateRect(m_hWnd, rect); }
  BOOL UpdateWindow() { return ::UpdateWindow(m_hWnd); }
  BOOL RedrawWindow(const RECT* rect = nullptr, HRGN region = nullptr,
                    UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE) {
    return ::RedrawWindow(m_hWnd, rect, region, flags);
  }
  void SetRedraw(BOOL redraw = TRUE) { ::SendMessageW(m_hWnd, WM_SETREDRAW, redraw, 0); }

  BOOL SetWindowText(const wchar_t* text) { return ::SetWindowTextW(m_hWnd, text); }
  BOOL SetWindowText(const std::wstring& text) { return ::SetWindowTextW(m_hWnd, text.c_str()); }
  int GetWindowText(wchar_t* buffer, int size) const {
    return ::GetWindowTextW(m_hWnd, buffer, size);
  }
  std::wstring GetWindowText() const;
  int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
  void SetFont(HFONT font, BOOL redraw = TRUE) {
    ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
  }
  HFONT GetFont() const {
    return reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
  }

  LRESULT SendMessage(UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    return ::SendMessageW(m_hWnd, message, wparam, lparam);
  }
  BOOL PostMessage(UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    return ::PostMessageW(m_hWnd, message, wparam, lparam);
  }

  // The system owns a region handed to SetWindowRgn: detach it from any CRgn first.
  int SetWindowRgn(HRGN region, BOOL redraw = FALSE) {
    return ::SetWindowRgn(m_hWnd, region, redraw);
  }
  int GetWindowRgn(HRGN region) const { return ::GetWindowRgn(m_hWnd, region); }

  UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr) {
    return ::SetTimer(m_hWnd, id, elapse, proc);
  }
  BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

  HWND GetParent() const { return ::GetParent(m_hWnd); }
  HWND SetParent(HWND parent) { return ::SetParent(m_hWnd, parent); }
  HWND GetWindow(UINT command) const { return ::GetWindow(m_hWnd, command); }
  HWND GetTopLevelParent() const { return ::GetAncestor(m_hWnd, GA_ROOT); }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  HWND SetFocus() { return ::SetFocus(m_hWnd); }
  static HWND GetFocus() { return ::GetFocus(); }

  HDC GetDC() { return ::GetDC(m_hWnd); }
  HDC GetWindowDC() { return ::GetWindowDC(m_hWnd); }
  int ReleaseDC(HDC dc) { return ::ReleaseDC(m_hWnd, dc); }

  DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
  DWORD GetExStyle() const {
    return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE));
  }
  // True when the style changed. Non-zero `flags` adds SWP_ flags to a frame refresh.
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0) {
    return ModifyLong(GWL_STYLE, remove, add, flags);
  }
  BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0) {
    return ModifyLong(GWL_EXSTYLE, remove, add, flags);
  }
  LONG_PTR GetWindowLongPtr(int index) const { return ::GetWindowLongPtrW(m_hWnd, index); }
  LONG_PTR SetWindowLongPtr(int index, LONG_PTR value) {
    return ::SetWindowLongPtrW(m_hWnd, index, value);
  }
  DWORD GetWindowThreadID() const { return ::GetWindowThreadProcessId(m_hWnd, nullptr); }

 private:
  BOOL ModifyLong(int index, DWORD remove, DWORD add, UINT flags);
};

// Default styles of a window class; a non-zero style given to Create wins.
template <DWORD t_dwStyle = 0, DWORD t_dwExStyle = 0>
class CWinTraits {
 public:
  static DWORD GetWndStyle(DWORD style) { return style == 0 ? t_dwStyle : style; }
  static DWORD GetWndExStyle(DWORD exstyle) { return exstyle == 0 ? t_dwExStyle : exstyle; }
};

// Adds fixed bits to whatever the caller or the base traits choose.
template <DWORD t_dwStyle = 0, DWORD t_dwExStyle = 0, class TWinTraits = CWinTraits<>>
class CWinTraitsOR {
 public:
  static DWORD GetWndStyle(DWORD style) {
    return style | t_dwStyle | TWinTraits::GetWndStyle(style);
  }
  static DWORD GetWndExStyle(DWORD exstyle) {
    return exstyle | t_dwExStyle | TWinTraits::GetWndExStyle(exstyle);
  }
};

using CNullTraits = CWinTraits<0, 0>;
using CControlWinTraits = CWinTraits<WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0>;
using CFrameWinTraits = CWinTraits<WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                                   WS_EX_APPWINDOW | WS_EX_WINDOWEDGE>;

namespace win32_detail {
// Puts `rect` into CreateWindowEx's x, y, width and height. rcDefault's width would overflow;
// the system wants CW_USEDEFAULT for all four.
void CreateGeometry(const RECT& rect, int* x, int* y, int* cx, int* cy);
}  // namespace win32_detail
