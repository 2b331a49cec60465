#include "dialogs/ui_setting_dialog.h"

#include <algorithm>

#include "app/terrace_text.h"
#include "host/resource_catalogues.h"
#include "shell/language.h"
#include "shell/language_site.h"
#include "ter_user_defaults.h"
#include "view/path_helper.h"
#include "view/utils.h"
#include "winlayer/dc.h"
#include "winlayer/gdi.h"

namespace {

Gdiplus::ARGB OpaqueArgb(COLORREF color) {
  return Gdiplus::Color::MakeARGB(0xFF, GetRValue(color), GetGValue(color), GetBValue(color));
}

Gdiplus::SizeF MeasureOneLine(HWND window, const std::wstring& text, Gdiplus::Font* font) {
  if (!font) return Gdiplus::SizeF();
  HDC dc = ::GetDC(window);
  Gdiplus::RectF bounds;
  {
    Gdiplus::Graphics graphics(dc);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintSystemDefault);
    graphics.MeasureString(text.c_str(), -1, font, Gdiplus::PointF(0, 0), &bounds);
  }
  ::ReleaseDC(window, dc);
  return Gdiplus::SizeF(bounds.Width, bounds.Height);
}

SIZE WindowSize(HWND window) {
  RECT rect = {};
  ::GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void MoveChild(HWND window, const RECT& rect) {
  ::MoveWindow(window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

}  // namespace

std::vector<LanguageChoice> LanguageChoices() {
  std::vector<LanguageChoice> choices;
  for (const SiteLanguage& language : SiteLanguages(GetUserDefaults("langSite")))
    choices.push_back({language.number, Utf8ToWide(language.name)});
  return choices;
}

UiSettingDialog::UiSettingDialog(float scale, Gdiplus::Bitmap* close_normal,
                                 Gdiplus::Bitmap* close_pressed, bool recentre,
                                 const std::wstring& cancel_text, const std::wstring& ok_text)
    : UiDialog(scale, close_normal, close_pressed),
      ok_text_(ok_text),
      cancel_text_(cancel_text),
      recentre_(recentre) {
  vertical_button_margin_ = Scale(6);
  horizontal_button_margin_ = Scale(20);
}

UiSettingDialog::~UiSettingDialog() = default;

void UiSettingDialog::SetUpDialog(HWND owner, SIZE size, const wchar_t* ok_text) {
  SetOwnerAndSize(owner, size);
  if (ok_text) ok_text_ = ok_text;
}

void UiSettingDialog::CreateButton(KvSwitchButton& button, int id, const std::wstring& text) {
  button.SetDpiScale(scale());
  button.CreateButton(m_hWnd, bold_font_, id);
  button.SetHMargin(horizontal_button_margin_).SetVMargin(vertical_button_margin_);
  button.SetRadio(false).SetRoundRect(true).SetRoundRectPoint(POINT{Scale(4), Scale(4)});
  button.Init(0, 0, text.c_str(), CatalogueColor("color:common:button:normal"), 0xFFFFFF,
              CatalogueColor("color:common:button:pressed"), 0xFFFFFF);
}

void UiSettingDialog::SetUp() {
  section_background_ = OpaqueArgb(CatalogueColor("color:setting:general:background"));
  section_border_ = OpaqueArgb(CatalogueColor("color:setting:general:border"));
  list_font_ = FindFont("font:16:normal");
  normal_font_ = FindGdiplusFont("font:gdiplus:16:normal");
  bold_font_ = FindGdiplusFont("font:gdiplus:16:bold");
  CreateButton(ok_, kPrimaryButtonId, ok_text_);
  CreateButton(cancel_, kSecondaryButtonId, cancel_text_);
  section_title_ = Translate(L"general");
  language_caption_ = Translate(L"language");

  language_list_ = ::CreateWindowExW(
      0, L"COMBOBOX", L"combobox", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 0,
      0, 0, m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kExpanderButtonId)),
      ModuleHelper::GetModuleInstance(), nullptr);
  ::SendMessageW(language_list_, WM_SETFONT, reinterpret_cast<WPARAM>(list_font_), TRUE);
  int selection = -1;
  for (const LanguageChoice& choice : LanguageChoices()) {
    ::SendMessageW(language_list_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.name.c_str()));
    if (selection < 0 && choice.number == language_) {
      selection = static_cast<int>(language_numbers_.size());
    }
    language_numbers_.push_back(choice.number);
  }
  if (selection >= 0) ::SendMessageW(language_list_, CB_SETCURSEL, selection, 0);
  Relayout();
  if (recentre_) CenterWindow(owner());
}

void UiSettingDialog::Relayout() {
  RECT client = {};
  GetClientRect(&client);
  SettingInput input;
  input.client = {client.right, client.bottom};
  input.scale = scale();
  input.title_height = title_height();
  input.ok = WindowSize(ok_);
  input.cancel = WindowSize(cancel_);
  input.section_title = MeasureOneLine(m_hWnd, section_title_, bold_font_);
  input.language_caption = MeasureOneLine(m_hWnd, language_caption_, normal_font_);
  layout_ = LayoutSetting(input);
  MoveChild(cancel_, layout_.cancel);
  MoveChild(ok_, layout_.ok);
  // A drop-down list's window height includes its open list.
  RECT list = layout_.list;
  list.bottom = list.top + Scale(22) * 8;
  MoveChild(language_list_, list);
  // The closed list is as high as the layout says unless its font needs more.
  TEXTMETRICW metrics = {};
  {
    CClientDC dc(language_list_);
    CSelectObject select(dc, list_font_);
    ::GetTextMetricsW(dc, &metrics);
  }
  const int edges = 6;
  const int field = std::max<int>(layout_.list.bottom - layout_.list.top - edges, metrics.tmHeight);
  ::SendMessageW(language_list_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
}

void UiSettingDialog::DrawContent(HDC dc, const RECT&) {
  Gdiplus::Graphics graphics(dc);
  graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintSystemDefault);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  Gdiplus::SolidBrush background{Gdiplus::Color(section_background_)};
  Gdiplus::Pen border(Gdiplus::Color(section_border_), 1.0f);
  graphics.FillRectangle(&background, layout_.tab);
  graphics.DrawRectangle(&border, layout_.tab);
  graphics.DrawRectangle(&border, layout_.section);
  DrawOneLine(&graphics, layout_.caption, section_title_, bold_font_, 0xFF000000, false);
  Gdiplus::GraphicsPath frame;
  Utils::CreateRoundRect(&frame, layout_.frame, layout_.frame_corner);
  Gdiplus::Pen frame_pen(Gdiplus::Color(0xFF808080), 1.0f);
  graphics.DrawPath(&frame_pen, &frame);
  Gdiplus::SolidBrush white(Gdiplus::Color(0xFFFFFFFF));
  graphics.FillRectangle(&white, layout_.language_caption);
  DrawOneLine(&graphics, layout_.language_caption, language_caption_, normal_font_, 0xFF000000,
              false);
}

LRESULT UiSettingDialog::OnOk(WORD, WORD, HWND, BOOL&) {
  const LRESULT selected = ::SendMessageW(language_list_, CB_GETCURSEL, 0, 0);
  if (selected >= 0 && static_cast<size_t>(selected) < language_numbers_.size()) {
    language_ = language_numbers_[selected];
  }
  result_ = std::make_unique<int>(language_);
  EndDialog(kPrimaryButtonId);
  return 0;
}

LRESULT UiSettingDialog::OnCancel(WORD, WORD, HWND, BOOL&) {
  EndDialog(kSecondaryButtonId);
  return 0;
}
