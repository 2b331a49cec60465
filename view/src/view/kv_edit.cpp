#include "view/kv_edit.h"

#include <commctrl.h>

#include "view/internal/ter_edit.h"

KvEdit::KvEdit() : m_pImpl(new TEREdit()) {}
KvEdit::~KvEdit() { delete m_pImpl; }

HWND KvEdit::Create(HWND parent, const RECT& rect, const wchar_t* text, DWORD style,
                    DWORD exstyle, UINT id, void* param) {
  return m_pImpl->Create(parent, rect, text, style, exstyle, id, param);
}

void KvEdit::SetReadOnly(BOOL read_only) {
  ::SendMessageW(m_pImpl->m_hWnd, EM_SETREADONLY, read_only, 0);
}

void KvEdit::SetFont(HFONT font) {
  ::SendMessageW(m_pImpl->m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void KvEdit::setTipValue(const wchar_t* tip) {
  ::SendMessageW(m_pImpl->m_hWnd, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(tip));
}

void KvEdit::setFuncEnterCallback(std::function<void()>& callback) {
  m_pImpl->SetEnterCallback(callback);
}

KvEdit::operator HWND() const { return m_pImpl->m_hWnd; }
