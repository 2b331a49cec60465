// The base of the library's internal control windows: a system control superclassed under a
// generated class name, registered on first use and unregistered when the library unloads.
#pragma once

#include <windows.h>

#include "winlayer/window.h"

namespace vantorel {

// Registers `info` for this library (once) and remembers it, so that the class does not
// outlive the code of its window procedure when the library is unloaded.
ATOM RegisterControlClass(CWndClassInfo& info, WNDPROC* super_proc);

// One line for the debugger's output: what was ignored and where.
void LogLine(const char* where, const char* what);

// A 0 style is the library's default for controls: child, visible, clipping.
constexpr DWORD kDefaultControlStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

}  // namespace vantorel

template <class T>
class TERControlWindow : public CWindowImpl<T, CWindow, CControlWinTraits> {
  using Root = CWindowImplBaseT<CWindow, CControlWinTraits>;

 public:
  HWND Create(HWND parent, const RECT& rect, const wchar_t* text, DWORD style, DWORD exstyle,
              UINT id, void* param) {
    if (this->m_hWnd) {
      ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    const ATOM atom =
        vantorel::RegisterControlClass(T::GetWndClassInfo(), &this->m_pfnSuperWindowProc);
    return Root::Create(parent, rect, text, style ? style : vantorel::kDefaultControlStyle,
                        exstyle, id, atom, param);
  }
};
