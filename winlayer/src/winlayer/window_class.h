// Window class descriptions that register themselves on first use.
#pragma once

#include <windows.h>

#include "winlayer/thunk.h"

// Filled by DECLARE_WND_CLASS_EX / DECLARE_WND_SUPERCLASS; one static instance per C++ class.
struct CWndClassInfo {
  WNDCLASSEXW m_wc;
  const wchar_t* m_lpszOrigName;  // superclassed system class, or null
  WNDPROC pWndProc;               // the superclassed class's procedure
  const wchar_t* m_lpszCursorID;
  BOOL m_bSystemCursor;
  ATOM m_atom;
  wchar_t m_szAutoName[40];  // "Ostrevan:<address>" when no name was given

  // Registers once (thread-safe) for ModuleHelper::GetModuleInstance() and returns the atom,
  // 0 on failure. `super_proc` receives the procedure DefWindowProc must call.
  ATOM Register(WNDPROC* super_proc);
};

namespace win32_detail {
// Shared by the plain and frame class infos; `icon_id` 0 means no icon.
ATOM RegisterClassInfo(CWndClassInfo& info, WNDPROC* super_proc, UINT icon_id);
}  // namespace win32_detail

// The class's procedure is StartWindowProc, which hands the window to its object.
// `background` is a COLOR_* index (the brush is index + 1, as Windows wants).
#define DECLARE_WND_CLASS_EX(class_name, class_style, background)                            \
  static CWndClassInfo& GetWndClassInfo() {                                                  \
    static CWndClassInfo wc = {                                                              \
        {sizeof(WNDCLASSEXW), static_cast<UINT>(class_style),                                \
         ::win32_detail::StartWindowProc, 0, 0, nullptr, nullptr, nullptr,                   \
         reinterpret_cast<HBRUSH>(static_cast<INT_PTR>((background) + 1)), nullptr,          \
         class_name, nullptr},                                                               \
        nullptr, nullptr, IDC_ARROW, TRUE, 0, L""};                                         \
    return wc;                                                                               \
  }

#define DECLARE_WND_CLASS(class_name) \
  DECLARE_WND_CLASS_EX(class_name, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, COLOR_WINDOW)

// A new class `class_name` (null: generated) that behaves like `original_class` (for example
// L"Edit") until the message map says otherwise.
#define DECLARE_WND_SUPERCLASS(class_name, original_class)                                   \
  static CWndClassInfo& GetWndClassInfo() {                                                  \
    static CWndClassInfo wc = {                                                              \
        {sizeof(WNDCLASSEXW), 0, ::win32_detail::StartWindowProc, 0, 0, nullptr, nullptr,     \
         nullptr, nullptr, nullptr, class_name, nullptr},                                    \
        original_class, nullptr, nullptr, TRUE, 0, L""};                                     \
    return wc;                                                                               \
  }
