// An image button with optional text; with alignment kTERImgButtonTextRight and kind 1 a check
// box whose state image is the box and whose logo sits between box and text.
//
//   KvImgButton button;
//   button.SetDpiScale(scale);
//   button.CreateButton(dialog, IDC_SAVE, true);
//   button.setFont(font);                       // setters after CreateButton
//   button.Init(normal, -8, 10, pressed, L"Save", 0, 4, 4, 0);   // x -8: 8 from the right
//   button.SetTooltip(L"Save the recording");
//
// The parent gets WM_COMMAND / BN_CLICKED with the id; it must reflect WM_DRAWITEM back to
// the button (REFLECT_NOTIFICATIONS), which paints there. Images and fonts stay the caller's
// and must outlive the button; the window is destroyed with its parent, before this object.
// User-interface thread only.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include "view/vantorel_export.h"

class TERImgButton;

class VANTOREL_API KvImgButton {
 public:
  KvImgButton();
  ~KvImgButton();  // leaves the window alone
  KvImgButton(const KvImgButton&) = delete;
  KvImgButton& operator=(const KvImgButton&) = delete;

  void SetDpiScale(float scale);
  int DpiScale(int length) const;  // length x scale, truncated

  // Owner-drawn child, window text "BUTTON", no size until Init.
  HWND CreateButton(HWND parent, UINT id, bool visible);
  // Sizes and places the button; a negative x or y counts from the parent's right or bottom
  // edge. Alignment 0 centres the text over the image, 1 puts it right of the image; kind 0
  // is a push button, 1 a check box. Alignment and margins are taken only with a text.
  int Init(Gdiplus::Bitmap* normal, int x, int y, Gdiplus::Bitmap* pressed = nullptr,
           const wchar_t* text = nullptr, int alignment = 0, int left_margin = 0,
           int right_margin = 0, int kind = 0);
  void SetBkgColor(DWORD color);  // otherwise the background stays transparent
  void setFont(Gdiplus::Font* font);
  void SetText(const wchar_t* text);  // null keeps the text; new width, same place and height
  void SetTextColor(DWORD normal, DWORD active, DWORD disabled);
  void SetNormalImage(Gdiplus::Bitmap* image);
  void SetPressedImage(Gdiplus::Bitmap* image);  // also hover and checked
  void SetDisableImage(Gdiplus::Bitmap* image);  // the first one set stays
  void SetChecked(bool checked);                  // no repaint: see RefreshCheckRect
  bool IsChecked() const;
  void RefreshCheckRect();
  // Check boxes only (alignment 1); a size of 0 takes the logo's own size at scale.
  void SetCheckBoxLogoImage(Gdiplus::Bitmap* logo, Gdiplus::Bitmap* checked_logo, int width,
                            int height);
  void SetCheckBoxCheckLogoGapAndLogoTextGap(int logo_gap, int logo_text_gap);
  void SetTooltip(const wchar_t* text);  // after CreateButton; a new text replaces the old
  void resizeWithFixWidth(int fix_width);  // wraps the text into that width

  BOOL EnableWindow(BOOL enable);
  BOOL MoveWindow(const RECT* rect, BOOL repaint = TRUE);
  operator HWND() const;

 private:
  TERImgButton* m_pImpl;
};
