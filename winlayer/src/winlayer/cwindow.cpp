#include "winlayer/cwindow.h"

#include "winlayer/app_module.h"

const RECT CWindow::rcDefault = {CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};

HWND CWindow::Create(const wchar_t* class_name, HWND parent, const RECT& rect,
                     const wchar_t* name, DWORD style, DWORD exstyle, UINT id, void* param) {
  int x, y, cx, cy;
  win32_detail::CreateGeometry(rect, &x, &y, &cx, &cy);
  HINSTANCE instance = ModuleHelper::GetModuleInstance();
  m_hWnd = ::CreateWindowExW(exstyle, class_name, name, style, x, y, cx, cy, parent,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), instance,
                             param);
  return m_hWnd;
}

BOOL CWindow::DestroyWindow() {
  if (!::DestroyWindow(m_hWnd)) return FALSE;
  m_hWnd = nullptr;
  return TRUE;
}

BOOL CWindow::ClientToScreen(RECT* rect) const {
  auto* points = reinterpret_cast<POINT*>(rect);
  return ::ClientToScreen(m_hWnd, &points[0]) && ::ClientToScreen(m_hWnd, &points[1]);
}

BOOL CWindow::ScreenToClient(RECT* rect) const {
  auto* points = reinterpret_cast<POINT*>(rect);
  return ::ScreenToClient(m_hWnd, &points[0]) && ::ScreenToClient(m_hWnd, &points[1]);
}

std::wstring CWindow::GetWindowText() const {
  std::wstring text;
  // The length may change between the two calls; the copy is bounded either way.
  const int length = ::GetWindowTextLengthW(m_hWnd);
  if (length <= 0) return text;
  text.resize(static_cast<size_t>(length) + 1);
  const int copied = ::GetWindowTextW(m_hWnd, &text[0], length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

BOOL CWindow::ModifyLong(int index, DWORD remove, DWORD add, UINT flags) {
  const DWORD old_value = static_cast<DWORD>(::GetWindowLongW(m_hWnd, index));
  const DWORD new_value = (old_value & ~remove) | add;
  if (old_value == new_value) return FALSE;
  ::SetWindowLongW(m_hWnd, index, static_cast<LONG>(new_value));
  if (flags != 0) {
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
  }
  return TRUE;
}

BOOL CWindow::CenterWindow(HWND center) {
  const DWORD style = GetStyle();
  const bool child = (style & WS_CHILD) != 0;
  if (!center) center = child ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);

  RECT area{};  // where the window must stay, in the coordinates of its placement
  RECT around{};  // what to centre on, same coordinates
  if (child) {
    HWND parent = ::GetParent(m_hWnd);
    ::GetClientRect(parent, &area);
    if (center && center != parent) {
      ::GetWindowRect(center, &around);
      ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&around), 2);
    } else {
      around = area;
    }
  } else {
    HMONITOR monitor = ::MonitorFromWindow(center && ::IsWindowVisible(center) ? center : m_hWnd,
                                           MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoW(monitor, &info)) return FALSE;
    area = info.rcWork;
    if (center && ::IsWindowVisible(center) && !::IsIconic(center)) {
      ::GetWindowRect(center, &around);
    } else {
      around = area;
    }
  }

  RECT own{};
  ::GetWindowRect(m_hWnd, &own);
  const int width = own.right - own.left;
  const int height = own.bottom - own.top;
  int left = (around.left + around.right) / 2 - width / 2;
  int top = (around.top + around.bottom) / 2 - height / 2;
  if (!child) {
    if (left + width > area.right) left = area.right - width;
    if (left < area.left) left = area.left;
    if (top + height > area.bottom) top = area.bottom - height;
    if (top < area.top) top = area.top;
  }
  return ::SetWindowPos(m_hWnd, nullptr, left, top, 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace win32_detail {

void CreateGeometry(const RECT& rect, int* x, int* y, int* cx, int* cy) {
  if (rect.left == CW_USEDEFAULT) {
    *x = *y = *cx = *cy = CW_USEDEFAULT;
    return;
  }
  *x = rect.left;
  *y = rect.top;
  *cx = rect.right - rect.left;
  *cy = rect.bottom - rect.top;
}

}  // namespace win32_detail
