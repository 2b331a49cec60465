#include "dialogs/ui_alert_dialog.h"

#include <commctrl.h>

#include "host/resource_catalogues.h"
#include "view/utils.h"
#include "winlayer/dc.h"
#include "winlayer/gdi.h"
#include "dialogs/shell_open.h"

namespace {
constexpr UINT kMeasureFlags = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_CALCRECT;
constexpr UINT kDrawFlags = DT_WORDBREAK | DT_EDITCONTROL;

SIZE WindowSize(HWND window) {
  RECT rect = {};
  ::GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void MoveChild(HWND window, const RECT& rect, BOOL repaint) {
  ::MoveWindow(window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               repaint);
}
}  // namespace

UiAlertDialog::UiAlertDialog(float scale, Gdiplus::Bitmap* close_normal,
                             Gdiplus::Bitmap* close_pressed, Gdiplus::Bitmap* icon,
                             int has_secondary, bool recentre, const std::wstring& secondary_text,
                             const std::wstring& primary_text)
    : UiDialog(scale, close_normal, close_pressed),
      has_secondary_(has_secondary),
      primary_text_(primary_text),
      secondary_text_(secondary_text),
      icon_(icon),
      recentre_(recentre) {
  vertical_button_margin_ = Scale(6);
  horizontal_button_margin_ = Scale(10);
  content_top_ = Scale(40);
  side_margin_ = Scale(20);
}

void UiAlertDialog::SetUpDialog(HWND owner, SIZE size, const std::wstring& message,
                                const wchar_t* primary_text) {
  SetOwnerAndSize(owner, size);
  message_ = message;
  if (primary_text) primary_text_ = primary_text;
}

void UiAlertDialog::CreateButton(KvSwitchButton& button, int id, const std::wstring& text) {
  button.SetDpiScale(scale());
  button.CreateButton(m_hWnd, button_font_, id);
  button.SetHMargin(horizontal_button_margin_);
  button.SetVMargin(vertical_button_margin_);
  button.SetRadio(false);
  button.Init(0, 0, text.c_str(), CatalogueColor("color:common:button:normal"), 0xFFFFFF,
              CatalogueColor("color:common:button:pressed"), 0xFFFFFF);
}

void UiAlertDialog::SetUp() {
  message_font_ = FindFont("font:16:normal");
  button_font_ = FindGdiplusFont("font:gdiplus:17:bold");
  sub_title_font_ = FindFont("font:17:bold");

  CreateButton(primary_, kPrimaryButtonId, primary_text_);
  CreateButton(secondary_, kSecondaryButtonId, secondary_text_);

  const std::wstring shown = Utils::PickLinkShowContent(message_);
  if (!shown.empty()) {
    link_control_ = ::CreateWindowExW(0, WC_LINK, message_.c_str(), WS_CHILD | WS_VISIBLE, 0, 0,
                                      0, 0, m_hWnd,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kDetailControlId)),
                                      ModuleHelper::GetModuleInstance(), nullptr);
    if (link_control_) ::SendMessageW(link_control_, WM_SETFONT, reinterpret_cast<WPARAM>(message_font_), TRUE);
    message_ = shown;
  }
  if (!has_secondary_) ::ShowWindow(secondary_, SW_HIDE);
  Relayout();
  if (recentre_) CenterWindow(owner());
}

void UiAlertDialog::Relayout() {
  RECT client = {};
  GetClientRect(&client);
  AlertInput input;
  input.client = {client.right - client.left, client.bottom - client.top};
  input.scale = scale();
  if (icon_ && icon_->GetLastStatus() == Gdiplus::Ok) {
    input.has_icon = true;
    input.icon_pixels = {static_cast<LONG>(icon_->GetWidth()), static_cast<LONG>(icon_->GetHeight())};
  }
  CClientDC dc(m_hWnd);
  if (!sub_title_.empty()) {
    CSelectObject select(dc, sub_title_font_);
    RECT measured = {0, 0, 0, 0};
    dc.DrawText(sub_title_.c_str(), -1, &measured, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    input.sub_title = {measured.right, measured.bottom};
  }
  input.measure_message = [&](int max_width) {
    CSelectObject select(dc, message_font_);
    RECT measured = {0, 0, max_width, 0};
    dc.DrawText(message_.c_str(), -1, &measured, kMeasureFlags);
    return SIZE{measured.right, measured.bottom};
  };
  input.primary = WindowSize(primary_);
  input.secondary = WindowSize(secondary_);
  input.has_secondary = has_secondary_ != 0;
  input.fit_to_content = fit_to_content_;
  layout_ = LayoutAlert(input);

  if (link_control_) MoveChild(link_control_, layout_.message, FALSE);
  MoveChild(secondary_, layout_.secondary, TRUE);
  MoveChild(primary_, layout_.primary, TRUE);
  if (fit_to_content_) {
    RECT window = {};
    GetWindowRect(&window);
    const int frame_height = (window.bottom - window.top) - input.client.cy;
    SetWindowPos(nullptr, 0, 0, window.right - window.left, layout_.client_height + frame_height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void UiAlertDialog::DrawContent(HDC dc, const RECT&) {
  CDCHandle memory(dc);
  if (icon_) {
    Gdiplus::Graphics graphics(dc);
    const RECT& icon = layout_.icon;
    Utils::DrawImage(&graphics, icon_, icon.left, icon.top, icon.right - icon.left,
                     icon.bottom - icon.top);
  }
  CSelectObject select(dc, message_font_);
  memory.SetBkMode(TRANSPARENT);
  if (!link_control_) {
    RECT rect = layout_.message;
    memory.DrawText(message_.c_str(), -1, &rect, kDrawFlags);
  }
  if (!sub_title_.empty()) {
    CSelectObject select_bold(dc, sub_title_font_);
    RECT rect = layout_.sub_title;
    memory.DrawText(sub_title_.c_str(), -1, &rect, DT_NOPREFIX);
  }
}

LRESULT UiAlertDialog::OnEndCommand(WORD, WORD id, HWND, BOOL&) {
  EndDialog(id);
  return 0;
}

LRESULT UiAlertDialog::OnLinkClick(int, LPNMHDR header, BOOL&) {
  const auto* link = reinterpret_cast<const NMLINK*>(header);
  const std::wstring address = link->item.szUrl;
  if (link_handler_) {
    if (link_handler_(address) != 0) EndDialog(kPrimaryButtonId);
  } else {
    OpenWebAddress(address);
  }
  return 0;
}

LRESULT UiAlertDialog::OnStaticColor(UINT, WPARAM wparam, LPARAM lparam, BOOL&) {
  HDC dc = reinterpret_cast<HDC>(wparam);
  if (reinterpret_cast<HWND>(lparam) == link_control_) {
    ::SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
  }
  ::SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
}
