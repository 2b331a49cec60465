#include "winlayer/window.h"

namespace {

// What a window whose object died keeps calling through its old stub.
struct Orphan {
  HWND window;
  WNDPROC super;
};

LRESULT CALLBACK OrphanWindowProc(HWND orphan, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* record = reinterpret_cast<Orphan*>(orphan);
  return ::CallWindowProcW(record->super, record->window, message, wparam, lparam);
}

LRESULT CALLBACK OrphanDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

bool IsReflectable(HWND child) { return child && ::IsWindow(child); }

}  // namespace

namespace win32_detail {

HWND ReflectionTarget(HWND parent, UINT message, WPARAM wparam, LPARAM lparam) {
  HWND child = nullptr;
  switch (message) {
    case WM_COMMAND:
      child = reinterpret_cast<HWND>(lparam);  // null for menus and accelerators
      break;
    case WM_NOTIFY:
      if (lparam) child = reinterpret_cast<LPNMHDR>(lparam)->hwndFrom;
      break;
    case WM_PARENTNOTIFY:
      // Only creation and destruction name a child; for mouse clicks the word holds no id.
      if (LOWORD(wparam) == WM_CREATE || LOWORD(wparam) == WM_DESTROY) {
        child = reinterpret_cast<HWND>(lparam);
      }
      break;
    case WM_DRAWITEM:
      if (wparam) child = reinterpret_cast<LPDRAWITEMSTRUCT>(lparam)->hwndItem;
      break;
    case WM_MEASUREITEM:
      if (wparam) child = ::GetDlgItem(parent, reinterpret_cast<LPMEASUREITEMSTRUCT>(lparam)->CtlID);
      break;
    case WM_COMPAREITEM:
      if (wparam) child = reinterpret_cast<LPCOMPAREITEMSTRUCT>(lparam)->hwndItem;
      break;
    case WM_DELETEITEM:
      if (wparam) child = reinterpret_cast<LPDELETEITEMSTRUCT>(lparam)->hwndItem;
      break;
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      child = reinterpret_cast<HWND>(lparam);
      break;
    default:
      break;
  }
  // A child that is already gone, or a parent reflecting to itself, would loop or fail.
  return IsReflectable(child) && child != parent ? child : nullptr;
}

BOOL DefaultReflection(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                       LRESULT& result) {
  switch (message) {
    case OCM_COMMAND:
    case OCM_NOTIFY:
    case OCM_PARENTNOTIFY:
    case OCM_DRAWITEM:
    case OCM_MEASUREITEM:
    case OCM_COMPAREITEM:
    case OCM_DELETEITEM:
    case OCM_VKEYTOITEM:
    case OCM_CHARTOITEM:
    case OCM_HSCROLL:
    case OCM_VSCROLL:
    case OCM_CTLCOLORBTN:
    case OCM_CTLCOLORDLG:
    case OCM_CTLCOLOREDIT:
    case OCM_CTLCOLORLISTBOX:
    case OCM_CTLCOLORMSGBOX:
    case OCM_CTLCOLORSCROLLBAR:
    case OCM_CTLCOLORSTATIC:
      result = ::DefWindowProcW(window, message - OCM_BASE, wparam, lparam);
      return TRUE;
    default:
      return FALSE;
  }
}

void DetachLiveWindow(HWND window, CWndProcThunk& stub, WNDPROC super, bool dialog) {
  const int slot = dialog ? DWLP_DLGPROC : GWLP_WNDPROC;
  const LONG_PTR ours = reinterpret_cast<LONG_PTR>(stub.GetWNDPROC());
  if (!ours) return;
  if (::GetWindowLongPtrW(window, slot) == ours) {
    ::SetWindowLongPtrW(window, slot, reinterpret_cast<LONG_PTR>(super));
    return;
  }
  if (dialog) {
    stub.Init(reinterpret_cast<WNDPROC>(OrphanDialogProc), nullptr);
  } else {
    stub.Init(OrphanWindowProc, new Orphan{window, super});
  }
  stub.Abandon();
}

}  // namespace win32_detail
