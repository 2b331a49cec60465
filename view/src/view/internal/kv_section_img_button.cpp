#include "view/internal/kv_section_img_button.h"

#include <commctrl.h>

#include <memory>

#include "view/internal/offscreen_canvas.h"
#include "view/internal/tooltip.h"
#include "view/utils.h"

using vantorel::MouseEvent;
using vantorel::SectionLayoutType;

namespace {

Gdiplus::StringFormat* NewFormat(SectionLayoutType type) {
  auto* format = new Gdiplus::StringFormat(0, LANG_NEUTRAL);
  format->SetAlignment(type == SectionLayoutType::kImageAboveText
                           ? Gdiplus::StringAlignmentCenter
                           : Gdiplus::StringAlignmentNear);
  format->SetLineAlignment(Gdiplus::StringAlignmentCenter);
  return format;
}

}  // namespace

KvSectionImgButton::~KvSectionImgButton() {
  if (m_hTooltip && ::IsWindow(m_hTooltip)) ::DestroyWindow(m_hTooltip);
}

HWND KvSectionImgButton::CreateSection(HWND parent, const RECT& rect, const wchar_t* text,
                                       DWORD style, DWORD exstyle, UINT id, void* param) {
  if (text) m_text = text;
  return Create(parent, rect, text, style, exstyle, id, param);
}

vantorel::SectionInput KvSectionImgButton::LayoutInput() const {
  vantorel::SectionInput in;
  in.type = m_type;
  RECT client = {};
  if (m_hWnd) ::GetClientRect(m_hWnd, &client);
  in.client = {client.right, client.bottom};
  in.image = vantorel::ScaledImageSize(m_looks[0].image, m_fScale);
  in.has_text = !m_text.empty();
  in.h_margin = m_nHMargin;
  in.v_margin = m_nVMargin;
  in.gap = m_fGap;
  in.fix_width = m_bFixWidth;
  in.fix_height = m_bFixHeight;
  in.centre = m_bCentre;
  return in;
}

vantorel::SectionMeasure KvSectionImgButton::Measurer() const {
  return [this](float box_width, float box_height) {
    std::unique_ptr<Gdiplus::StringFormat> format(NewFormat(m_type));
    return vantorel::MeasureText(m_hWnd, m_text.c_str(), m_pFont, box_width, box_height,
                                 format.get());
  };
}

void KvSectionImgButton::ApplyLayout(const vantorel::SectionLayout& layout) {
  m_rcImage = layout.image;
  m_rcText = layout.text;
  if (!m_hWnd) return;
  RECT client = {};
  ::GetClientRect(m_hWnd, &client);
  if (client.right != layout.size.cx || client.bottom != layout.size.cy) {
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, layout.size.cx, layout.size.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
  }
}

void KvSectionImgButton::Load(bool reload_text) {
  if (reload_text && m_hWnd) m_text = Utils::GetEditValue(m_hWnd);
  m_rcText = {};
  ApplyLayout(vantorel::LayOutSection(LayoutInput(), Measurer()));
}

SIZE KvSectionImgButton::Reload(int max_width, int max_height) {
  if (m_hWnd) m_text = Utils::GetEditValue(m_hWnd);
  const vantorel::SectionLayout layout =
      vantorel::LayOutSectionWithin(LayoutInput(), max_width, max_height, Measurer());
  ApplyLayout(layout);
  return layout.size;
}

void KvSectionImgButton::SetTooltip(const wchar_t* text) {
  if (!m_hWnd) {
    vantorel::LogLine("KvSectionButton::SetTooltip", "no window yet");
    return;
  }
  if (!m_hTooltip) m_hTooltip = vantorel::CreateTooltipWindow(m_hWnd);
  vantorel::SetToolText(m_hTooltip, m_hWnd, text);
}

BOOL KvSectionImgButton::Enable(BOOL enable) {
  m_machine.state = enable ? vantorel::kStateNormal : vantorel::kStateDisabled;
  const BOOL result = ::EnableWindow(m_hWnd, enable);
  ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  return result;
}

void KvSectionImgButton::React(MouseEvent event) {
  const int before = m_machine.state;
  vantorel::React(m_machine, event);
  if (m_machine.state != before && m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

LRESULT KvSectionImgButton::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL& handled) {
  React(MouseEvent::kDown);
  handled = FALSE;
  return 0;
}

LRESULT KvSectionImgButton::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL& handled) {
  React(MouseEvent::kUpInside);
  handled = FALSE;
  return 0;
}

