// The window behind KvImgButton: an owner-drawn image button with optional text, also a
// check box with a logo (alignment kTERImgButtonTextRight, kind 1).
//
// Notifications to the parent: WM_COMMAND / BN_CLICKED from the system button, nothing else.
#pragma once

#include <string>

#include "view/internal/owner_draw_button.h"

constexpr int kTERImgButtonTextCenter = 0;
constexpr int kTERImgButtonTextRight = 1;

class TERImgButton : public TEROwnerDrawButton<TERImgButton> {
  using Base = TEROwnerDrawButton<TERImgButton>;

 public:
  TERImgButton() = default;
  ~TERImgButton() override;

  HWND CreateButton(HWND parent, UINT id, bool visible);
  int Init(Gdiplus::Bitmap* normal, int x, int y, Gdiplus::Bitmap* pressed, const wchar_t* text,
           int alignment, int left_margin, int right_margin, int kind);
  void SetBkgColor(DWORD color);
  void SetText(const wchar_t* text);
  void SetTextColor(DWORD normal, DWORD active, DWORD disabled);
  void SetNormalImage(Gdiplus::Bitmap* image) { m_pNormal = image; }
  void SetPressedImage(Gdiplus::Bitmap* image) { m_pPressed = image; }
  void SetDisableImage(Gdiplus::Bitmap* image);
  void SetChecked(bool checked) { m_machine.checked = checked; }
  bool IsChecked() const { return m_machine.checked; }
  void RefreshCheckRect();
  void SetCheckBoxLogoImage(Gdiplus::Bitmap* logo, Gdiplus::Bitmap* checked_logo, int width,
                            int height);
  void SetLogoGaps(int logo_gap, int logo_text_gap);
  void SetTooltip(const wchar_t* text);
  void ResizeWithFixWidth(int fix_width);
  HWND Tooltip() const { return m_hTooltip; }

  void Draw(Gdiplus::Graphics& graphics, int width, int height);
  bool React(vantorel::MouseEvent event);
  void OnPointerMove(UINT message, WPARAM wparam, LPARAM lparam);  // also feeds the tool tip

  BEGIN_MSG_MAP(TERImgButton)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    CHAIN_MSG_MAP(Base)
  END_MSG_MAP()

 private:
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled);

  vantorel::ImgButtonInput LayoutInput() const;

  DWORD m_crNormalText = 0;
  DWORD m_crActiveText = 0;
  DWORD m_crDisabledText = 0x787878;
  Gdiplus::Bitmap* m_pNormal = nullptr;
  Gdiplus::Bitmap* m_pPressed = nullptr;
  Gdiplus::Bitmap* m_pDisabled = nullptr;
  Gdiplus::Bitmap* m_pLogo = nullptr;
  Gdiplus::Bitmap* m_pCheckedLogo = nullptr;
  SIZE m_logo = {};
  int m_nLogoGap = 0;
  int m_nLogoTextGap = 0;
  int m_nLeftMargin = 0;
  int m_nRightMargin = 0;
  int m_nAlign = kTERImgButtonTextCenter;
  std::wstring m_text;
  SIZE m_size = {};
  int m_nInitX = 0;
  int m_nInitY = 0;
  bool m_bBackground = false;
  DWORD m_crBackground = 0;
  vantorel::ImgButtonMachine m_machine;
  RECT m_rcCheck = {};
  HWND m_hTooltip = nullptr;
};
