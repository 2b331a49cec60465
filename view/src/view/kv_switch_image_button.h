// A flat button with an image and a text (image above or left of the text), an optional
// delete glyph in the top-right corner and a grey picture of its own for the disabled state.
//
//   KvSwitchImageButton item;
//   item.SetDpiScale(scale);
//   item.CreateButton(dialog, font, IDC_ITEM);
//   item.SetImageDeleteNormal(cross).SetRadio(true);   // setters after CreateButton
//   item.Init(10, 10, L"Screen", 0xFFFFFF, 0x333333, screen, 0xF5E6D2, 0xD77800, screen_on);
//   ...on BN_CLICKED: if (item.IsDelete()) remove the item.
//
// The parent gets WM_COMMAND / BN_CLICKED with the id and must reflect WM_DRAWITEM back
// (REFLECT_NOTIFICATIONS). Images and fonts stay the caller's. User-interface thread only.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <string>

#include "view/vantorel_export.h"

class TERSwitchImageButton;

class VANTOREL_API KvSwitchImageButton {
 public:
  KvSwitchImageButton();
  ~KvSwitchImageButton();  // leaves the window alone
  KvSwitchImageButton(const KvSwitchImageButton&) = delete;
  KvSwitchImageButton& operator=(const KvSwitchImageButton&) = delete;

  void SetDpiScale(float scale);
  float DpiScale(int length) const;  // length x scale, not truncated
  void SetInitVisible(bool visible);

  // Image above text, hover on, margins 10, corner 6 and gap 4 at scale.
  HWND CreateButton(HWND parent, Gdiplus::Font* font, UINT id);
  // Lays out and places the button (a negative x or y counts from the far edge) and makes
  // the grey picture from `normal_image`.
  int Init(int x, int y, const wchar_t* text, DWORD normal_fill, DWORD normal_text,
           Gdiplus::Bitmap* normal_image, DWORD active_fill, DWORD active_text,
           Gdiplus::Bitmap* pressed_image);
  void SetText(const wchar_t* text);  // new size at the same place
  std::wstring GetText() const;

  KvSwitchImageButton& SetTextAlign(unsigned align);  // 1: image above text, 2: image left
  KvSwitchImageButton& SetHMargin(int margin);
  KvSwitchImageButton& SetVMargin(int margin);
  KvSwitchImageButton& SetImageAndTextGap(int gap);
  KvSwitchImageButton& SetRadio(bool radio);
  KvSwitchImageButton& SetDotRight(bool dot);  // a white separator along the right edge
  KvSwitchImageButton& SetDoHover(bool hover);
  KvSwitchImageButton& SetColorBorder(DWORD color);  // 0xFFFFFFFF: outline in the fill colour
  KvSwitchImageButton& SetBorderWidth(float width);
  KvSwitchImageButton& SetColorDisable(DWORD fill, DWORD text);
  KvSwitchImageButton& SetBackgroundColor(DWORD color);
  KvSwitchImageButton& SetRoundRectPoint(POINT point);  // x: the corner diameter
  KvSwitchImageButton& SetRoundRect(bool round);
  KvSwitchImageButton& SetImageDeleteNormal(Gdiplus::Bitmap* image);
  KvSwitchImageButton& SetImageDeletePressed(Gdiplus::Bitmap* image);

  float GetWidth() const;
  float GetHeight() const;
  int GetTextX() const;
  bool IsDelete() const;  // the last press hit the delete glyph
  void ResetStatus();
  void SetPressedStatus();  // selected, as after a completed click
  void SetFont(Gdiplus::Font* font);

  BOOL EnableWindow(BOOL enable);
  BOOL MoveWindow(const RECT* rect, BOOL repaint = TRUE);
  operator HWND() const;

 private:
  TERSwitchImageButton* m_pImpl;
};
