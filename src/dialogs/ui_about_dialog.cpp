#include "dialogs/ui_about_dialog.h"

#include <commctrl.h>

#include "app/product_identity.h"
#include "app/terrace_text.h"
#include "dialogs/bounded_text.h"
#include "dialogs/shell_open.h"
#include "host/resource_catalogues.h"
#include "shell/language.h"
#include "view/utils.h"
#include "winlayer/dc.h"

namespace {
constexpr size_t kMoreInfoBuffer = 260;
constexpr COLORREF kFrameColor = 0xDDDDDD;

float OneLineHeight(Gdiplus::Graphics& graphics, const std::wstring& text, Gdiplus::Font* font) {
  if (!font) return 0;
  Gdiplus::RectF bounds;
  graphics.MeasureString(text.c_str(), -1, font, Gdiplus::PointF(0, 0), &bounds);
  return bounds.Height;
}
}  // namespace

std::wstring AboutMoreInfoText(const std::wstring& format, const std::wstring& brand) {
  return FormatBounded(format, brand, kMoreInfoBuffer);
}

std::wstring AboutRightsLine(const std::wstring& year, const std::wstring& brand) {
  return L"Copyright \u00A9 " + year + L" " + brand + L". All rights reserved.";
}

UiAboutDialog::UiAboutDialog(float scale, Gdiplus::Bitmap* close_normal,
                             Gdiplus::Bitmap* close_pressed)
    : UiAlertDialog(scale, close_normal, close_pressed, nullptr, 0, false, Translate(L"cancel"),
                    Translate(L"ok")) {}

void UiAboutDialog::SetUp() {
  name_font_ = FindGdiplusFont("font:gdiplus:19:bold");
  version_font_ = FindGdiplusFont("font:gdiplus:17:normal");
  rights_font_ = version_font_;
  link_font_ = FindFont("font:16:normal");
  more_info_font_ = FindGdiplusFont("font:gdiplus:17:bold");
  button_font_ = more_info_font_;
  logo_ = FindImage("application128x128-2.png");
  website_ = Utf8ToWide(FindUrl("url:brand"));
  product_name_ = ProductDisplayNameWide();
  version_line_ = Translate(L"version") + L": " + ProductVersionWide();
  more_info_ = AboutMoreInfoText(Translate(L"more-info-visit-%s"), BrandWordWide());
  rights_line_ = AboutRightsLine(BuildYear(), BrandWordWide());

  band_line_color_ = CatalogueColor("color:title:category:select:background");
  band_color_ = CatalogueColor("color:title:background");
  band_pen_.CreatePen(PS_SOLID, 2, band_line_color_);
  frame_pen_.CreatePen(PS_SOLID, 1, kFrameColor);

  primary_.SetDpiScale(scale());
  primary_.CreateButton(m_hWnd, more_info_font_, kPrimaryButtonId);
  primary_.SetHMargin(Scale(24)).SetVMargin(Scale(6)).SetRadio(false);
  primary_.Init(Scale(-10), Scale(-10), primary_text_.c_str(),
                CatalogueColor("color:common:button:normal"), 0xFFFFFF,
                CatalogueColor("color:common:button:pressed"), 0xFFFFFF);

  const std::wstring markup = L"<A HREF=\"" + website_ + L"\">" + website_ + L"</A>";
  link_control_ = ::CreateWindowExW(
      0, WC_LINK, markup.c_str(), WS_CHILD, 0, 0, 0, 0, m_hWnd,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kExpanderButtonId)),
      ModuleHelper::GetModuleInstance(), nullptr);
  if (link_control_) {
    ::SendMessageW(link_control_, WM_SETFONT, reinterpret_cast<WPARAM>(link_font_), FALSE);
  }
  LayOut();
}

void UiAboutDialog::LayOut() {
  RECT client = {};
  GetClientRect(&client);
  AboutInput input;
  input.client = {client.right, client.bottom};
  input.scale = scale();
  {
    CClientDC dc(m_hWnd);
    Gdiplus::Graphics graphics(dc);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintSystemDefault);
    input.name_height = OneLineHeight(graphics, product_name_, name_font_);
    input.version_height = OneLineHeight(graphics, version_line_, version_font_);
    input.more_info_height = OneLineHeight(graphics, more_info_, more_info_font_);
    input.rights_height = OneLineHeight(graphics, rights_line_, rights_font_);
    CSelectObject select(dc, link_font_);
    RECT measured = {0, 0, 0, 0};
    dc.DrawText(website_.c_str(), -1, &measured, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    input.link = {measured.right + 2, measured.bottom};
  }
  about_layout_ = LayoutAbout(input);
  if (link_control_) {
    const RECT& link = about_layout_.link;
    ::SetWindowPos(link_control_, nullptr, link.left, link.top, link.right - link.left,
                   link.bottom - link.top, SWP_NOZORDER | SWP_SHOWWINDOW);
  }
}

void UiAboutDialog::OnPaint() {
  RECT client = {};
  GetClientRect(&client);
  CPaintDC paint(m_hWnd);
  CMemoryDC memory(paint, client);
  memory.SetBkMode(TRANSPARENT);
  const int band = about_layout_.band_height;
  memory.FillSolidRect({0, 0, client.right, band}, band_color_);
  memory.FillSolidRect({0, band, client.right, client.bottom}, 0xFFFFFF);
  {
    CSelectObject select_pen(memory, band_pen_);
    memory.MoveTo(0, band);
    memory.LineTo(client.right, band);
  }
  {
    CSelectObject select_pen(memory, frame_pen_);
    CSelectObject select_brush(memory, ::GetStockObject(NULL_BRUSH));
    memory.Rectangle(client.left, client.top, client.right, client.bottom);
  }
  Gdiplus::Graphics graphics(memory);
  graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHighQuality);
  graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintSystemDefault);
  if (logo_) {
    const RECT& logo = about_layout_.logo;
    Utils::DrawImage(&graphics, logo_, logo.left, logo.top, logo.right - logo.left,
                     logo.bottom - logo.top);
  }
  Gdiplus::Color white(0xFFFFFFFF);
  Gdiplus::Color black(0xFF000000);
  Gdiplus::Color grey(0xFF7F7F7F);
  auto draw = [&](const Gdiplus::RectF& rect, const std::wstring& text, Gdiplus::Font* font,
                  Gdiplus::Color* color) {
    if (font) Utils::DrawTextCenter(&graphics, rect, text.c_str(), font, color);
  };
  draw(about_layout_.name, product_name_, name_font_, &white);
  draw(about_layout_.version, version_line_, version_font_, &white);
  draw(about_layout_.more_info, more_info_, more_info_font_, &black);
  draw(about_layout_.rights, rights_line_, rights_font_, &grey);
}

LRESULT UiAboutDialog::OnLinkClick(int, LPNMHDR header, BOOL&) {
  OpenWebAddress(reinterpret_cast<const NMLINK*>(header)->item.szUrl);
  return 0;
}
