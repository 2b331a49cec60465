#include "view/internal/ter_switch_button.h"

#include "view/utils.h"

using vantorel::MouseEvent;

namespace {
constexpr DWORD kNoBorder = 0xFFFFFFFF;
}

HWND TERSwitchButton::CreateButton(HWND parent, Gdiplus::Font* font, UINT id) {
  m_pFont = font;
  m_nHMargin = m_nVMargin = vantorel::Scale(10, m_fScale);
  m_ptRound.x = m_ptRound.y = vantorel::Scale(6, m_fScale);
  m_nState = vantorel::kStateNormal;
  m_bTracking = false;
  return CreateOwnerDraw(parent, id, m_bInitVisible);
}

int TERSwitchButton::Init(int x, int y, const wchar_t* text, DWORD normal_fill,
                          DWORD normal_text, DWORD active_fill, DWORD active_text) {
  m_crNormalFill = normal_fill;
  m_crNormalText = normal_text;
  m_crActiveFill = active_fill;
  m_crActiveText = active_text;
  m_crText = normal_text;
  m_nInitX = x;
  m_nInitY = y;
  if (text) m_text = text;
  Relayout();
  return 0;
}

void TERSwitchButton::SetText(const wchar_t* text) {
  if (text) m_text = text;
  Relayout();
}

void TERSwitchButton::Relayout() {
  m_size = vantorel::SwitchButtonSize(vantorel::MeasureText(m_hWnd, m_text.c_str(), m_pFont),
                                      m_nHMargin, m_nVMargin);
  if (m_hWnd) Place(m_nInitX, m_nInitY, m_size);
}

void TERSwitchButton::SetStatus(int state) {
  m_nState = state;
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

bool TERSwitchButton::React(MouseEvent event) {
  m_machine.state = m_nState;
  return Apply(vantorel::React(m_machine, event));
}

void TERSwitchButton::Draw(Gdiplus::Graphics& graphics, int width, int height) {
  graphics.Clear(vantorel::Opaque(m_crBackground));
  bool fill = true;
  DWORD fill_color = m_crNormalFill;
  switch (m_nState) {
    case vantorel::kStateNormal:
      m_crText = m_crNormalText;
      break;
    case vantorel::kStatePressed:
    case vantorel::kStateHover:
      fill_color = m_crActiveFill;
      m_crText = m_crActiveText;
      break;
    case vantorel::kStateDisabled:
      fill_color = m_crDisabledFill;
      m_crText = m_crDisabledText;
      break;
    default:
      fill = false;
      break;
  }
  const Gdiplus::RectF client(0, 0, static_cast<float>(width), static_cast<float>(height));
  Gdiplus::GraphicsPath path;
  if (m_bRound) {
    Utils::CreateRoundRect(&path, client, m_ptRound.x);
  } else {
    path.AddRectangle(client);
  }
  if (fill) {
    Gdiplus::SolidBrush brush(vantorel::Opaque(fill_color));
    graphics.FillPath(&brush, &path);
  }
  if (m_crBorder != kNoBorder) {
    Gdiplus::Pen pen(vantorel::Opaque(m_crBorder), 1.0f);
    if (m_bRound) {
      graphics.DrawPath(&pen, &path);
    } else {
      // The last row and column are still inside: all four sides show.
      graphics.DrawRectangle(&pen, 0.0f, 0.0f, client.Width - 1, client.Height - 1);
    }
  }
  if (m_pFont) {
    Gdiplus::Color text = vantorel::Opaque(m_crText);
    Utils::DrawTextCenter(&graphics, client, m_text.c_str(), m_pFont, &text);
  }
}
