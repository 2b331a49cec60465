#include "update/ui_update_list_dialog.h"

#include <commctrl.h>

#include "app/terrace_text.h"
#include "dialogs/shell_open.h"
#include "host/resource_catalogues.h"
#include "shell/language.h"
#include "winlayer/dc.h"

namespace {
constexpr COLORREF kOutlineColor = 0xDDDDDD;
constexpr COLORREF kWhite = 0xFFFFFF;

SIZE WindowSize(HWND window) {
  RECT rect = {};
  ::GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void MoveChild(HWND window, const RECT& rect) {
  ::MoveWindow(window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

SIZE MeasureText(HWND window, HFONT font, const std::wstring& text) {
  CClientDC dc(window);
  CSelectObject select_font(dc, font);
  SIZE size = {};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}
}  // namespace

UiUpdateListDialog::UiUpdateListDialog(float scale, Gdiplus::Bitmap* close_normal,
                                       Gdiplus::Bitmap* close_pressed)
    : UiDialog(scale, close_normal, close_pressed) {}

void UiUpdateListDialog::CreateButton(KvSwitchButton& button, int id, const wchar_t* key,
                                      const char* normal, const char* pressed) {
  button.SetDpiScale(scale());
  button.CreateButton(m_hWnd, button_font_, id);
  button.SetHMargin(Scale(20)).SetVMargin(Scale(8)).SetRoundRect(true).SetRadio(false);
  button.SetBackgroundColor(kWhite);
  button.Init(0, 0, Translate(key).c_str(), CatalogueColor(normal), kWhite, CatalogueColor(pressed),
              kWhite);
}

void UiUpdateListDialog::SetUp() {
  heading_font_ = FindFont("font:18:bold");
  text_font_ = FindFont("font:16:normal");
  button_font_ = FindGdiplusFont("font:gdiplus:15:bold");
  history_address_ = Utf8ToWide(FindUrl("url:history"));
  band_line_color_ = CatalogueColor("color:title:category:select:background");
  band_color_ = CatalogueColor("color:title:background");
  band_line_pen_.CreatePen(PS_SOLID, 2, band_line_color_);
  outline_pen_.CreatePen(PS_SOLID, 1, kOutlineColor);
  heading_ = Translate(L"new-version-found-tip");
  link_text_ = Translate(L"read-more-versions");
  // The heading names the dialog for assistive tools and for whoever looks for it.
  SetWindowTextW(heading_.c_str());

  CreateButton(remind_later_, kRemindLaterId, L"remind-me-later", "color:common:button:normal",
               "color:common:button:pressed");
  CreateButton(update_now_button_, kUpdateNowId, L"update-now",
               "color:common:button:accent:normal", "color:common:button:accent:pressed");

  const std::wstring markup =
      L"<A HREF=\"" + history_address_ + L"\">" + link_text_ + L"</A>";
  link_ = ::CreateWindowExW(0, WC_LINK, markup.c_str(), WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, m_hWnd,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLinkId)),
                            ModuleHelper::GetModuleInstance(), nullptr);
  if (link_) ::SendMessageW(link_, WM_SETFONT, reinterpret_cast<WPARAM>(text_font_), FALSE);
  link_size_ = MeasureText(m_hWnd, text_font_, link_text_);

  notes_box_ = ::CreateWindowExW(
      0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0,
      0, 0, m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kNotesId)),
      ModuleHelper::GetModuleInstance(), nullptr);
  if (notes_box_) {
    ::SendMessageW(notes_box_, WM_SETFONT, reinterpret_cast<WPARAM>(text_font_), FALSE);
    ::SendMessageW(notes_box_, EM_SETLIMITTEXT, 0, 0);
  }
  Relayout();
}

void UiUpdateListDialog::Relayout() {
  RECT client = {};
  GetClientRect(&client);
  layout_ = LayOutUpdateList({{client.right, client.bottom},
                              scale(),
                              link_size_,
                              WindowSize(remind_later_),
                              WindowSize(update_now_button_)});
  MoveChild(notes_box_, layout_.notes);
  MoveChild(link_, layout_.link);
  MoveChild(remind_later_, layout_.remind_button);
  MoveChild(update_now_button_, layout_.update_button);
}

