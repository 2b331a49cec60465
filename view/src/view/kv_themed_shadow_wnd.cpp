#include "view/kv_themed_shadow_wnd.h"

#include "view/internal/themed_shadow_wnd.h"

KvThemedShadowWnd::KvThemedShadowWnd() : m_pImpl(new CThemedShadowWnd()) {}

KvThemedShadowWnd::~KvThemedShadowWnd() {
  delete m_pImpl;
}

HWND KvThemedShadowWnd::Create(HWND parent) {
  return m_pImpl->Create(parent);
}

void KvThemedShadowWnd::SetThemeParent(HWND parent) {
  m_pImpl->SetThemeParent(parent);
}

void KvThemedShadowWnd::SetShadowSize(int size) {
  m_pImpl->SetShadowSize(size);
}

void KvThemedShadowWnd::SetRightOffsetArea(int area) {
  m_pImpl->SetRightOffsetArea(area);
}

void KvThemedShadowWnd::SetRoundOffset(int first, int second) {
  m_pImpl->SetRoundOffset(first, second);
}

void KvThemedShadowWnd::AdjustWindowPos() {
  m_pImpl->AdjustWindowPos();
}

void KvThemedShadowWnd::Prepare() {
  m_pImpl->Prepare();
}

KvThemedShadowWnd::operator HWND() const {
  return m_pImpl->m_hWnd;
}
