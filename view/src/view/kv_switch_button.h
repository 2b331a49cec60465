// A flat text button: a filled (optionally rounded) box with centred text. In radio mode (the
// default) it stays selected after a click until ResetStatus, as a tab or one of a group of
// choices; otherwise it returns to normal when the pointer leaves.
//
//   KvSwitchButton tab;
//   tab.SetDpiScale(scale);
//   tab.CreateButton(dialog, font, IDC_TAB_GENERAL);
//   tab.SetRoundRect(true).SetColorBorder(0xCCCCCC);   // setters after CreateButton
//   tab.Init(10, -10, L"General", 0xF0F0F0, 0x333333, 0xD77800, 0xFFFFFF);
//
// The parent gets WM_COMMAND / BN_CLICKED with the id and must reflect WM_DRAWITEM back
// (REFLECT_NOTIFICATIONS). The font stays the caller's. User-interface thread only.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include "view/vantorel_export.h"

class TERSwitchButton;

class VANTOREL_API KvSwitchButton {
 public:
  KvSwitchButton();
  ~KvSwitchButton();  // leaves the window alone
  KvSwitchButton(const KvSwitchButton&) = delete;
  KvSwitchButton& operator=(const KvSwitchButton&) = delete;

  void SetDpiScale(float scale);
  int DpiScale(int length) const;  // length x scale, truncated
  void SetInitVisible(bool visible);

  // Margins 10 and corner 6 at scale; owner-drawn, visible unless SetInitVisible(false).
  HWND CreateButton(HWND parent, Gdiplus::Font* font, UINT id);
  // Text size plus margins; a negative x or y counts from the parent's right or bottom edge.
  int Init(int x, int y, const wchar_t* text, DWORD normal_fill, DWORD normal_text,
           DWORD active_fill, DWORD active_text);
  void SetText(const wchar_t* text);  // re-measured and re-placed as Init does

  KvSwitchButton& SetRadio(bool radio);
  KvSwitchButton& SetHMargin(int margin);
  KvSwitchButton& SetVMargin(int margin);
  KvSwitchButton& SetColorDisable(DWORD fill, DWORD text);
  KvSwitchButton& SetBackgroundColor(DWORD color);
  KvSwitchButton& SetRoundRectPoint(POINT point);  // x: the corner diameter
  KvSwitchButton& SetRoundRect(bool round);
  KvSwitchButton& SetColorBorder(DWORD color);     // 0xFFFFFFFF: no border

  void ResetStatus();      // normal
  void SetPressedStatus();  // selected
  void SetFont(Gdiplus::Font* font);

  BOOL EnableWindow(BOOL enable);
  BOOL MoveWindow(const RECT* rect, BOOL repaint = TRUE);
  operator HWND() const;

 private:
  TERSwitchButton* m_pImpl;
};
