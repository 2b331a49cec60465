// Windows implemented by C++ objects: CWindowImpl and its bases.
//
// class CCanvas : public CWindowImpl<CCanvas> {
//  public:
//   DECLARE_WND_CLASS_EX(nullptr, CS_DBLCLKS, -1)   // generated name, no background brush
//   BEGIN_MSG_MAP(CCanvas)
//     MESSAGE_HANDLER(WM_PAINT, OnPaint)
//   END_MSG_MAP()
//   ...
// };
// canvas.Create(parent, rect);                 // or canvas.SubclassWindow(existing_control)
//
// Each object owns a code stub (see thunk.h) installed as the window procedure, so the layer
// never touches GWLP_USERDATA, properties or extra bytes, and other code may replace the
// procedure and later put the stub back. After WM_NCDESTROY the object lets go of the window
// and OnFinalMessage runs once; `delete this` is allowed there and only there.
#pragma once

#include <windows.h>

#include "winlayer/app_module.h"
#include "winlayer/cwindow.h"
#include "winlayer/message_map.h"
#include "winlayer/thunk.h"
#include "winlayer/window_class.h"

namespace win32_detail {

// Parent side of reflection: the control the message is about, or null.
HWND ReflectionTarget(HWND parent, UINT message, WPARAM wparam, LPARAM lparam);
// Control side: the parent's default answer for an unhandled reflected message.
BOOL DefaultReflection(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                       LRESULT& result);
// Unhooks a window whose object dies before it: puts `super` back when `stub` is still the
// window procedure (DWLP_DLGPROC for a dialog, where `super` is null), otherwise (someone
// hooked over it) points `stub` at a forwarder that is never freed.
void DetachLiveWindow(HWND window, CWndProcThunk& stub, WNDPROC super, bool dialog);

}  // namespace win32_detail

template <class TBase = CWindow>
class CWindowImplRoot : public TBase, public CMessageMap {
 public:
  CWindowImplRoot() = default;
  CWindowImplRoot(const CWindowImplRoot&) = delete;
  CWindowImplRoot& operator=(const CWindowImplRoot&) = delete;

  // The message being processed (innermost when nested), null outside the procedure.
  const MSG* GetCurrentMessage() const { return m_pCurrentMsg; }

  LRESULT ReflectNotifications(UINT message, WPARAM wparam, LPARAM lparam, BOOL& handled) {
    HWND child = win32_detail::ReflectionTarget(this->m_hWnd, message, wparam, lparam);
    if (!child) {
      handled = FALSE;
      return 1;
    }
    return ::SendMessageW(child, OCM_BASE + message, wparam, lparam);
  }
  static BOOL DefaultReflectionHandler(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                       LRESULT& result) {
    return win32_detail::DefaultReflection(window, message, wparam, lparam, result);
  }

 protected:
  enum : DWORD { WINSTATE_DESTROYED = 1 };

  ~CWindowImplRoot() = default;

  CWndProcThunk m_thunk;
  const MSG* m_pCurrentMsg = nullptr;
  DWORD m_dwState = 0;
};

template <class TBase = CWindow, class TWinTraits = CControlWinTraits>
class CWindowImplBaseT : public CWindowImplRoot<TBase> {
 public:
  // Where DefWindowProc sends what the map leaves: ::DefWindowProcW, the superclassed class's
  // procedure, or the procedure a subclassed window had before.
  WNDPROC m_pfnSuperWindowProc = ::DefWindowProcW;

  CWindowImplBaseT() = default;
  virtual ~CWindowImplBaseT() {
    if (this->m_hWnd && ::IsWindow(this->m_hWnd)) {
      win32_detail::DetachLiveWindow(this->m_hWnd, this->m_thunk, m_pfnSuperWindowProc,
                                     false);
    }
  }

  static DWORD GetWndStyle(DWORD style) { return TWinTraits::GetWndStyle(style); }
  static DWORD GetWndExStyle(DWORD exstyle) { return TWinTraits::GetWndExStyle(exstyle); }

