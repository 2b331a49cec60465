#include "view/kv_img_button.h"

#include "view/internal/ter_img_button.h"

KvImgButton::KvImgButton() : m_pImpl(new TERImgButton()) {}
KvImgButton::~KvImgButton() { delete m_pImpl; }

void KvImgButton::SetDpiScale(float scale) { m_pImpl->SetDpiScale(scale); }
int KvImgButton::DpiScale(int length) const { return vantorel::Scale(length, m_pImpl->Scale()); }

HWND KvImgButton::CreateButton(HWND parent, UINT id, bool visible) {
  return m_pImpl->CreateButton(parent, id, visible);
}

int KvImgButton::Init(Gdiplus::Bitmap* normal, int x, int y, Gdiplus::Bitmap* pressed,
                      const wchar_t* text, int alignment, int left_margin, int right_margin,
                      int kind) {
  return m_pImpl->Init(normal, x, y, pressed, text, alignment, left_margin, right_margin, kind);
}

void KvImgButton::SetBkgColor(DWORD color) { m_pImpl->SetBkgColor(color); }
void KvImgButton::setFont(Gdiplus::Font* font) { m_pImpl->SetFont(font); }
void KvImgButton::SetText(const wchar_t* text) { m_pImpl->SetText(text); }
void KvImgButton::SetTextColor(DWORD normal, DWORD active, DWORD disabled) {
  m_pImpl->SetTextColor(normal, active, disabled);
}
void KvImgButton::SetNormalImage(Gdiplus::Bitmap* image) { m_pImpl->SetNormalImage(image); }
void KvImgButton::SetPressedImage(Gdiplus::Bitmap* image) { m_pImpl->SetPressedImage(image); }
void KvImgButton::SetDisableImage(Gdiplus::Bitmap* image) { m_pImpl->SetDisableImage(image); }
void KvImgButton::SetChecked(bool checked) { m_pImpl->SetChecked(checked); }
bool KvImgButton::IsChecked() const { return m_pImpl->IsChecked(); }
void KvImgButton::RefreshCheckRect() { m_pImpl->RefreshCheckRect(); }

void KvImgButton::SetCheckBoxLogoImage(Gdiplus::Bitmap* logo, Gdiplus::Bitmap* checked_logo,
                                       int width, int height) {
  m_pImpl->SetCheckBoxLogoImage(logo, checked_logo, width, height);
}

void KvImgButton::SetCheckBoxCheckLogoGapAndLogoTextGap(int logo_gap, int logo_text_gap) {
  m_pImpl->SetLogoGaps(logo_gap, logo_text_gap);
}

void KvImgButton::SetTooltip(const wchar_t* text) { m_pImpl->SetTooltip(text); }
void KvImgButton::resizeWithFixWidth(int fix_width) { m_pImpl->ResizeWithFixWidth(fix_width); }
BOOL KvImgButton::EnableWindow(BOOL enable) { return m_pImpl->EnableButton(enable); }

BOOL KvImgButton::MoveWindow(const RECT* rect, BOOL repaint) {
  return rect && m_pImpl->MoveWindow(*rect, repaint);
}

KvImgButton::operator HWND() const { return m_pImpl->m_hWnd; }
