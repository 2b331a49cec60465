#include "view/internal/themed_shadow_wnd.h"

#include <system_error>

namespace {

constexpr DWORD kFrameStyles = WS_CAPTION | WS_THICKFRAME | WS_MAXIMIZEBOX;  // 0x00C50000
constexpr BYTE kConstantAlpha = 128;

}  // namespace

CThemedShadowWnd::~CThemedShadowWnd() {
  if (m_hWnd && ::IsWindow(m_hWnd)) DestroyWindow();
  m_hook.Remove();
  if (m_prepared.valid()) m_prepared.wait();  // its picture is released with the future
}

HWND CThemedShadowWnd::Create(HWND parent) {
  if (m_hWnd) {
    ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;  // one window per object; keep following the first parent
  }
  m_hThemeParent = parent;
  RECT rect = {1, 1, 1, 1};
  // Created hidden and shown without activation: a window created visible is activated (and
  // Wine then hands it to the window manager).
  HWND window = CWindowImpl::Create(parent, rect, nullptr, WS_POPUP, 0);
  if (window) ::ShowWindow(window, SW_SHOWNA);
  return window;
}

void CThemedShadowWnd::SetShadowSize(int size) {
  m_nShadowSize = size >= 1 && size <= 255 ? size : kDefaultShadowSize;
}

void CThemedShadowWnd::SetRightOffsetArea(int area) {
  m_nRightOffsetArea = area < 0 ? kDefaultRightOffsetArea : area;
}

void CThemedShadowWnd::SetRoundOffset(int first, int second) {
  m_nRoundOffsetFirst = first;
  m_nRoundOffsetSecond = second;
}

LRESULT CThemedShadowWnd::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled) {
  ModifyStyle(kFrameStyles, 0);
  ModifyStyleEx(0, WS_EX_LAYERED | WS_EX_TRANSPARENT);
  ModifyStyleEx(WS_EX_TOPMOST, WS_EX_NOACTIVATE);
  if (m_hThemeParent) m_hook.Install(m_hThemeParent, this);
  handled = FALSE;
  return 0;
}

LRESULT CThemedShadowWnd::OnSize(UINT, WPARAM, LPARAM, BOOL& handled) {
  m_bNeedsRedraw = true;
  handled = FALSE;
  return 0;
}

LRESULT CThemedShadowWnd::OnDestroy(UINT, WPARAM, LPARAM, BOOL&) {
  // The parent may well outlive its shadow: give it its own procedure back.
  m_hook.Remove();
  return 0;
}

void CThemedShadowWnd::OnParentMessage(HWND parent, UINT message, WPARAM wparam) {
  switch (message) {
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_ERASEBKGND:
    case WM_NCACTIVATE:
      if (::IsWindowVisible(parent)) AdjustWindowPos();
      break;
    case WM_SHOWWINDOW:
      if (m_hWnd) ShowWindow(wparam ? SW_SHOWNA : SW_HIDE);
      break;
    default:
      break;
  }
}

void CThemedShadowWnd::AdjustWindowPos() {
  if (!m_hWnd) return;
  RECT parent = {};
  if (!::GetWindowRect(m_hThemeParent, &parent)) return;
  const int left = parent.left + m_nShadowSize - m_nRoundOffsetSecond;
  const int top = parent.top + m_nShadowSize - m_nRoundOffsetFirst;
  // A change of size arrives as WM_SIZE inside this call and sets the redraw flag.
  SetWindowPos(m_hThemeParent, left, top, parent.right - parent.left, parent.bottom - parent.top,
               SWP_NOACTIVATE);
  GetClientRect(&m_rcClient);
  if (m_bNeedsRedraw) {
    m_bNeedsRedraw = false;
    Redraw();
  }
}

void CThemedShadowWnd::Prepare() {
  RECT parent = {};
  if (m_prepared.valid() || !::GetWindowRect(m_hThemeParent, &parent)) return;
  try {
    m_prepared = std::async(std::launch::async, &vantorel::RenderShadowPicture,
                            parent.right - parent.left, parent.bottom - parent.top, Band(),
                            kCornerRadius);
  } catch (const std::system_error&) {
    // No thread to spare: the picture is rendered when it is first shown.
  }
}

void CThemedShadowWnd::Redraw() {
  ++m_nRedrawCount;
  const int width = m_rcClient.right - m_rcClient.left;
  const int height = m_rcClient.bottom - m_rcClient.top;
  if (m_prepared.valid()) m_picture = m_prepared.get();
  if (m_picture.Fits(width, height, Band()))
    ++m_nPreparedUsed;
  else
    m_picture = vantorel::RenderShadowPicture(width, height, Band(), kCornerRadius);
  if (!m_picture.bitmap) return;

  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HGDIOBJ previous = ::SelectObject(memory, m_picture.bitmap);
  RECT window = {};
  GetWindowRect(&window);
  POINT destination = {window.left, window.top};
  SIZE size = {width, height};
  POINT source = {0, 0};
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, kConstantAlpha, AC_SRC_ALPHA};
  ::UpdateLayeredWindow(m_hWnd, screen, &destination, &size, memory, &source, 0, &blend, ULW_ALPHA);
  ::SelectObject(memory, previous);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
}
