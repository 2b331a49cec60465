#include "view/internal/ter_img_button.h"

#include <commctrl.h>

#include "view/internal/tooltip.h"
#include "view/utils.h"

using vantorel::MouseEvent;

TERImgButton::~TERImgButton() {
  if (m_hTooltip && ::IsWindow(m_hTooltip)) ::DestroyWindow(m_hTooltip);
}

HWND TERImgButton::CreateButton(HWND parent, UINT id, bool visible) {
  m_bBackground = false;
  return CreateOwnerDraw(parent, id, visible);
}

vantorel::ImgButtonInput TERImgButton::LayoutInput() const {
  vantorel::ImgButtonInput in;
  in.image = vantorel::ScaledImageSize(m_pNormal, m_fScale);
  in.has_text = !m_text.empty();
  in.text = vantorel::MeasureText(m_hWnd, m_text.c_str(), m_pFont);
  in.alignment = m_nAlign;
  in.left_margin = m_nLeftMargin;
  in.right_margin = m_nRightMargin;
  in.logo = m_logo;
  in.logo_gap = m_nLogoGap;
  in.logo_text_gap = m_nLogoTextGap;
  return in;
}

int TERImgButton::Init(Gdiplus::Bitmap* normal, int x, int y, Gdiplus::Bitmap* pressed,
                       const wchar_t* text, int alignment, int left_margin, int right_margin,
                       int kind) {
  m_pNormal = normal;
  m_pPressed = pressed;
  if (text) {
    m_text = text;
    m_nAlign = alignment;
    m_nLeftMargin = left_margin;
    m_nRightMargin = right_margin;
  }
  m_machine.kind = kind;
  m_bTracking = false;
  m_nInitX = x;
  m_nInitY = y;
  m_size = vantorel::ImgButtonSize(LayoutInput());
  if (m_hWnd) Place(x, y, m_size);
  return 0;
}

void TERImgButton::SetBkgColor(DWORD color) {
  m_bBackground = true;
  m_crBackground = color;
}

void TERImgButton::SetText(const wchar_t* text) {
  if (text) m_text = text;
  m_size.cx = vantorel::ImgButtonWidth(LayoutInput());
  if (m_hWnd) ResizeInPlace(m_size);
}

void TERImgButton::SetTextColor(DWORD normal, DWORD active, DWORD disabled) {
  m_crNormalText = normal;
  m_crActiveText = active;
  m_crDisabledText = disabled;
}

void TERImgButton::SetDisableImage(Gdiplus::Bitmap* image) {
  if (!m_pDisabled) m_pDisabled = image;
}

void TERImgButton::RefreshCheckRect() {
  if (m_hWnd) ::InvalidateRect(m_hWnd, &m_rcCheck, FALSE);
}

void TERImgButton::SetCheckBoxLogoImage(Gdiplus::Bitmap* logo, Gdiplus::Bitmap* checked_logo,
                                        int width, int height) {
  if (m_nAlign != kTERImgButtonTextRight) {
    vantorel::LogLine("KvImgButton::SetCheckBoxLogoImage", "needs the text-right alignment");
    return;
  }
  m_pLogo = logo;
  m_pCheckedLogo = checked_logo;
  const SIZE own = vantorel::ScaledImageSize(logo, m_fScale);
  m_logo = {width ? width : own.cx, height ? height : own.cy};
  m_size = vantorel::ImgButtonSizeWithLogo(LayoutInput(), {width, height});
  if (m_hWnd) ResizeInPlace(m_size);
}

void TERImgButton::SetLogoGaps(int logo_gap, int logo_text_gap) {
  m_nLogoGap = logo_gap;
  m_nLogoTextGap = logo_text_gap;
}

void TERImgButton::SetTooltip(const wchar_t* text) {
  if (!m_hWnd) {
    vantorel::LogLine("KvImgButton::SetTooltip", "no window yet");
    return;
  }
  if (!m_hTooltip) m_hTooltip = vantorel::CreateTooltipWindow(m_hWnd);
  vantorel::SetToolText(m_hTooltip, m_hWnd, text);
}

