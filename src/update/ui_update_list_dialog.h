// Announces a new version: a heading on the coloured band, the versions with their notes,
// a link to the version history, and "update-now" / "remind-me-later". One standing
// instance (host dialog 3), filled and shown by the update flow.
#pragma once

#include <string>

#include "dialogs/ui_dialog.h"
#include "update/update_dialog_layout.h"
#include "view/kv_switch_button.h"
#include "winlayer/gdi.h"

class UiUpdateListDialog : public UiDialog {
 public:
  using UpdateNowAction = void (*)();
  static constexpr int kLinkId = kPrimaryButtonId;    // 5051
  static constexpr int kRemindLaterId = kSecondaryButtonId;  // 5052
  static constexpr int kUpdateNowId = kExpanderButtonId;     // 5053
  static constexpr int kNotesId = kDetailControlId;          // 5054

  UiUpdateListDialog(float scale, Gdiplus::Bitmap* close_normal, Gdiplus::Bitmap* close_pressed);

  // Notifications from the children: 5051 (link) NM_CLICK / NM_RETURN; 5052, 5053 BN_CLICKED.
  BEGIN_MSG_MAP(UiUpdateListDialog)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnControlColor)
    MESSAGE_HANDLER(WM_CTLCOLOREDIT, OnControlColor)
    COMMAND_ID_HANDLER(kUpdateNowId, OnUpdateNow)
    COMMAND_ID_HANDLER(kRemindLaterId, OnRemindLater)
    NOTIFY_HANDLER(kLinkId, NM_CLICK, OnLinkClick)
    NOTIFY_HANDLER(kLinkId, NM_RETURN, OnLinkClick)
    CHAIN_MSG_MAP(UiDialog)
  END_MSG_MAP()

  void ClearNotes();
  // At the end of the notes, scrolled into view.
  void AppendNotes(const std::wstring& text);
  // Showing turns the notes box's scroll bar on when it holds more lines than fit.
  void Show(int command) override;
  void OnPaint() override;

  bool has_update() const { return has_update_; }
  void set_has_update(bool has_update) { has_update_ = has_update; }
  void SetUpdateNowAction(UpdateNowAction action) { update_now_ = action; }

  const UpdateListLayout& layout() const { return layout_; }
  HWND notes_box() const { return notes_box_; }

 protected:
  void SetUp() override;

 private:
  LRESULT OnControlColor(UINT, WPARAM wparam, LPARAM lparam, BOOL&);
  LRESULT OnUpdateNow(WORD, WORD, HWND, BOOL&);
  LRESULT OnRemindLater(WORD, WORD, HWND, BOOL&);
  LRESULT OnLinkClick(int, LPNMHDR, BOOL&);

  void CreateButton(KvSwitchButton& button, int id, const wchar_t* key, const char* normal,
                    const char* pressed);
  void Relayout();

  std::wstring heading_;
  std::wstring link_text_;
  std::wstring history_address_;
  KvSwitchButton remind_later_;
  KvSwitchButton update_now_button_;
  HWND link_ = nullptr;
  HWND notes_box_ = nullptr;
  HFONT heading_font_ = nullptr;  // catalogue's
  HFONT text_font_ = nullptr;
  Gdiplus::Font* button_font_ = nullptr;
  COLORREF band_line_color_ = 0;
  COLORREF band_color_ = 0;
  CPen band_line_pen_;
  CPen outline_pen_;
  SIZE link_size_ = {};
  UpdateListLayout layout_ = {};
  bool has_update_ = false;
  UpdateNowAction update_now_ = nullptr;
};