LRESULT KvSectionImgButton::OnMouseMove(UINT message, WPARAM wparam, LPARAM lparam,
                                        BOOL& handled) {
  vantorel::RelayToTooltip(m_hTooltip, m_hWnd, message, wparam, lparam);
  // The hot-item notification needs a parent that reflects it; the pointer's own entering
  // and leaving drive the same change without one.
  if (!m_bHot) {
    m_bHot = true;
    React(MouseEvent::kHover);
  }
  TRACKMOUSEEVENT track = {sizeof(track), TME_QUERY, m_hWnd, 0};
  ::TrackMouseEvent(&track);
  if (!(track.dwFlags & TME_LEAVE) || track.hwndTrack != m_hWnd) {
    TRACKMOUSEEVENT leave = {sizeof(leave), TME_LEAVE, m_hWnd, HOVER_DEFAULT};
    if (track.hwndTrack == m_hWnd) leave.dwFlags |= track.dwFlags & TME_HOVER;
    ::TrackMouseEvent(&leave);
  }
  handled = FALSE;
  return 0;
}

LRESULT KvSectionImgButton::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL& handled) {
  m_bHot = false;
  React(MouseEvent::kLeave);
  handled = FALSE;
  return 0;
}

LRESULT KvSectionImgButton::OnReflectedNotify(UINT, WPARAM, LPARAM lparam, BOOL& handled) {
  const auto* header = reinterpret_cast<const NMHDR*>(lparam);
  if (header->code != BCN_HOTITEMCHANGE) {
    handled = FALSE;
    return 0;
  }
  const auto* hot = reinterpret_cast<const NMBCHOTITEM*>(lparam);
  if (hot->dwFlags & HICF_ENTERING) {
    m_bHot = true;
    React(MouseEvent::kHover);
    if (m_hTooltip) {
      const DWORD pos = ::GetMessagePos();
      POINT at = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
      ::ScreenToClient(m_hWnd, &at);
      vantorel::RelayToTooltip(m_hTooltip, m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    }
  } else if (hot->dwFlags & HICF_LEAVING) {
    m_bHot = false;
    React(MouseEvent::kLeave);
  }
  return 0;
}

LRESULT KvSectionImgButton::OnClick(UINT, WPARAM, LPARAM, BOOL& handled) {
  React(MouseEvent::kClick);
  handled = FALSE;
  return 0;
}

LRESULT KvSectionImgButton::OnSystemRepaint(UINT message, WPARAM wparam, LPARAM lparam, BOOL&) {
  const LRESULT result = DefWindowProc(message, wparam, lparam);
  ::InvalidateRect(m_hWnd, nullptr, FALSE);
  return result;
}

LRESULT KvSectionImgButton::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  if (m_hTooltip) ::DestroyWindow(m_hTooltip);
  m_hTooltip = nullptr;
  handled = FALSE;
  return 0;
}

LRESULT KvSectionImgButton::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  PaintTo(dc);
  ::EndPaint(m_hWnd, &paint);
  return 0;
}

LRESULT KvSectionImgButton::OnPrintClient(UINT, WPARAM wparam, LPARAM, BOOL&) {
  PaintTo(reinterpret_cast<HDC>(wparam));
  return 0;
}

void KvSectionImgButton::PaintTo(HDC dc) {
  RECT client = {};
  ::GetClientRect(m_hWnd, &client);
  vantorel::COffscreenCanvas canvas(client.right, client.bottom);
  Draw(canvas.graphics(), client);
  canvas.CopyTo(dc);
}

void KvSectionImgButton::Draw(Gdiplus::Graphics& graphics, RECT client) {
  const StateLook& look = m_looks[m_machine.state & 3];
  const float width = static_cast<float>(client.right);
  const float height = static_cast<float>(client.bottom);
  Gdiplus::GraphicsPath path;
  if (m_bRound) {
    graphics.Clear(vantorel::Opaque(m_crOutside));
    Utils::CreateRoundRect(&path, Gdiplus::RectF(0, 0, width, height), m_ptRound.x);
  } else {
    path.AddRectangle(Gdiplus::RectF(0, 0, width - 1, height - 1));
  }
  Gdiplus::SolidBrush brush(vantorel::Opaque(look.background));
  graphics.FillPath(&brush, &path);
  Gdiplus::Pen pen(vantorel::Opaque(look.border), m_fScale);
  graphics.DrawPath(&pen, &path);

  if (m_painter) {
    m_painter(m_hWnd, graphics, client, m_machine.state);
    return;
  }
  Gdiplus::Bitmap* image = look.image ? look.image : m_looks[0].image;
  if (image) {
    Utils::DrawImage(&graphics, image,
                     Gdiplus::Rect(m_rcImage.left, m_rcImage.top, m_rcImage.right - m_rcImage.left,
                                   m_rcImage.bottom - m_rcImage.top));
  }
  if (m_pFont && !m_text.empty()) {
    Gdiplus::Color color = vantorel::Opaque(look.text);
    const Gdiplus::RectF rect =
        vantorel::TextBox(m_rcText.x, m_rcText.y, m_rcText.width, m_rcText.height);
    if (m_type == SectionLayoutType::kImageAboveText) {
      Utils::DrawTextCenter(&graphics, rect, m_text.c_str(), m_pFont, &color);
    } else {
      Utils::DrawTextInRectVerticalCenter(&graphics, rect, m_text.c_str(), m_pFont, &color);
    }
  }
}
