// The sheet tip: a pale yellow one-line notice that slides down below the top edge of the
// main view, holds a text that is one link, and hides itself after a display time. One
// standing instance, made by the main frame and kept aligned with the view.
#pragma once

#include <string>

#include "dialogs/sheet_layout.h"
#include "dialogs/ui_dialog.h"
#include "winlayer/gdi.h"

class UiSheetDialog : public UiDialog {
 public:
  using ClickAction = void (*)();
  static constexpr COLORREF kBackground = 0xD2FCFF;
  static constexpr UINT_PTR kSlideTimer = 1;
  static constexpr UINT_PTR kDisplayTimer = 2;
  static constexpr UINT kSlidePeriod = 50;

  // The close button shows the pressed picture at rest and the normal one while pressed.
  UiSheetDialog(float scale, Gdiplus::Bitmap* close_normal, Gdiplus::Bitmap* close_pressed);

  BEGIN_MSG_MAP(UiSheetDialog)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLeftButtonDown)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnControlColor)
    MESSAGE_HANDLER(WM_CTLCOLORDLG, OnControlColor)
    COMMAND_ID_HANDLER(kCloseButtonId, OnCloseButton)
    NOTIFY_HANDLER(kPrimaryButtonId, NM_CLICK, OnLinkClick)
    NOTIFY_HANDLER(kPrimaryButtonId, NM_RETURN, OnLinkClick)
    CHAIN_MSG_MAP(UiDialog)
  END_MSG_MAP()

  BOOL Create(HWND owner, SIZE size) override;
  // A notice: showing it neither activates it nor disables the owner.
  void Show(int command) override;
  void OnPaint() override;

  void SetTopOffset(int pixels) { top_offset_ = pixels; }
  // Under the owner's window rectangle, at its full width and the tip's current height.
  void Reposition();
  // The whole text becomes one link; null clears the text.
  void SetMessage(const wchar_t* text);
  void SetClickAction(ClickAction action) { click_action_ = action; }
  // 5 slides the tip down and keeps it `milliseconds` once fully down; anything else hides.
  void ShowFor(int command, int milliseconds);

  const std::wstring& message() const { return message_; }
  int full_height() const { return full_height_; }
  int top_offset() const { return top_offset_; }
  HWND link_control() const { return link_control_; }

 protected:
  void SetUp() override;

 private:
  LRESULT OnTimer(UINT, WPARAM wparam, LPARAM, BOOL&);
  LRESULT OnLeftButtonDown(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
  LRESULT OnControlColor(UINT, WPARAM wparam, LPARAM, BOOL&);
  LRESULT OnCloseButton(WORD, WORD, HWND, BOOL&);
  LRESULT OnLinkClick(int, LPNMHDR, BOOL&);

  void Hide();
  void FinishSliding();
  SheetGeometry Geometry() const;

  ClickAction click_action_ = nullptr;
  HWND link_control_ = nullptr;
  CBrush background_brush_;
  POINT anchor_ = {};
  std::wstring message_;
  int display_time_ = 5000;
  int top_offset_ = 0;
  int full_height_ = 0;
};
