#include "dialogs/ui_dialog.h"

#include <windowsx.h>

#include "app/startup_layout.h"
#include "host/resource_catalogues.h"
#include "view/kv_themed_shadow_wnd.h"
#include "view/utils.h"
#include "winlayer/dc.h"
#include "winlayer/gdi.h"

namespace {
constexpr int kDialogShadowSize = 10;
constexpr COLORREF kFrameColor = 0x7F7F7F;

// The dialog template lives in the executable; without it (a test program built without the
// resource) an equivalent one is made in memory.
const DLGTEMPLATE* LoadDialogTemplate() {
  HMODULE module = ::GetModuleHandleW(nullptr);
  if (HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(kDialogTemplateId), RT_DIALOG)) {
    if (HGLOBAL loaded = ::LoadResource(module, found)) {
      return static_cast<const DLGTEMPLATE*>(::LockResource(loaded));
    }
  }
  static const CDialogTemplate fallback(WS_POPUP | WS_SYSMENU, 0, 316, 183, L"",
                                        L"MS Shell Dlg", 8);
  return fallback.Get();
}
}  // namespace

const DLGTEMPLATE* UiDialog::GetDialogTemplate() {
  static const DLGTEMPLATE* dialog_template = LoadDialogTemplate();
  return dialog_template;
}

UiDialog::UiDialog(float scale, Gdiplus::Bitmap* close_normal, Gdiplus::Bitmap* close_pressed)
    : close_normal_(close_normal),
      close_pressed_(close_pressed),
      scale_(scale),
      shadow_(new KvThemedShadowWnd()) {
  title_height_ = Scale(26);
}

