// The lists page of the control gallery on its own: one window at the scale given on the
// command line ("1.5"; 1.0 by default), for module authors and for screenshots. An optional
// second argument closes it after that many seconds.
#include <windows.h>

#include <commctrl.h>
#include <gdiplus.h>

#include <cstdlib>
#include <cwchar>

#include "list_tree_page.h"
#include "winlayer/window.h"

namespace {

constexpr int kDesignWidth = 900;
constexpr int kDesignHeight = 520;
constexpr UINT kFirstId = 100;
constexpr UINT_PTR kCloseTimer = 1;

class GalleryWindow : public CWindowImpl<GalleryWindow, CWindow, CNullTraits> {
 public:
  DECLARE_WND_CLASS(L"VantorelListTreeGallery")

  BEGIN_MSG_MAP(GalleryWindow)
  MESSAGE_HANDLER(WM_PAINT, OnPaint)
  MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
  MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
  MESSAGE_HANDLER(WM_TIMER, OnTimer)
  MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
  REFLECT_NOTIFICATIONS()
  END_MSG_MAP()

  void Open(float scale, int seconds) {
    const int width = static_cast<int>(kDesignWidth * scale);
    const int height = static_cast<int>(kDesignHeight * scale);
    Create(nullptr, RECT{10, 10, 10 + width, 10 + height}, L"Vantorel lists",
           WS_POPUP | WS_CLIPCHILDREN, 0);
    const int margin = static_cast<int>(12 * scale);
    m_page.Create(m_hWnd, RECT{margin, margin, width - margin, height - margin}, scale, kFirstId);
    if (seconds > 0) SetTimer(kCloseTimer, static_cast<UINT>(seconds) * 1000);
    ShowWindow(SW_SHOWNA);
    m_page.HoverListRow(2);
  }

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PAINTSTRUCT paint = {};
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    RECT client = {};
    GetClientRect(&client);
    CDCHandle(dc).FillSolidRect(client, RGB(0xF4, 0xF5, 0xF7));
    m_page.PaintBackground(dc);
    ::EndPaint(m_hWnd, &paint);
    return 0;
  }
  LRESULT OnCtlColorStatic(UINT, WPARAM wparam, LPARAM lparam, BOOL& handled) {
    HBRUSH brush = m_page.OnCtlColorStatic(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    handled = brush != nullptr;
    return reinterpret_cast<LRESULT>(brush);
  }
  LRESULT OnNotify(UINT, WPARAM, LPARAM lparam, BOOL& handled) {
    handled = m_page.OnNotify(reinterpret_cast<const NMHDR*>(lparam));
    return 0;
  }
  LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&) {
    DestroyWindow();
    return 0;
  }
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&) {
    ::PostQuitMessage(0);
    return 0;
  }

  ListTreePage m_page;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const float scale = argc > 1 ? static_cast<float>(std::wcstod(argv[1], nullptr)) : 1.0f;
  const int seconds = argc > 2 ? static_cast<int>(std::wcstol(argv[2], nullptr, 10)) : 0;
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
  ::InitCommonControlsEx(&controls);
  {
    GalleryWindow window;
    window.Open(scale > 0.5f ? scale : 1.0f, seconds);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  Gdiplus::GdiplusShutdown(token);
  return 0;
}
