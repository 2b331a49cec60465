#include "view/kv_link.h"

#include "view/internal/ter_link.h"

KvLink::KvLink() : m_pImpl(new TERLink()) {}
KvLink::~KvLink() { delete m_pImpl; }

HWND KvLink::Create(HWND parent, const RECT& rect, const wchar_t* text, DWORD style,
                    DWORD exstyle, UINT id, void* param) {
  return m_pImpl->CreateLink(parent, rect, text, style, exstyle, id, param);
}

KvLink::operator HWND() const { return m_pImpl->m_hWnd; }
