#include "dialogs/ui_sheet_dialog.h"

#include <commctrl.h>

#include "host/resource_catalogues.h"
#include "winlayer/dc.h"

namespace {
constexpr COLORREF kFrameColor = 0x7F7F7F;

SIZE WindowSize(HWND window) {
  RECT rect = {};
  ::GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}
}  // namespace

UiSheetDialog::UiSheetDialog(float scale, Gdiplus::Bitmap* close_normal,
                             Gdiplus::Bitmap* close_pressed)
    : UiDialog(scale, close_pressed, close_normal) {
  top_offset_ = Scale(60);
  full_height_ = Scale(40);
  SetTitleBackground(kBackground);
}

BOOL UiSheetDialog::Create(HWND owner, SIZE size) {
  full_height_ = Scale(40);
  SetOwnerAndSize(owner, {size.cx, full_height_});
  CDialogImpl<UiDialog>::Create(owner);
  return TRUE;
}

void UiSheetDialog::SetUp() {
  background_brush_.CreateSolidBrush(kBackground);
  POINT origin = {0, 0};
  ::ClientToScreen(owner(), &origin);
  anchor_ = {origin.x, origin.y + Scale(68)};
  SetWindowPos(nullptr, anchor_.x, anchor_.y, size().cx, full_height_ / kSheetSlideSteps,
               SWP_HIDEWINDOW | SWP_NOZORDER | SWP_NOACTIVATE);

  PlaceCloseButton(Scale(8), kBackground, false);

  link_control_ = ::CreateWindowExW(0, WC_LINK, L"", WS_CHILD, 0, 0, 0, 0, m_hWnd,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPrimaryButtonId)),
                                    ModuleHelper::GetModuleInstance(), nullptr);
  if (link_control_) {
    ::SendMessageW(link_control_, WM_SETFONT, reinterpret_cast<WPARAM>(FindFont("font:16:normal")),
                   FALSE);
  }
  CenterWindow(owner());
}

SheetGeometry UiSheetDialog::Geometry() const {
  RECT window = {};
  ::GetWindowRect(m_hWnd, &window);
  return SheetLayout(window.right - window.left, scale(), WindowSize(close_button_));
}

void UiSheetDialog::Reposition() {
  if (!m_hWnd || !owner()) return;
  RECT owner_rect = {};
  ::GetWindowRect(owner(), &owner_rect);
  RECT window = {};
  GetWindowRect(&window);
  const RECT place = SheetPlacement(owner_rect, top_offset_, window.bottom - window.top);
  SetWindowPos(nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  const SheetGeometry geometry = Geometry();
  ::SetWindowPos(close_button_, nullptr, geometry.close.x, geometry.close.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (link_control_ && ::IsWindowVisible(link_control_)) {
    const RECT& link = geometry.link;
    ::MoveWindow(link_control_, link.left, link.top, link.right - link.left,
                 link.bottom - link.top, TRUE);
  }
}

void UiSheetDialog::SetMessage(const wchar_t* text) {
  if (!text) {
    message_.clear();
    return;
  }
  message_ = text;
  // One link without an address: the click matters, not where it points (an empty HREF is
  // shown as plain markup by some link controls).
  const std::wstring markup = L"<A>" + message_ + L"</A>";
  if (link_control_) ::SetWindowTextW(link_control_, markup.c_str());
  Invalidate(FALSE);
}

void UiSheetDialog::Show(int command) {
  ShowWindow(command == kShowNormal ? SW_SHOWNOACTIVATE : command);
}

void UiSheetDialog::ShowFor(int command, int milliseconds) {
  if (command == kShowNormal) {
    display_time_ = milliseconds;
    KillTimer(kDisplayTimer);
    SetTimer(kSlideTimer, kSlidePeriod);
    SetFinished(false);
    Show(kShowNormal);
  } else {
    SetFinished(true);
    KillTimer(kSlideTimer);
    KillTimer(kDisplayTimer);
    Show(command);
  }
}

void UiSheetDialog::Hide() {
  SetFinished(true);
  KillTimer(kSlideTimer);
  KillTimer(kDisplayTimer);
  Show(SW_HIDE);
}

LRESULT UiSheetDialog::OnTimer(UINT, WPARAM wparam, LPARAM, BOOL&) {
  if (wparam == kSlideTimer) {
    RECT window = {};
    GetWindowRect(&window);
    const int height = window.bottom - window.top;
    if (height < full_height_) {
      SetWindowPos(nullptr, 0, 0, window.right - window.left,
                   SheetNextHeight(height, full_height_),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      Invalidate(FALSE);  // the frame of the previous height is inside the new one
    } else {
      FinishSliding();
    }
  } else if (wparam == kDisplayTimer) {
    Hide();
  }
  return 0;
}

void UiSheetDialog::FinishSliding() {
  KillTimer(kSlideTimer);
  SetTimer(kDisplayTimer, static_cast<UINT>(display_time_ > 0 ? display_time_ : 0));
  const SheetGeometry geometry = Geometry();
  if (link_control_) {
    const RECT& link = geometry.link;
    ::SetWindowPos(link_control_, nullptr, link.left, link.top, link.right - link.left,
                   link.bottom - link.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  ::SetWindowPos(close_button_, nullptr, geometry.close.x, geometry.close.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  RECT window = {};
  GetWindowRect(&window);
  SetWindowPos(nullptr, 0, 0, window.right - window.left, full_height_,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Invalidate(FALSE);
}

void UiSheetDialog::OnPaint() {
  RECT client = {};
  GetClientRect(&client);
  CPaintDC paint(m_hWnd);
  CMemoryDC memory(paint, client);
  memory.FillSolidRect(client, kBackground);
  CPen frame;
  frame.CreatePen(PS_SOLID, 1, kFrameColor);
  CSelectObject select_pen(memory, frame);
  CSelectObject select_brush(memory, ::GetStockObject(NULL_BRUSH));
  memory.Rectangle(client.left, client.top, client.right, client.bottom);
}

LRESULT UiSheetDialog::OnControlColor(UINT, WPARAM wparam, LPARAM, BOOL&) {
  HDC dc = reinterpret_cast<HDC>(wparam);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetBkColor(dc, kBackground);
  return reinterpret_cast<LRESULT>(background_brush_.GetHandle());
}

LRESULT UiSheetDialog::OnCloseButton(WORD, WORD, HWND, BOOL&) {
  Hide();
  return 0;
}

LRESULT UiSheetDialog::OnLinkClick(int, LPNMHDR, BOOL&) {
  if (click_action_) click_action_();
  Hide();
  return 0;
}
