// The settings page: one "general" section with the interface language, chosen from the
// languages the language site offers. Modal; OK ends with 5051 and hands the chosen number
// over through TakeResult, Cancel and the close button end with 5052.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dialogs/setting_layout.h"
#include "dialogs/ui_dialog.h"
#include "view/kv_switch_button.h"

class UiSettingDialog : public UiDialog {
 public:
  UiSettingDialog(float scale, Gdiplus::Bitmap* close_normal, Gdiplus::Bitmap* close_pressed,
                  bool recentre, const std::wstring& cancel_text, const std::wstring& ok_text);
  ~UiSettingDialog() override;

  // Before DoModal; a null `ok_text` keeps the constructor's label.
  void SetUpDialog(HWND owner, SIZE size, const wchar_t* ok_text = nullptr);
  void SetLanguage(int language) { language_ = language; }
  int language() const { return language_; }
  // The number chosen with OK, or null; the caller owns it.
  std::unique_ptr<int> TakeResult() { return std::move(result_); }

  BEGIN_MSG_MAP(UiSettingDialog)
    COMMAND_ID_HANDLER(kPrimaryButtonId, OnOk)
    COMMAND_ID_HANDLER(kSecondaryButtonId, OnCancel)
    COMMAND_ID_HANDLER(kCloseButtonId, OnCancel)
    CHAIN_MSG_MAP(UiDialog)
  END_MSG_MAP()

  void DrawContent(HDC dc, const RECT& content) override;

  const SettingLayout& layout() const { return layout_; }
  HWND language_list() const { return language_list_; }
  const std::vector<int>& language_numbers() const { return language_numbers_; }

 protected:
  void SetUp() override;

 private:
  LRESULT OnOk(WORD, WORD, HWND, BOOL&);
  LRESULT OnCancel(WORD, WORD, HWND, BOOL&);

  void Relayout();
  void CreateButton(KvSwitchButton& button, int id, const std::wstring& text);

  int vertical_button_margin_ = 0;
  int horizontal_button_margin_ = 0;
  KvSwitchButton ok_;
  KvSwitchButton cancel_;
  std::wstring ok_text_;
  std::wstring cancel_text_;
  bool recentre_ = false;
  HFONT list_font_ = nullptr;
  Gdiplus::Font* normal_font_ = nullptr;
  Gdiplus::Font* bold_font_ = nullptr;
  Gdiplus::ARGB section_background_ = 0xFF000000;
  Gdiplus::ARGB section_border_ = 0xFF000000;
  std::wstring section_title_;
  std::wstring language_caption_;
  SettingLayout layout_;
  HWND language_list_ = nullptr;
  std::vector<int> language_numbers_;
  int language_ = 3;
  std::unique_ptr<int> result_;
};

// The language site's entries in its own order: number and display name.
struct LanguageChoice {
  int number;
  std::wstring name;
};
std::vector<LanguageChoice> LanguageChoices();