void UiUpdateListDialog::ClearNotes() {
  if (notes_box_) ::SetWindowTextW(notes_box_, L"");
}

void UiUpdateListDialog::AppendNotes(const std::wstring& text) {
  if (!notes_box_) return;
  const LRESULT end = ::GetWindowTextLengthW(notes_box_);
  ::SendMessageW(notes_box_, EM_SETSEL, end, end);
  ::SendMessageW(notes_box_, EM_SCROLLCARET, 0, 0);
  ::SendMessageW(notes_box_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

void UiUpdateListDialog::Show(int command) {
  if (command == kShowNormal && notes_box_) {
    // The text ends with a line break, which the box counts as one more (empty) line.
    int lines = static_cast<int>(::SendMessageW(notes_box_, EM_GETLINECOUNT, 0, 0));
    const int length = ::GetWindowTextLengthW(notes_box_);
    if (length > 0 && lines > 0 &&
        ::SendMessageW(notes_box_, EM_LINELENGTH, ::SendMessageW(notes_box_, EM_LINEINDEX, lines - 1, 0), 0) == 0) {
      --lines;
    }
    ::ShowScrollBar(notes_box_, SB_VERT, NotesNeedScrollBar(lines, scale()));
    // The list opens at its top, with the newest version, wherever the appending left it.
    ::SendMessageW(notes_box_, EM_LINESCROLL, 0, -::SendMessageW(notes_box_, EM_GETFIRSTVISIBLELINE, 0, 0));
  }
  UiDialog::Show(command);
}

void UiUpdateListDialog::OnPaint() {
  RECT client = {};
  GetClientRect(&client);
  CPaintDC paint(m_hWnd);
  CMemoryDC memory(paint, client);
  memory.SetBkMode(TRANSPARENT);
  memory.FillSolidRect({0, 0, client.right, layout_.band_height}, band_color_);
  memory.FillSolidRect({0, layout_.band_height, client.right, client.bottom}, kWhite);
  {
    CSelectObject select_pen(memory, band_line_pen_);
    memory.MoveTo(0, layout_.band_height);
    memory.LineTo(client.right, layout_.band_height);
  }
  {
    CSelectObject select_font(memory, heading_font_);
    memory.SetTextColor(kWhite);
    SIZE size = {};
    memory.GetTextExtent(heading_.c_str(), static_cast<int>(heading_.size()), &size);
    RECT heading = {layout_.heading.x, layout_.heading.y, layout_.heading.x + size.cx,
                    layout_.heading.y + size.cy};
    memory.DrawText(heading_.c_str(), -1, &heading, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  }
  CSelectObject select_pen(memory, outline_pen_);
  CSelectObject select_brush(memory, ::GetStockObject(HOLLOW_BRUSH));
  memory.Rectangle(client.left, client.top, client.right, client.bottom);
}

LRESULT UiUpdateListDialog::OnControlColor(UINT, WPARAM wparam, LPARAM lparam, BOOL&) {
  // Notes and link lie on the band. A solid brush, not a hollow one: the notes box must erase
  // what it scrolls. The stock DC brush, because Wine's link control deletes the brush it is
  // given, and a stock object survives that.
  HDC dc = reinterpret_cast<HDC>(wparam);
  const HWND control = reinterpret_cast<HWND>(lparam);
  if (control == notes_box_ || control == link_) {
    if (control == notes_box_) ::SetTextColor(dc, kWhite);
    ::SetBkColor(dc, band_color_);
    ::SetDCBrushColor(dc, band_color_);
    return reinterpret_cast<LRESULT>(::GetStockObject(DC_BRUSH));
  }
  ::SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<LRESULT>(::GetStockObject(HOLLOW_BRUSH));
}

LRESULT UiUpdateListDialog::OnUpdateNow(WORD, WORD, HWND, BOOL&) {
  Show(SW_HIDE);
  if (update_now_) update_now_();
  return 0;
}

LRESULT UiUpdateListDialog::OnRemindLater(WORD, WORD, HWND, BOOL&) {
  // The update stays known: the next check shows this list again.
  Show(SW_HIDE);
  return 0;
}

LRESULT UiUpdateListDialog::OnLinkClick(int, LPNMHDR, BOOL&) {
  OpenWebAddress(history_address_);
  return 0;
}