  static LRESULT CALLBACK StartWindowProc(HWND window, UINT message, WPARAM wparam,
                                          LPARAM lparam) {
    return win32_detail::StartWindowProc(window, message, wparam, lparam);
  }
  // The thunk calls this with the object in place of the HWND.
  static LRESULT CALLBACK WindowProc(HWND object, UINT message, WPARAM wparam, LPARAM lparam);
  virtual WNDPROC GetWindowProc() { return WindowProc; }

  HWND Create(HWND parent, const RECT& rect, const wchar_t* name, DWORD style, DWORD exstyle,
              UINT id, ATOM atom, void* param);

  // Routes an existing window (of this thread's process) through this object's map.
  BOOL SubclassWindow(HWND window);
  // Puts the previous procedure back and returns the window; null when another hook sits on
  // top of ours (unless `force`) or the window is not ours.
  HWND UnsubclassWindow(BOOL force = FALSE);

  LRESULT DefWindowProc() {
    const MSG* msg = this->m_pCurrentMsg;
    return msg ? DefWindowProc(msg->message, msg->wParam, msg->lParam) : 0;
  }
  LRESULT DefWindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    return ::CallWindowProcW(m_pfnSuperWindowProc, this->m_hWnd, message, wparam, lparam);
  }

  // After the window is gone and the object has let go of it.
  virtual void OnFinalMessage(HWND /*window*/) {}

 private:
  static LRESULT Start(void* object, HWND window, UINT message, WPARAM wparam, LPARAM lparam);
};

template <class TBase, class TWinTraits>
LRESULT CWindowImplBaseT<TBase, TWinTraits>::Start(void* object, HWND window, UINT message,
                                                   WPARAM wparam, LPARAM lparam) {
  auto* self = static_cast<CWindowImplBaseT*>(object);
  self->m_hWnd = window;
  self->m_thunk.Init(self->GetWindowProc(), self);  // reserved by Create: cannot fail
  WNDPROC proc = self->m_thunk.GetWNDPROC();
  ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
  return proc(window, message, wparam, lparam);
}

template <class TBase, class TWinTraits>
LRESULT CALLBACK CWindowImplBaseT<TBase, TWinTraits>::WindowProc(HWND object, UINT message,
                                                                 WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<CWindowImplBaseT*>(object);
  const HWND window = self->m_hWnd;
  const WNDPROC super = self->m_pfnSuperWindowProc;
  MSG msg{window, message, wparam, lparam, 0, {0, 0}};
  const MSG* outer = self->m_pCurrentMsg;
  self->m_pCurrentMsg = &msg;

  LRESULT result = 0;
  const BOOL handled = self->ProcessWindowMessage(window, message, wparam, lparam, result, 0);
  if (!handled) {
    // A handler may have unsubclassed the window: the rest still belongs to the old procedure.
    result = self->m_hWnd == window ? self->DefWindowProc(message, wparam, lparam)
                                    : ::CallWindowProcW(super, window, message, wparam, lparam);
  }
  if (message == WM_NCDESTROY && self->m_hWnd == window) {
    // Final even when the map claimed WM_NCDESTROY, or OnFinalMessage would never run.
    if (self->m_pfnSuperWindowProc != ::DefWindowProcW &&
        ::GetWindowLongPtrW(window, GWLP_WNDPROC) ==
            reinterpret_cast<LONG_PTR>(self->m_thunk.GetWNDPROC())) {
      ::SetWindowLongPtrW(window, GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(self->m_pfnSuperWindowProc));
    }
    self->m_dwState |= CWindowImplBaseT::WINSTATE_DESTROYED;
  }

  if ((self->m_dwState & CWindowImplBaseT::WINSTATE_DESTROYED) && outer == nullptr) {
    self->m_hWnd = nullptr;
    self->m_dwState &= ~CWindowImplBaseT::WINSTATE_DESTROYED;
    self->m_pCurrentMsg = nullptr;
    self->m_pfnSuperWindowProc = ::DefWindowProcW;
    self->OnFinalMessage(window);  // may delete the object: touch nothing after this
  } else {
    self->m_pCurrentMsg = outer;
  }
  return result;
}

