#include "view/kv_switch_button.h"

#include "view/internal/ter_switch_button.h"

KvSwitchButton::KvSwitchButton() : m_pImpl(new TERSwitchButton()) {}
KvSwitchButton::~KvSwitchButton() { delete m_pImpl; }

void KvSwitchButton::SetDpiScale(float scale) { m_pImpl->SetDpiScale(scale); }
int KvSwitchButton::DpiScale(int length) const {
  return vantorel::Scale(length, m_pImpl->Scale());
}
void KvSwitchButton::SetInitVisible(bool visible) { m_pImpl->SetInitVisible(visible); }

HWND KvSwitchButton::CreateButton(HWND parent, Gdiplus::Font* font, UINT id) {
  return m_pImpl->CreateButton(parent, font, id);
}

int KvSwitchButton::Init(int x, int y, const wchar_t* text, DWORD normal_fill,
                         DWORD normal_text, DWORD active_fill, DWORD active_text) {
  return m_pImpl->Init(x, y, text, normal_fill, normal_text, active_fill, active_text);
}

void KvSwitchButton::SetText(const wchar_t* text) { m_pImpl->SetText(text); }

KvSwitchButton& KvSwitchButton::SetRadio(bool radio) {
  m_pImpl->SetRadio(radio);
  return *this;
}
KvSwitchButton& KvSwitchButton::SetHMargin(int margin) {
  m_pImpl->SetHMargin(margin);
  return *this;
}
KvSwitchButton& KvSwitchButton::SetVMargin(int margin) {
  m_pImpl->SetVMargin(margin);
  return *this;
}
KvSwitchButton& KvSwitchButton::SetColorDisable(DWORD fill, DWORD text) {
  m_pImpl->SetColorDisable(fill, text);
  return *this;
}
KvSwitchButton& KvSwitchButton::SetBackgroundColor(DWORD color) {
  m_pImpl->SetBackgroundColor(color);
  return *this;
}
KvSwitchButton& KvSwitchButton::SetRoundRectPoint(POINT point) {
  m_pImpl->SetRoundRectPoint(point);
  return *this;
}
KvSwitchButton& KvSwitchButton::SetRoundRect(bool round) {
  m_pImpl->SetRoundRect(round);
  return *this;
}
KvSwitchButton& KvSwitchButton::SetColorBorder(DWORD color) {
  m_pImpl->SetColorBorder(color);
  return *this;
}

void KvSwitchButton::ResetStatus() { m_pImpl->SetStatus(vantorel::kStateNormal); }
void KvSwitchButton::SetPressedStatus() { m_pImpl->SetStatus(vantorel::kStatePressed); }
void KvSwitchButton::SetFont(Gdiplus::Font* font) { m_pImpl->SetFont(font); }
BOOL KvSwitchButton::EnableWindow(BOOL enable) { return m_pImpl->EnableButton(enable); }

BOOL KvSwitchButton::MoveWindow(const RECT* rect, BOOL repaint) {
  return rect && m_pImpl->MoveWindow(*rect, repaint);
}

KvSwitchButton::operator HWND() const { return m_pImpl->m_hWnd; }
