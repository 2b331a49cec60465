// The about dialog: logo, product name and version on the title-coloured band, an invitation
// to the maker's website with its address as a link, and the rights line. Modal; OK ends
// with 5051, the close button with 5050; a click on the address opens it and keeps the
// dialog open.
#pragma once

#include <string>

#include "dialogs/about_layout.h"
#include "dialogs/ui_alert_dialog.h"
#include "winlayer/gdi.h"

class UiAboutDialog : public UiAlertDialog {
 public:
  UiAboutDialog(float scale, Gdiplus::Bitmap* close_normal, Gdiplus::Bitmap* close_pressed);

  BEGIN_MSG_MAP(UiAboutDialog)
    NOTIFY_HANDLER(kExpanderButtonId, NM_CLICK, OnLinkClick)
    NOTIFY_HANDLER(kExpanderButtonId, NM_RETURN, OnLinkClick)
    CHAIN_MSG_MAP(UiAlertDialog)
  END_MSG_MAP()

  void OnPaint() override;

  const AboutLayout& about_layout() const { return about_layout_; }
  const std::wstring& more_info() const { return more_info_; }
  const std::wstring& website() const { return website_; }

 protected:
  void SetUp() override;

 private:
  LRESULT OnLinkClick(int, LPNMHDR header, BOOL&);
  void LayOut();

  std::wstring product_name_;
  std::wstring version_line_;
  std::wstring more_info_;
  std::wstring website_;
  std::wstring rights_line_;
  AboutLayout about_layout_;
  CPen band_pen_;
  CPen frame_pen_;
  Gdiplus::Font* name_font_ = nullptr;
  Gdiplus::Font* version_font_ = nullptr;
  Gdiplus::Font* rights_font_ = nullptr;
  HFONT link_font_ = nullptr;
  Gdiplus::Font* more_info_font_ = nullptr;
  COLORREF band_line_color_ = 0;
  COLORREF band_color_ = 0;
  Gdiplus::Bitmap* logo_ = nullptr;
};

// "more-info-visit-%s" with the brand, bounded as its buffer of 260 characters.
std::wstring AboutMoreInfoText(const std::wstring& format, const std::wstring& brand);
std::wstring AboutRightsLine(const std::wstring& year, const std::wstring& brand);