void TERImgButton::ResizeWithFixWidth(int fix_width) {
  const vantorel::ImgButtonInput in = LayoutInput();
  const vantorel::SizeF wrapped = vantorel::MeasureText(
      m_hWnd, m_text.c_str(), m_pFont, vantorel::ImgButtonWrapWidth(in, fix_width), 0);
  m_size = vantorel::ImgButtonFixWidthSize(m_size, fix_width, wrapped);
  if (m_hWnd) {
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, m_size.cx, m_size.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

bool TERImgButton::React(MouseEvent event) {
  m_machine.state = m_nState;
  return Apply(vantorel::React(m_machine, event), &m_rcCheck);
}

void TERImgButton::OnPointerMove(UINT message, WPARAM wparam, LPARAM lparam) {
  vantorel::RelayToTooltip(m_hTooltip, m_hWnd, message, wparam, lparam);
  ArmTracking();
}

LRESULT TERImgButton::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  if (m_hTooltip) ::DestroyWindow(m_hTooltip);
  m_hTooltip = nullptr;
  handled = FALSE;
  return 0;
}

void TERImgButton::Draw(Gdiplus::Graphics& graphics, int width, int height) {
  if (m_bBackground) graphics.Clear(vantorel::Opaque(m_crBackground));
  Gdiplus::Bitmap* image = m_pNormal;
  Gdiplus::Bitmap* logo = m_pLogo;
  DWORD color = m_crNormalText;
  // A missing pressed or disabled picture falls back to the normal one, so the button never
  // vanishes under the pointer.
  Gdiplus::Bitmap* pressed = m_pPressed ? m_pPressed : m_pNormal;
  Gdiplus::Bitmap* disabled = m_pDisabled ? m_pDisabled : m_pNormal;
  if (m_machine.kind == 1) {
    if (m_nState == vantorel::kStateDisabled) {
      image = disabled;
      color = m_crDisabledText;
    } else if (m_machine.checked) {
      image = pressed;
      logo = m_pCheckedLogo;
      color = m_crActiveText;
    }
  } else if (m_nState == vantorel::kStatePressed || m_nState == vantorel::kStateHover) {
    image = pressed;
    color = m_crActiveText;
  } else if (m_nState == vantorel::kStateDisabled) {
    image = disabled;
    color = m_crDisabledText;
  }
  if (!image) return;

  const SIZE img = vantorel::ScaledImageSize(m_pNormal, m_fScale);
  Gdiplus::Color text_color = vantorel::Opaque(color);
  if (m_text.empty()) {
    const int top = (height - img.cy) / 2;
    m_rcCheck = {0, top, img.cx, top + img.cy};
    Utils::DrawImage(&graphics, image, 0, 0, img.cx, img.cy);
    return;
  }
  if (m_nAlign == kTERImgButtonTextCenter) {
    Utils::DrawImage(&graphics, image, m_nLeftMargin, 0,
                     m_size.cx - m_nLeftMargin - m_nRightMargin, m_size.cy);
    if (m_pFont) {
      Utils::DrawTextCenter(
          &graphics,
          vantorel::TextBox(static_cast<float>(m_nLeftMargin), 0,
                            static_cast<float>(width - m_nLeftMargin - m_nRightMargin),
                            static_cast<float>(height)),
          m_text.c_str(), m_pFont, &text_color);
    }
    return;
  }
  if (m_nAlign != kTERImgButtonTextRight) return;
  const int top = (height - img.cy) / 2;
  m_rcCheck = {0, top, img.cx, top + img.cy};
  Utils::DrawImage(&graphics, image, 0, top, img.cx, img.cy);
  int x = img.cx;
  if (logo) {
    Utils::DrawImage(&graphics, logo, img.cx + m_nLogoGap, (height - m_logo.cy) / 2, m_logo.cx,
                     m_logo.cy);
    x += m_nLogoGap + m_logo.cx;
  }
  x += m_nLogoTextGap;
  if (m_pFont) {
    Utils::DrawTextInRectVerticalCenter(
        &graphics,
        vantorel::TextBox(static_cast<float>(x), 0, static_cast<float>(width - x),
                          static_cast<float>(height)),
        m_text.c_str(), m_pFont, &text_color);
  }
}
