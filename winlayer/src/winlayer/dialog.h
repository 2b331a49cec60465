// Dialogs without resources: CDialogImpl builds its template in memory.
//
// class CAbout : public CDialogImpl<CAbout> {
//  public:
//   BEGIN_MSG_MAP(CAbout)
//     MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)    // size and place yourself here
//     COMMAND_ID_HANDLER(IDCANCEL, OnCancel)          // EndDialog(IDCANCEL)
//   END_MSG_MAP()
// };
// CAbout().DoModal(owner);
//
// A modeless dialog gets Tab/Escape/Enter handling only from the thread's message loop. Derive
// from CMessageFilter as well, answer with IsDialogMessage, and register while alive:
//   BOOL PreTranslateMessage(MSG* msg) override { return ::IsDialogMessageW(m_hWnd, msg); }
//   OnInitDialog: AppModule().GetMessageLoop()->AddMessageFilter(this);
//   OnDestroy:    AppModule().GetMessageLoop()->RemoveMessageFilter(this);
#pragma once

#include <windows.h>

#include <vector>

#include "winlayer/window.h"

// An in-memory DLGTEMPLATE without controls. Size in dialog units; 0 lets WM_INITDIALOG size
// the dialog. With a `font`, DS_SETFONT is added and the dialog units follow that font.
class CDialogTemplate {
 public:
  CDialogTemplate(DWORD style, DWORD exstyle = 0, short cx = 0, short cy = 0,
                  const wchar_t* title = L"", const wchar_t* font = nullptr,
                  WORD point_size = 0);
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  std::vector<WORD> words_;  // operator new's alignment covers DLGTEMPLATE's DWORDs
};

namespace win32_detail {
// Where a handled message's result goes: some are returned directly, the rest through
// DWLP_MSGRESULT (TRUE is returned then).
INT_PTR DialogResult(HWND dialog, UINT message, LRESULT result);
}  // namespace win32_detail

template <class TBase = CWindow>
class CDialogImplBaseT : public CWindowImplRoot<TBase> {
 public:
  CDialogImplBaseT() = default;
  // A modeless dialog outliving its object is left to the dialog manager alone; destroying it
  // here would call into the already destroyed derived part.
  virtual ~CDialogImplBaseT() {
    if (this->m_hWnd && ::IsWindow(this->m_hWnd)) {
      win32_detail::DetachLiveWindow(this->m_hWnd, this->m_thunk, nullptr, true);
    }
  }

  static INT_PTR CALLBACK StartDialogProc(HWND dialog, UINT message, WPARAM wparam,
                                          LPARAM lparam) {
    return win32_detail::StartDialogProc(dialog, message, wparam, lparam);
  }
  // The thunk calls this with the object in place of the HWND.
  static INT_PTR CALLBACK DialogProc(HWND object, UINT message, WPARAM wparam, LPARAM lparam);
  virtual DLGPROC GetDialogProc() { return DialogProc; }

  // A dialog procedure has no default to call: FALSE hands the message to the dialog manager.
  LRESULT DefWindowProc() { return 0; }
  LRESULT DefWindowProc(UINT, WPARAM, LPARAM) { return 0; }

  // Modal: ends the dialog with `result` as DoModal's value. Modeless: destroys it (the
  // system's EndDialog would only hide a modeless dialog).
  BOOL EndDialog(int result) {
    if (!this->m_hWnd) return FALSE;
    return m_bModal ? ::EndDialog(this->m_hWnd, result) : ::DestroyWindow(this->m_hWnd);
  }

  virtual void OnFinalMessage(HWND /*dialog*/) {}

 protected:
  static LRESULT Start(void* object, HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
  bool Begin(win32_detail::CreateWndEntry* entry);

  bool m_bModal = false;
};

template <class TBase>
bool CDialogImplBaseT<TBase>::Begin(win32_detail::CreateWndEntry* entry) {
  if (this->m_hWnd || !this->m_thunk.Init(nullptr, nullptr)) return false;
  win32_detail::PushCreateWndData(entry, this, Start, win32_detail::CreateKind::kDialog);
  return true;
}

template <class TBase>
LRESULT CDialogImplBaseT<TBase>::Start(void* object, HWND dialog, UINT message, WPARAM wparam,
                                       LPARAM lparam) {
  auto* self = static_cast<CDialogImplBaseT*>(object);
  self->m_hWnd = dialog;
  self->m_thunk.Init(reinterpret_cast<WNDPROC>(self->GetDialogProc()), self);
  auto proc = reinterpret_cast<DLGPROC>(self->m_thunk.GetWNDPROC());
  ::SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
  return proc(dialog, message, wparam, lparam);
}

template <class TBase>
INT_PTR CALLBACK CDialogImplBaseT<TBase>::DialogProc(HWND object, UINT message, WPARAM wparam,
                                                     LPARAM lparam) {
  auto* self = reinterpret_cast<CDialogImplBaseT*>(object);
  const HWND dialog = self->m_hWnd;
  MSG msg{dialog, message, wparam, lparam, 0, {0, 0}};
  const MSG* outer = self->m_pCurrentMsg;
  self->m_pCurrentMsg = &msg;

  LRESULT result = 0;
  const BOOL handled = self->ProcessWindowMessage(dialog, message, wparam, lparam, result, 0);
  const INT_PTR answer = handled ? win32_detail::DialogResult(dialog, message, result) : FALSE;
  if (message == WM_NCDESTROY) self->m_dwState |= CDialogImplBaseT::WINSTATE_DESTROYED;

  if ((self->m_dwState & CDialogImplBaseT::WINSTATE_DESTROYED) && outer == nullptr) {
    self->m_hWnd = nullptr;
    self->m_dwState &= ~CDialogImplBaseT::WINSTATE_DESTROYED;
    self->m_pCurrentMsg = nullptr;
    self->OnFinalMessage(dialog);  // may delete the object: touch nothing after this
  } else {
    self->m_pCurrentMsg = outer;
  }
  return answer;
}

template <class T, class TBase = CWindow>
class CDialogImpl : public CDialogImplBaseT<TBase> {
 public:
  // Override in T for another style, a size, a title or a font.
  static const DLGTEMPLATE* GetDialogTemplate() {
    static const CDialogTemplate dialog_template(WS_POPUP);
    return dialog_template.Get();
  }

  // -1 when the dialog could not be created.
  INT_PTR DoModal(HWND parent = ::GetActiveWindow(), LPARAM init = 0) {
    win32_detail::CreateWndEntry entry;
    if (!this->Begin(&entry)) return -1;
    this->m_bModal = true;
    const INT_PTR result = ::DialogBoxIndirectParamW(
        ModuleHelper::GetModuleInstance(), T::GetDialogTemplate(), parent,
        win32_detail::StartDialogProc, init);
    // The object may be gone (OnFinalMessage); only the entry on this stack is touched.
    win32_detail::DiscardCreateWndData(&entry);
    return result;
  }

  // Modeless; end it with DestroyWindow (or EndDialog).
  HWND Create(HWND parent, LPARAM init = 0) {
    win32_detail::CreateWndEntry entry;
    if (!this->Begin(&entry)) return nullptr;
    this->m_bModal = false;
    HWND dialog = ::CreateDialogIndirectParamW(ModuleHelper::GetModuleInstance(),
                                               T::GetDialogTemplate(), parent,
                                               win32_detail::StartDialogProc, init);
    win32_detail::DiscardCreateWndData(&entry);
    return dialog;
  }
};
