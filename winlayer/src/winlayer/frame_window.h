// Top-level frame windows. A frame here has no menu, tool bar, status bar or client view of
// its own: derived frames lay out their children in UpdateLayout and chain the base map:
//
// class CMainFrame : public CFrameWindowImpl<CMainFrame> {
//  public:
//   DECLARE_FRAME_WND_CLASS(L"OstrevanMainFrame", IDI_APP)
//   BEGIN_MSG_MAP(CMainFrame)
//     MESSAGE_HANDLER(WM_CREATE, OnCreate)
//     CHAIN_MSG_MAP(CFrameWindowImpl<CMainFrame>)
//   END_MSG_MAP()
//   void UpdateLayout(BOOL resize_bars = TRUE);
// };
#pragma once

#include <windows.h>

#include "winlayer/window.h"

// A window class that also loads icon resource m_uCommonResourceID (from
// ModuleHelper::GetResourceInstance()) as its large and small icon; a missing icon is fine.
struct CFrameWndClassInfo : CWndClassInfo {
  UINT m_uCommonResourceID;

  ATOM Register(WNDPROC* super_proc) {
    return win32_detail::RegisterClassInfo(*this, super_proc, m_uCommonResourceID);
  }
};

#define DECLARE_FRAME_WND_CLASS_EX(class_name, resource_id, class_style, background)         \
  static CFrameWndClassInfo& GetWndClassInfo() {                                             \
    static CFrameWndClassInfo wc = {                                                         \
        {{sizeof(WNDCLASSEXW), static_cast<UINT>(class_style),                               \
          ::win32_detail::StartWindowProc, 0, 0, nullptr, nullptr, nullptr,                  \
          reinterpret_cast<HBRUSH>(static_cast<INT_PTR>((background) + 1)), nullptr,         \
          class_name, nullptr},                                                              \
         nullptr, nullptr, IDC_ARROW, TRUE, 0, L""},                                        \
        static_cast<UINT>(resource_id)};                                                     \
    return wc;                                                                               \
  }

#define DECLARE_FRAME_WND_CLASS(class_name, resource_id) \
  DECLARE_FRAME_WND_CLASS_EX(class_name, resource_id, 0, COLOR_WINDOW)

template <class T, class TBase = CWindow, class TWinTraits = CFrameWinTraits>
class CFrameWindowImpl : public CWindowImpl<T, TBase, TWinTraits> {
 public:
  DECLARE_FRAME_WND_CLASS(nullptr, 0)

  // Style/exstyle 0 take the traits'. Titled with the class name when one was declared.
  HWND CreateEx(HWND parent = nullptr, const RECT& rect = CWindow::rcDefault, DWORD style = 0,
                DWORD exstyle = 0, void* param = nullptr) {
    const CFrameWndClassInfo& info = T::GetWndClassInfo();
    const wchar_t* name = info.m_wc.lpszClassName;
    const wchar_t* title = name && name != info.m_szAutoName ? name : L"";
    return static_cast<T*>(this)->Create(parent, rect, title, style, exstyle, 0, param);
  }

  // Places the frame's children; nothing to place here.
  void UpdateLayout(BOOL /*resize_bars*/ = TRUE) {}

  BEGIN_MSG_MAP(CFrameWindowImpl)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
  END_MSG_MAP()

  LRESULT OnSize(UINT, WPARAM wparam, LPARAM, BOOL& handled) {
    if (wparam != SIZE_MINIMIZED) static_cast<T*>(this)->UpdateLayout();
    handled = FALSE;
    return 1;
  }
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    handled = FALSE;
    return 1;
  }
};
