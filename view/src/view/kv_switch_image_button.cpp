#include "view/kv_switch_image_button.h"

#include "view/internal/ter_switch_image_button.h"

KvSwitchImageButton::KvSwitchImageButton() : m_pImpl(new TERSwitchImageButton()) {}
KvSwitchImageButton::~KvSwitchImageButton() { delete m_pImpl; }

void KvSwitchImageButton::SetDpiScale(float scale) { m_pImpl->SetDpiScale(scale); }
float KvSwitchImageButton::DpiScale(int length) const {
  return static_cast<float>(length) * m_pImpl->Scale();
}
void KvSwitchImageButton::SetInitVisible(bool visible) { m_pImpl->SetInitVisible(visible); }

HWND KvSwitchImageButton::CreateButton(HWND parent, Gdiplus::Font* font, UINT id) {
  return m_pImpl->CreateButton(parent, font, id);
}

int KvSwitchImageButton::Init(int x, int y, const wchar_t* text, DWORD normal_fill,
                              DWORD normal_text, Gdiplus::Bitmap* normal_image,
                              DWORD active_fill, DWORD active_text,
                              Gdiplus::Bitmap* pressed_image) {
  return m_pImpl->Init(x, y, text, normal_fill, normal_text, normal_image, active_fill,
                       active_text, pressed_image);
}

void KvSwitchImageButton::SetText(const wchar_t* text) { m_pImpl->SetText(text); }
std::wstring KvSwitchImageButton::GetText() const { return m_pImpl->GetText(); }

KvSwitchImageButton& KvSwitchImageButton::SetTextAlign(unsigned align) {
  m_pImpl->SetTextAlign(align);
  return *this;
}
KvSwitchImageButton& KvSwitchImageButton::SetHMargin(int margin) {
  m_pImpl->SetHMargin(margin);
  return *this;
}
KvSwitchImageButton& KvSwitchImageButton::SetVMargin(int margin) {
  m_pImpl->SetVMargin(margin);
  return *this;
}
KvSwitchImageButton& KvSwitchImageButton::SetImageAndTextGap(int gap) {
  m_pImpl->SetImageAndTextGap(gap);
  return *this;
}
KvSwitchImageButton& KvSwitchImageButton::SetRadio(bool radio) {
  m_pImpl->SetRadio(radio);
  return *this;
}
KvSwitchImageButton& KvSwitchImageButton::SetDotRight(bool dot) {
  m_pImpl->SetDotRight(dot);
  return *this;
}
KvSwitchImageButton& KvSwitchImageButton::SetDoHover(bool hover) {
  m_pImpl->SetDoHover(hover);
  return *this;
}
KvSwitchImageButton& KvSwitchImageButton::SetColorBorder(DWORD color) {
  m_pImpl->SetColorBorder(color);
  return *this;
}
KvSwitchImageButton& KvSwitchImageButton::SetBorderWidth(float width) {
  m_pImpl->SetBorderWidth(width);
  return *this;
}
KvSwitchImageButton& KvSwitchImageButton::SetColorDisable(DWORD fill, DWORD text) {
  m_pImpl->SetColorDisable(fill, text);
  return *this;
}
KvSwitchImageButton& KvSwitchImageButton::SetBackgroundColor(DWORD color) {
  m_pImpl->SetBackgroundColor(color);
  return *this;
}
KvSwitchImageButton& KvSwitchImageButton::SetRoundRectPoint(POINT point) {
  m_pImpl->SetRoundRectPoint(point);
  return *this;
}
KvSwitchImageButton& KvSwitchImageButton::SetRoundRect(bool round) {
  m_pImpl->SetRoundRect(round);
  return *this;
}
KvSwitchImageButton& KvSwitchImageButton::SetImageDeleteNormal(Gdiplus::Bitmap* image) {
  m_pImpl->SetImageDeleteNormal(image);
  return *this;
}
KvSwitchImageButton& KvSwitchImageButton::SetImageDeletePressed(Gdiplus::Bitmap* image) {
  m_pImpl->SetImageDeletePressed(image);
  return *this;
}

float KvSwitchImageButton::GetWidth() const { return m_pImpl->GetWidth(); }
float KvSwitchImageButton::GetHeight() const { return m_pImpl->GetHeight(); }
int KvSwitchImageButton::GetTextX() const { return m_pImpl->GetTextX(); }
bool KvSwitchImageButton::IsDelete() const { return m_pImpl->IsDelete(); }
void KvSwitchImageButton::ResetStatus() { m_pImpl->ResetStatus(); }
void KvSwitchImageButton::SetPressedStatus() { m_pImpl->SetPressedStatus(); }
void KvSwitchImageButton::SetFont(Gdiplus::Font* font) { m_pImpl->SetFont(font); }
BOOL KvSwitchImageButton::EnableWindow(BOOL enable) { return m_pImpl->EnableButton(enable); }

BOOL KvSwitchImageButton::MoveWindow(const RECT* rect, BOOL repaint) {
  return rect && m_pImpl->MoveWindow(*rect, repaint);
}

KvSwitchImageButton::operator HWND() const { return m_pImpl->m_hWnd; }
