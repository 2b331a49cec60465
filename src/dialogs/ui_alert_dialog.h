// Short messages: an icon, an optional bold sub-title, a wrapped message that may hold links,
// and one or two buttons. Modal; ends with 5051 (primary, or an accepted link click), 5052
// (secondary) or 5050 (close button). UiLinkAlertDialog is the same face opened from a JSON
// description, whose link clicks a caller may take over.
#pragma once

#include <functional>
#include <string>

#include "dialogs/alert_layout.h"
#include "dialogs/ui_dialog.h"
#include "view/kv_switch_button.h"

class UiAlertDialog : public UiDialog {
 public:
  // Answers non-zero to end the dialog with 5051, zero to keep it open.
  using LinkHandler = std::function<int(const std::wstring& address)>;

  UiAlertDialog(float scale, Gdiplus::Bitmap* close_normal, Gdiplus::Bitmap* close_pressed,
                Gdiplus::Bitmap* icon, int has_secondary, bool recentre,
                const std::wstring& secondary_text, const std::wstring& primary_text);

  // Before DoModal. A null `primary_text` keeps the constructor's.
  void SetUpDialog(HWND owner, SIZE size, const std::wstring& message,
                   const wchar_t* primary_text = nullptr);
  void SetFitToContent() { fit_to_content_ = true; }
  void SetSubTitle(const std::wstring& sub_title) { sub_title_ = sub_title; }
  void SetLinkHandler(LinkHandler handler) { link_handler_ = std::move(handler); }

  BEGIN_MSG_MAP(UiAlertDialog)
    COMMAND_ID_HANDLER(kCloseButtonId, OnEndCommand)
    COMMAND_ID_HANDLER(kPrimaryButtonId, OnEndCommand)
    COMMAND_ID_HANDLER(kSecondaryButtonId, OnEndCommand)
    NOTIFY_HANDLER(kDetailControlId, NM_CLICK, OnLinkClick)
    NOTIFY_HANDLER(kDetailControlId, NM_RETURN, OnLinkClick)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnStaticColor)
    CHAIN_MSG_MAP(UiDialog)
  END_MSG_MAP()

  void DrawContent(HDC dc, const RECT& content) override;

  const AlertLayout& layout() const { return layout_; }
  HWND link_control() const { return link_control_; }
  const std::wstring& message() const { return message_; }

 protected:
  void SetUp() override;
  // Lays the dialog out for its current client size and moves the children there.
  void Relayout();
  void CreateButton(KvSwitchButton& button, int id, const std::wstring& text);

  int has_secondary_ = 0;
  int vertical_button_margin_ = 0;
  int horizontal_button_margin_ = 0;
  int content_top_ = 0;
  KvSwitchButton primary_;
  KvSwitchButton secondary_;
  std::wstring sub_title_;
  LinkHandler link_handler_;
  std::wstring primary_text_;
  std::wstring secondary_text_;
  std::wstring message_;
  Gdiplus::Bitmap* icon_ = nullptr;  // not owned
  HFONT message_font_ = nullptr;     // catalogue's
  Gdiplus::Font* button_font_ = nullptr;
  HFONT sub_title_font_ = nullptr;
  bool recentre_ = false;
  HWND link_control_ = nullptr;
  int side_margin_ = 0;
  bool fit_to_content_ = false;
  AlertLayout layout_;

 private:
  LRESULT OnEndCommand(WORD, WORD id, HWND, BOOL&);
  LRESULT OnLinkClick(int, LPNMHDR header, BOOL&);
  LRESULT OnStaticColor(UINT, WPARAM wparam, LPARAM lparam, BOOL&);
};

class UiLinkAlertDialog : public UiAlertDialog {
 public:
  using UiAlertDialog::UiAlertDialog;
};