template <class TBase, class TWinTraits>
HWND CWindowImplBaseT<TBase, TWinTraits>::Create(HWND parent, const RECT& rect,
                                                 const wchar_t* name, DWORD style,
                                                 DWORD exstyle, UINT id, ATOM atom,
                                                 void* param) {
  if (atom == 0 || this->m_hWnd) {
    ::SetLastError(atom == 0 ? ERROR_CANNOT_FIND_WND_CLASS : ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (!this->m_thunk.Init(nullptr, nullptr)) {
    ::SetLastError(ERROR_OUTOFMEMORY);
    return nullptr;
  }
  int x, y, cx, cy;
  win32_detail::CreateGeometry(rect, &x, &y, &cx, &cy);
  win32_detail::CreateWndEntry entry;
  win32_detail::PushCreateWndData(&entry, this, Start, win32_detail::CreateKind::kWindow);
  HWND window = ::CreateWindowExW(exstyle, MAKEINTATOM(atom), name, style, x, y, cx, cy, parent,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                  ModuleHelper::GetModuleInstance(), param);
  // A failed creation may never have reached the start procedure.
  win32_detail::DiscardCreateWndData(&entry);
  return window;
}

template <class TBase, class TWinTraits>
BOOL CWindowImplBaseT<TBase, TWinTraits>::SubclassWindow(HWND window) {
  if (this->m_hWnd || !::IsWindow(window)) return FALSE;
  if (!this->m_thunk.Init(GetWindowProc(), this)) return FALSE;
  auto previous = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
      window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(this->m_thunk.GetWNDPROC())));
  if (!previous) return FALSE;
  m_pfnSuperWindowProc = previous;
  this->m_hWnd = window;
  return TRUE;
}

template <class TBase, class TWinTraits>
HWND CWindowImplBaseT<TBase, TWinTraits>::UnsubclassWindow(BOOL force) {
  HWND window = this->m_hWnd;
  if (!window || !this->m_thunk.GetWNDPROC()) return nullptr;
  const LONG_PTR ours = reinterpret_cast<LONG_PTR>(this->m_thunk.GetWNDPROC());
  if (!force && ::GetWindowLongPtrW(window, GWLP_WNDPROC) != ours) return nullptr;
  if (!::SetWindowLongPtrW(window, GWLP_WNDPROC,
                           reinterpret_cast<LONG_PTR>(m_pfnSuperWindowProc))) {
    return nullptr;
  }
  m_pfnSuperWindowProc = ::DefWindowProcW;
  this->m_hWnd = nullptr;
  return window;
}

template <class T, class TBase = CWindow, class TWinTraits = CControlWinTraits>
class CWindowImpl : public CWindowImplBaseT<TBase, TWinTraits> {
 public:
  DECLARE_WND_CLASS(nullptr)

  // The title Create uses when none is given.
  static const wchar_t* GetWndCaption() { return nullptr; }

  // Registers T's class on first use. Style/exstyle 0 take the traits' defaults.
  HWND Create(HWND parent, const RECT& rect = CWindow::rcDefault, const wchar_t* name = nullptr,
              DWORD style = 0, DWORD exstyle = 0, UINT id = 0, void* param = nullptr) {
    if (this->m_hWnd) {
      ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    const ATOM atom = T::GetWndClassInfo().Register(&this->m_pfnSuperWindowProc);
    if (!name) name = T::GetWndCaption();
    return CWindowImplBaseT<TBase, TWinTraits>::Create(parent, rect, name,
                                                       T::GetWndStyle(style),
                                                       T::GetWndExStyle(exstyle), id, atom,
                                                       param);
  }
};
