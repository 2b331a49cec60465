#include "view/internal/ter_switch_image_button.h"

#include "view/utils.h"

using vantorel::MouseEvent;

namespace {

constexpr DWORD kNoBorder = 0xFFFFFFFF;

vantorel::SizeF ScaledF(Gdiplus::Image* image, float scale) {
  if (!image) return {};
  return {static_cast<float>(image->GetWidth()) * scale,
          static_cast<float>(image->GetHeight()) * scale};
}

// The luminance of each pixel in red, green and blue; alpha kept.
std::unique_ptr<Gdiplus::Bitmap> MakeGrey(Gdiplus::Bitmap* source) {
  if (!source) return nullptr;
  const INT width = static_cast<INT>(source->GetWidth());
  const INT height = static_cast<INT>(source->GetHeight());
  Gdiplus::PixelFormat format = source->GetPixelFormat();
  // GDI+ cannot draw into an indexed bitmap.
  if (format & PixelFormatIndexed) format = PixelFormat32bppARGB;
  auto grey = std::make_unique<Gdiplus::Bitmap>(width, height, format);
  if (grey->GetLastStatus() != Gdiplus::Ok) return nullptr;
  Gdiplus::ColorMatrix matrix = {{{0.299f, 0.299f, 0.299f, 0, 0},
                                  {0.587f, 0.587f, 0.587f, 0, 0},
                                  {0.114f, 0.114f, 0.114f, 0, 0},
                                  {0, 0, 0, 1, 0},
                                  {0, 0, 0, 0, 1}}};
  Gdiplus::ImageAttributes attributes;
  attributes.SetColorMatrix(&matrix);
  Gdiplus::Graphics graphics(grey.get());
  graphics.DrawImage(source, Gdiplus::Rect(0, 0, width, height), 0, 0, width, height,
                     Gdiplus::UnitPixel, &attributes);
  return grey;
}

}  // namespace

HWND TERSwitchImageButton::CreateButton(HWND parent, Gdiplus::Font* font, UINT id) {
  m_pFont = font;
  m_nAlign = 1;
  m_machine = {};
  m_machine.radio = true;
  m_nState = vantorel::kStateNormal;
  m_bTracking = false;
  m_nHMargin = m_nVMargin = vantorel::Scale(10, m_fScale);
  m_ptRound.x = m_ptRound.y = vantorel::Scale(6, m_fScale);
  m_nGap = vantorel::Scale(4, m_fScale);
  return CreateOwnerDraw(parent, id, m_bInitVisible);
}

int TERSwitchImageButton::Init(int x, int y, const wchar_t* text, DWORD normal_fill,
                               DWORD normal_text, Gdiplus::Bitmap* normal_image,
                               DWORD active_fill, DWORD active_text,
                               Gdiplus::Bitmap* pressed_image) {
  m_nInitX = x;
  m_nInitY = y;
  if (text) m_text = text;
  m_crNormalFill = normal_fill;
  m_crNormalText = normal_text;
  m_crText = normal_text;
  m_pNormal = normal_image;
  m_crActiveFill = active_fill;
  m_crActiveText = active_text;
  m_pPressed = pressed_image;
  m_pGrey = MakeGrey(normal_image);
  Relayout();
  if (m_hWnd) {
    Place(x, y, {static_cast<LONG>(m_layout.size.width), static_cast<LONG>(m_layout.size.height)});
  }
  return 0;
}

void TERSwitchImageButton::SetText(const wchar_t* text) {
  if (text) m_text = text;
  Relayout();
  if (m_hWnd) {
    ResizeInPlace(
        {static_cast<LONG>(m_layout.size.width), static_cast<LONG>(m_layout.size.height)});
  }
}

void TERSwitchImageButton::Relayout() {
  vantorel::SwitchImageInput in;
  in.image = ScaledF(m_pNormal, m_fScale);
  m_text_size = vantorel::MeasureText(m_hWnd, m_text.c_str(), m_pFont);
  in.text = m_text_size;
  in.alignment = m_nAlign;
  in.h_margin = m_nHMargin;
  in.v_margin = m_nVMargin;
  in.gap = m_nGap;
  in.glyph = ScaledF(m_pDeleteNormal, m_fScale);
  in.scale = m_fScale;
  vantorel::LayOutSwitchImage(in, &m_layout);
}

void TERSwitchImageButton::ResetStatus() {
  m_nState = vantorel::kStateNormal;
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void TERSwitchImageButton::SetPressedStatus() {
  m_nState = vantorel::kStatePressed;
  m_machine.click_completed = true;
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

bool TERSwitchImageButton::React(MouseEvent event) {
  m_machine.state = m_nState;
  return Apply(vantorel::React(m_machine, event));
}

void TERSwitchImageButton::BeforePress(LPARAM lparam) {
  const POINT at = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  m_machine.delete_hit = ::PtInRect(&m_layout.glyph, at) != FALSE;
}

void TERSwitchImageButton::Draw(Gdiplus::Graphics& graphics, int width, int height) {
  graphics.Clear(vantorel::Opaque(m_crBackground));
  DWORD fill = m_crNormalFill;
  Gdiplus::Bitmap* image = m_pNormal;
  Gdiplus::Bitmap* glyph = m_pDeleteNormal;
  m_crText = m_crNormalText;
  if (m_nState == vantorel::kStatePressed || m_nState == vantorel::kStateHover) {
    fill = m_crActiveFill;
    m_crText = m_crActiveText;
    if (m_pPressed) image = m_pPressed;
    if (m_pDeletePressed) glyph = m_pDeletePressed;
  } else if (m_nState == vantorel::kStateDisabled) {
    fill = m_crDisabledFill;
    m_crText = m_crDisabledText;
    if (m_pGrey) image = m_pGrey.get();
  }

  const Gdiplus::RectF client(0, 0, static_cast<float>(width), static_cast<float>(height));
  Gdiplus::GraphicsPath path;
  if (m_bRound) {
    Utils::CreateRoundRect(&path, client, m_ptRound.x);
  } else {
    path.AddRectangle(client);
  }
  Gdiplus::SolidBrush brush(vantorel::Opaque(fill));
  graphics.FillPath(&brush, &path);
  Gdiplus::Pen pen(vantorel::Opaque(m_crBorder != kNoBorder ? m_crBorder : fill), m_fBorderWidth);
  graphics.DrawPath(&pen, &path);

  if (image) {
    const vantorel::SizeF size = ScaledF(m_pNormal, m_fScale);
    Utils::DrawImage(&graphics, image, m_layout.image.x, m_layout.image.y,
                     static_cast<int>(size.width), static_cast<int>(size.height));
  }
  if (m_pFont) {
    Gdiplus::Color text = vantorel::Opaque(m_crText);
    Utils::DrawTextInRect(&graphics,
                          vantorel::TextBox(static_cast<float>(m_layout.text.x),
                                            static_cast<float>(m_layout.text.y),
                                            m_text_size.width, m_text_size.height),
                          m_text.c_str(), m_pFont, &text);
  }
  if (glyph) {
    const vantorel::SizeF size = ScaledF(glyph, m_fScale);
    Utils::DrawImage(&graphics, glyph, m_layout.glyph.left, m_layout.glyph.top,
                     static_cast<int>(size.width), static_cast<int>(size.height));
  }
  if (m_bDotRight) {
    const float s = m_fScale;
    Gdiplus::Pen white(Gdiplus::Color(255, 255, 255, 255), s);
    graphics.DrawLine(&white, static_cast<float>(width) - 2 * s, s,
                      static_cast<float>(width) - 2 * s, static_cast<float>(height) - 2 * s);
  }
}
