// The window behind KvSwitchButton: a flat text button that stays selected (radio mode, the
// default) as a tab or a choice among several.
//
// Notifications to the parent: WM_COMMAND / BN_CLICKED from the system button, nothing else.
#pragma once

#include <string>

#include "view/internal/owner_draw_button.h"

class TERSwitchButton : public TEROwnerDrawButton<TERSwitchButton> {
  using Base = TEROwnerDrawButton<TERSwitchButton>;

 public:
  TERSwitchButton() = default;
  ~TERSwitchButton() override = default;

  void SetInitVisible(bool visible) { m_bInitVisible = visible; }
  HWND CreateButton(HWND parent, Gdiplus::Font* font, UINT id);
  int Init(int x, int y, const wchar_t* text, DWORD normal_fill, DWORD normal_text,
           DWORD active_fill, DWORD active_text);
  void SetText(const wchar_t* text);
  void SetRadio(bool radio) { m_machine.radio = radio; }
  void SetHMargin(int margin) { m_nHMargin = margin; }
  void SetVMargin(int margin) { m_nVMargin = margin; }
  void SetColorDisable(DWORD fill, DWORD text) {
    m_crDisabledFill = fill;
    m_crDisabledText = text;
  }
  void SetBackgroundColor(DWORD color) { m_crBackground = color; }
  void SetRoundRectPoint(POINT point) { m_ptRound = point; }
  void SetRoundRect(bool round) { m_bRound = round; }
  void SetColorBorder(DWORD color) { m_crBorder = color; }
  void SetStatus(int state);

  void Draw(Gdiplus::Graphics& graphics, int width, int height);
  bool React(vantorel::MouseEvent event);

  BEGIN_MSG_MAP(TERSwitchButton)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    CHAIN_MSG_MAP(Base)
  END_MSG_MAP()

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&) { return 0; }

  void Relayout();

  int m_nInitX = 0;
  int m_nInitY = 0;
  vantorel::SwitchButtonMachine m_machine;
  DWORD m_crText = 0;
  std::wstring m_text;
  DWORD m_crNormalFill = 0;
  DWORD m_crNormalText = 0;
  DWORD m_crActiveFill = 0;
  DWORD m_crActiveText = 0;
  DWORD m_crDisabledFill = 0x7F7F7F;
  DWORD m_crDisabledText = 0xFFFFFF;
  int m_nHMargin = 0;
  int m_nVMargin = 0;
  SIZE m_size = {};
  bool m_bRound = false;
  POINT m_ptRound = {};
  DWORD m_crBorder = 0xFFFFFFFF;
  DWORD m_crBackground = 0xFFFFFF;
  bool m_bInitVisible = true;
};
