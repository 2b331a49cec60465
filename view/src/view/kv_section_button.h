// A button that lays itself out: an image above, left of or right of its text, four colour
// sets (normal, pressed, hover, disabled), an optional rounded outline, and optionally a
// painter of the owner's that replaces the image and text.
//
//   KvSectionButton section;
//   section.Create(parent, rect, L"Record", 0, 0, IDC_RECORD, nullptr);
//   section.SetDpiScale(scale).SetFont(font).SetImgAndTextLayoutType(kImgLeftTextRight)
//       .SetHMargin(12).SetVMargin(6).SetImageAndTextGap(6.0f)
//       .SetColorOfNormalStatus(0xFFFFFF, 0x333333, 0xDDDDDD)
//       .SetImages(record, nullptr, record_hot, nullptr);
//   section.Load(true);        // or reload(max_width, 0)
//
// The parent gets WM_COMMAND / BN_CLICKED with the id. Images and fonts stay the caller's.
// User-interface thread only.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <functional>

#include "view/vantorel_export.h"

class KvSectionImgButton;

enum ImgButtonImgAndTextLayoutType1 {
  kImgAboveText = 0,
  kImgLeftTextRight = 1,
  kTextLeftImgRight = 2,
};

class VANTOREL_API KvSectionButton {
 public:
  // (window, graphics of the off-screen picture, client rectangle, state 0..3)
  using Painter = std::function<void(HWND, Gdiplus::Graphics&, RECT&, int)>;

  KvSectionButton();
  ~KvSectionButton();  // leaves the window alone
  KvSectionButton(const KvSectionButton&) = delete;
  KvSectionButton& operator=(const KvSectionButton&) = delete;

  // Style 0: child, visible, clipping siblings and children.
  HWND Create(HWND parent, const RECT& rect, const wchar_t* text, DWORD style = 0,
              DWORD exstyle = 0, UINT id = 0, void* param = nullptr);

  KvSectionButton& SetHMargin(int margin);
  KvSectionButton& SetVMargin(int margin);
  KvSectionButton& SetCheckStyle(bool check);  // stays pressed after a click
  KvSectionButton& SetImgAndTextLayoutType(ImgButtonImgAndTextLayoutType1 type);
  KvSectionButton& SetRoundRectPoint(POINT point);  // x: the corner diameter
  KvSectionButton& SetRoundRect(bool round);
  KvSectionButton& SetRoundBkgColorOutsideBorder(DWORD color);
  KvSectionButton& SetFixWidth(bool fix);   // Load keeps the current width
  KvSectionButton& SetFixHeight(bool fix);  // Load keeps the current height
  KvSectionButton& SetFont(Gdiplus::Font* font);
  KvSectionButton& SetDpiScale(float scale);  // also the border's pen width
  KvSectionButton& Center(bool centre);
  KvSectionButton& SetImageAndTextGap(float gap);
  KvSectionButton& SetColorOfNormalStatus(DWORD background, DWORD text, DWORD border);
  KvSectionButton& SetColorOfPressedStatus(DWORD background, DWORD text, DWORD border);
  KvSectionButton& SetColorOfHoverStatus(DWORD background, DWORD text, DWORD border);
  KvSectionButton& SetColorOfDisableStatus(DWORD background, DWORD text, DWORD border);
  // A state without an image shows the normal one.
  KvSectionButton& SetImages(Gdiplus::Bitmap* normal, Gdiplus::Bitmap* pressed,
                             Gdiplus::Bitmap* hover, Gdiplus::Bitmap* disabled);
  KvSectionButton& ResetStatus();      // no repaint
  KvSectionButton& SetPressedStatus();  // no repaint
  KvSectionButton& SetTooltip(const wchar_t* text);  // after Create; replaces the old text

  void SetText(const wchar_t* text);  // the text Load(false) lays out; the window text stays
  void Load(bool reload_text);        // lays out and resizes; true re-reads the window text
  // Lays out the window text within a limit (0: none in that direction), resizes, returns
  // the size.
  SIZE reload(int max_width, int max_height);
  // Replaces the drawing of image and text; an empty painter brings the default back.
  void setFuncDrawTextAndImage(Painter& painter);

  BOOL EnableWindow(BOOL enable);  // repaints at once
  BOOL MoveWindow(const RECT* rect, BOOL repaint = TRUE);
  operator HWND() const;

 private:
  KvSectionImgButton* m_pImpl;
};