UiDialog::~UiDialog() {
  DeleteShadow();
  if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

int UiDialog::Scale(int length) const { return ScaleLength(length, scale_); }

BOOL UiDialog::Create(HWND owner, SIZE size) {
  SetOwnerAndSize(owner, size);
  CDialogImpl<UiDialog>::Create(owner);
  return TRUE;
}

INT_PTR UiDialog::DoModal(HWND owner, LPARAM init) {
  return CDialogImpl<UiDialog>::DoModal(owner, init);
}

BOOL UiDialog::EndDialog(int code) {
  DeleteShadow();
  return CDialogImpl<UiDialog>::EndDialog(code);
}

void UiDialog::DeleteShadow() {
  delete shadow_;
  shadow_ = nullptr;
}

void UiDialog::Show(int command) {
  if (shadow_ && *shadow_) ::ShowWindow(*shadow_, command == kShowNormal ? SW_SHOWNA : command);
  if (owner_) ::EnableWindow(owner_, command == kShowNormal ? FALSE : TRUE);
  ShowWindow(command);
}

void UiDialog::Reset() {
  finished_ = false;
  closed_ = false;
}

void UiDialog::MarkFinished() { finished_ = true; }

void UiDialog::MoveBy(int dx, int dy) {
  RECT rect = {};
  GetWindowRect(&rect);
  SetWindowPos(nullptr, rect.left + dx, rect.top + dy, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void UiDialog::CentreOnOwner() {
  RECT owner = {};
  ::GetWindowRect(owner_, &owner);
  const int x = owner.left + ((owner.right - owner.left) - size_.cx) / 2;
  const int y = owner.top + ((owner.bottom - owner.top) - size_.cy) / 2;
  SetWindowPos(nullptr, x, y, size_.cx, size_.cy, SWP_HIDEWINDOW | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT UiDialog::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  if (!owner_) {
    // Up through parents and owners to the last window there is; our own root at worst.
    HWND window = m_hWnd;
    for (HWND next = window; next;) {
      window = next;
      next = (::GetWindowLongW(window, GWL_STYLE) & WS_CHILD) ? ::GetParent(window)
                                                               : ::GetWindow(window, GW_OWNER);
    }
    owner_ = window;
  }
  title_font_ = FindGdiplusFont("font:gdiplus:16:normal");
  CentreOnOwner();

  shadow_->Create(m_hWnd);
  shadow_->SetShadowSize(kDialogShadowSize);

  if (!custom_title_background_) title_background_ = CatalogueColor("color:title:background");

  close_button_.SetDpiScale(scale_);
  close_button_.CreateButton(m_hWnd, kCloseButtonId, true);
  close_button_.Init(close_normal_, static_cast<int>(-8 * scale_), static_cast<int>(4 * scale_),
                     close_pressed_, nullptr, 0, 0, 0, 0);
  close_button_.SetBkgColor(title_background_);

  SetUp();
  return TRUE;
}

void UiDialog::PlaceCloseButton(int top, COLORREF background, bool visible) {
  close_button_.SetBkgColor(background);
  close_button_.Init(close_normal_, -Scale(8), top, close_pressed_, nullptr, 0, 0, 0, 0);
  ::ShowWindow(close_button_, visible ? SW_SHOWNA : SW_HIDE);
}

LRESULT UiDialog::OnPaintMessage(UINT, WPARAM, LPARAM, BOOL&) {
  OnPaint();
  return 0;
}

void UiDialog::OnPaint() {
  RECT client = {};
  GetClientRect(&client);
  CPaintDC paint(m_hWnd);
  CMemoryDC memory(paint, client);
  {
    CPen frame;
    frame.CreatePen(PS_SOLID, 1, kFrameColor);
    CSelectObject select_pen(memory, frame);
    CSelectObject select_brush(memory, ::GetStockObject(WHITE_BRUSH));
    memory.Rectangle(client.left, client.top, client.right, client.bottom);
  }
  memory.FillSolidRect({client.left, client.top, client.right, client.top + title_height_},
                       title_background_);
  if (!title_.empty() && title_font_) {
    Gdiplus::Graphics graphics(memory);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintSystemDefault);
    Gdiplus::RectF bounds;
    graphics.MeasureString(title_.c_str(), -1, title_font_, Gdiplus::PointF(0, 0), &bounds);
    const float y = std::abs(title_height_ - bounds.Height) * 0.5f;
    DrawOneLine(&graphics, Gdiplus::RectF(static_cast<float>(Scale(8)), y, bounds.Width, bounds.Height),
                title_, title_font_, 0xFFFFFFFF, true);
  }
  const RECT content = {client.left + 1, client.top + title_height_, client.right - 1,
                        client.bottom - 1};
  DrawContent(memory, content);
}

void UiDialog::DrawContent(HDC, const RECT&) {}

void UiDialog::DrawOneLine(Gdiplus::Graphics* graphics, const Gdiplus::RectF& rect,
                           const std::wstring& text, Gdiplus::Font* font, Gdiplus::ARGB color,
                           bool centred) {
  if (!font) return;
  Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsNoClip);
  format.SetAlignment(centred ? Gdiplus::StringAlignmentCenter : Gdiplus::StringAlignmentNear);
  format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
  Gdiplus::SolidBrush brush{Gdiplus::Color(color)};
  // Some room beyond the measured width: measuring and drawing may differ by a pixel or two.
  Gdiplus::RectF room = rect;
  const float slack = font->GetSize();
  if (centred) {
    room.Inflate(slack, 0);
  } else {
    room.Width += slack;
  }
  graphics->DrawString(text.c_str(), -1, font, room, &format, &brush);
}

LRESULT UiDialog::OnLeftButtonDown(UINT, WPARAM, LPARAM lparam, BOOL&) {
  POINT point = {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  ClientToScreen(&point);
  // The system drags a window that was pressed on its caption.
  PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
  return 0;
}

LRESULT UiDialog::OnControlColor(UINT, WPARAM, LPARAM, BOOL&) {
  return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
}

LRESULT UiDialog::OnCloseButton(WORD, WORD, HWND, BOOL&) {
  if (owner_) ::EnableWindow(owner_, TRUE);
  Show(SW_HIDE);
  closed_ = true;
  return 0;
}
