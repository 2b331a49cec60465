#include "view/kv_section_button.h"

#include "view/internal/kv_section_img_button.h"

namespace {

KvSectionImgButton::StateLook& Colour(KvSectionImgButton::StateLook& look, DWORD background,
                                      DWORD text, DWORD border) {
  look.background = background;
  look.text = text;
  look.border = border;
  return look;
}

}  // namespace

KvSectionButton::KvSectionButton() : m_pImpl(new KvSectionImgButton()) {}
KvSectionButton::~KvSectionButton() { delete m_pImpl; }

HWND KvSectionButton::Create(HWND parent, const RECT& rect, const wchar_t* text, DWORD style,
                             DWORD exstyle, UINT id, void* param) {
  return m_pImpl->CreateSection(parent, rect, text, style, exstyle, id, param);
}

KvSectionButton& KvSectionButton::SetHMargin(int margin) {
  m_pImpl->SetHMargin(margin);
  return *this;
}
KvSectionButton& KvSectionButton::SetVMargin(int margin) {
  m_pImpl->SetVMargin(margin);
  return *this;
}
KvSectionButton& KvSectionButton::SetCheckStyle(bool check) {
  m_pImpl->SetCheckStyle(check);
  return *this;
}
KvSectionButton& KvSectionButton::SetImgAndTextLayoutType(ImgButtonImgAndTextLayoutType1 type) {
  m_pImpl->SetLayoutType(static_cast<vantorel::SectionLayoutType>(type));
  return *this;
}
KvSectionButton& KvSectionButton::SetRoundRectPoint(POINT point) {
  m_pImpl->SetRoundRectPoint(point);
  return *this;
}
KvSectionButton& KvSectionButton::SetRoundRect(bool round) {
  m_pImpl->SetRoundRect(round);
  return *this;
}
KvSectionButton& KvSectionButton::SetRoundBkgColorOutsideBorder(DWORD color) {
  m_pImpl->SetOutsideColor(color);
  return *this;
}
KvSectionButton& KvSectionButton::SetFixWidth(bool fix) {
  m_pImpl->SetFixWidth(fix);
  return *this;
}
KvSectionButton& KvSectionButton::SetFixHeight(bool fix) {
  m_pImpl->SetFixHeight(fix);
  return *this;
}
KvSectionButton& KvSectionButton::SetFont(Gdiplus::Font* font) {
  m_pImpl->SetFont(font);
  return *this;
}
KvSectionButton& KvSectionButton::SetDpiScale(float scale) {
  m_pImpl->SetDpiScale(scale);
  return *this;
}
KvSectionButton& KvSectionButton::Center(bool centre) {
  m_pImpl->SetCentre(centre);
  return *this;
}
KvSectionButton& KvSectionButton::SetImageAndTextGap(float gap) {
  m_pImpl->SetGap(gap);
  return *this;
}
KvSectionButton& KvSectionButton::SetColorOfNormalStatus(DWORD background, DWORD text,
                                                         DWORD border) {
  Colour(m_pImpl->Look(vantorel::kStateNormal), background, text, border);
  return *this;
}
KvSectionButton& KvSectionButton::SetColorOfPressedStatus(DWORD background, DWORD text,
                                                          DWORD border) {
  Colour(m_pImpl->Look(vantorel::kStatePressed), background, text, border);
  return *this;
}
KvSectionButton& KvSectionButton::SetColorOfHoverStatus(DWORD background, DWORD text,
                                                        DWORD border) {
  Colour(m_pImpl->Look(vantorel::kStateHover), background, text, border);
  return *this;
}
KvSectionButton& KvSectionButton::SetColorOfDisableStatus(DWORD background, DWORD text,
                                                          DWORD border) {
  Colour(m_pImpl->Look(vantorel::kStateDisabled), background, text, border);
  return *this;
}
KvSectionButton& KvSectionButton::SetImages(Gdiplus::Bitmap* normal, Gdiplus::Bitmap* pressed,
                                            Gdiplus::Bitmap* hover, Gdiplus::Bitmap* disabled) {
  m_pImpl->Look(vantorel::kStateNormal).image = normal;
  m_pImpl->Look(vantorel::kStatePressed).image = pressed;
  m_pImpl->Look(vantorel::kStateHover).image = hover;
  m_pImpl->Look(vantorel::kStateDisabled).image = disabled;
  return *this;
}
KvSectionButton& KvSectionButton::ResetStatus() {
  m_pImpl->SetState(vantorel::kStateNormal);
  return *this;
}
KvSectionButton& KvSectionButton::SetPressedStatus() {
  m_pImpl->SetState(vantorel::kStatePressed);
  return *this;
}
KvSectionButton& KvSectionButton::SetTooltip(const wchar_t* text) {
  m_pImpl->SetTooltip(text);
  return *this;
}

void KvSectionButton::SetText(const wchar_t* text) { m_pImpl->SetText(text); }
void KvSectionButton::Load(bool reload_text) { m_pImpl->Load(reload_text); }
SIZE KvSectionButton::reload(int max_width, int max_height) {
  return m_pImpl->Reload(max_width, max_height);
}
void KvSectionButton::setFuncDrawTextAndImage(Painter& painter) { m_pImpl->SetPainter(painter); }
BOOL KvSectionButton::EnableWindow(BOOL enable) { return m_pImpl->Enable(enable); }

BOOL KvSectionButton::MoveWindow(const RECT* rect, BOOL repaint) {
  return rect && m_pImpl->MoveWindow(*rect, repaint);
}

KvSectionButton::operator HWND() const { return m_pImpl->m_hWnd; }
