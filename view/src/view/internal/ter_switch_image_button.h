// The window behind KvSwitchImageButton: a flat button with an image and text, an optional
// delete glyph in its top-right corner and a grey picture for the disabled state.
//
// Notifications to the parent: WM_COMMAND / BN_CLICKED from the system button; a click on the
// delete glyph is the same notification with IsDelete() true.
#pragma once

#include <memory>
#include <string>

#include "view/internal/owner_draw_button.h"

class TERSwitchImageButton : public TEROwnerDrawButton<TERSwitchImageButton> {
  using Base = TEROwnerDrawButton<TERSwitchImageButton>;

 public:
  TERSwitchImageButton() = default;
  ~TERSwitchImageButton() override = default;

  void SetInitVisible(bool visible) { m_bInitVisible = visible; }
  HWND CreateButton(HWND parent, Gdiplus::Font* font, UINT id);
  int Init(int x, int y, const wchar_t* text, DWORD normal_fill, DWORD normal_text,
           Gdiplus::Bitmap* normal_image, DWORD active_fill, DWORD active_text,
           Gdiplus::Bitmap* pressed_image);
  void SetText(const wchar_t* text);
  const std::wstring& GetText() const { return m_text; }

  void SetTextAlign(unsigned align) { m_nAlign = static_cast<int>(align); }
  void SetHMargin(int margin) { m_nHMargin = margin; }
  void SetVMargin(int margin) { m_nVMargin = margin; }
  void SetImageAndTextGap(int gap) { m_nGap = gap; }
  void SetRadio(bool radio) { m_machine.radio = radio; }
  void SetDotRight(bool dot) { m_bDotRight = dot; }
  void SetDoHover(bool hover) { m_machine.hover = hover; }
  void SetColorBorder(DWORD color) { m_crBorder = color; }
  void SetBorderWidth(float width) { m_fBorderWidth = width; }
  void SetColorDisable(DWORD fill, DWORD text) {
    m_crDisabledFill = fill;
    m_crDisabledText = text;
  }
  void SetBackgroundColor(DWORD color) { m_crBackground = color; }
  void SetRoundRectPoint(POINT point) { m_ptRound = point; }
  void SetRoundRect(bool round) { m_bRound = round; }
  void SetImageDeleteNormal(Gdiplus::Bitmap* image) { m_pDeleteNormal = image; }
  void SetImageDeletePressed(Gdiplus::Bitmap* image) { m_pDeletePressed = image; }

  float GetWidth() const { return m_layout.size.width; }
  float GetHeight() const { return m_layout.size.height; }
  int GetTextX() const { return m_layout.text.x; }
  bool IsDelete() const { return m_machine.delete_hit; }
  void ResetStatus();
  void SetPressedStatus();
  Gdiplus::Bitmap* GreyImage() const { return m_pGrey.get(); }

  void Draw(Gdiplus::Graphics& graphics, int width, int height);
  bool React(vantorel::MouseEvent event);
  void BeforePress(LPARAM lparam);  // was the delete glyph hit?
  void OnPointerMove(UINT, WPARAM, LPARAM) {
    if (m_machine.hover) ArmTracking();
  }

  BEGIN_MSG_MAP(TERSwitchImageButton)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    CHAIN_MSG_MAP(Base)
  END_MSG_MAP()

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&) { return 0; }

  void Relayout();

  int m_nInitX = 0;
  int m_nInitY = 0;
  int m_nAlign = 1;
  std::wstring m_text;
  DWORD m_crBorder = 0xFFFFFFFF;
  float m_fBorderWidth = 1.0f;
  DWORD m_crBackground = 0xFFFFFF;
  DWORD m_crText = 0;
  bool m_bDotRight = false;
  DWORD m_crNormalFill = 0;
  DWORD m_crNormalText = 0;
  Gdiplus::Bitmap* m_pNormal = nullptr;
  Gdiplus::Bitmap* m_pDeleteNormal = nullptr;
  DWORD m_crActiveFill = 0;
  DWORD m_crActiveText = 0;
  bool m_bRound = false;
  POINT m_ptRound = {};
  Gdiplus::Bitmap* m_pPressed = nullptr;
  Gdiplus::Bitmap* m_pDeletePressed = nullptr;
  std::unique_ptr<Gdiplus::Bitmap> m_pGrey;
  int m_nGap = 0;
  DWORD m_crDisabledFill = 0x7F7F7F;
  DWORD m_crDisabledText = 0x595959;
  int m_nHMargin = 0;
  int m_nVMargin = 0;
  vantorel::SwitchImageLayout m_layout;
  vantorel::SizeF m_text_size;
  vantorel::SwitchImageMachine m_machine;
  bool m_bInitVisible = true;
};
