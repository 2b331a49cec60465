// The window behind KvSectionButton: a button that lays itself out (image above, left or right
// of its text), paints itself in WM_PAINT with a colour set per state, and may hand the
// image-and-text part to a painter of the owner's.
//
// Notifications to the parent: WM_COMMAND / BN_CLICKED from the system button, nothing else.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <functional>
#include <string>

#include "view/internal/button_layout.h"
#include "view/internal/button_state.h"
#include "view/internal/control_window.h"

using SectionPainter = std::function<void(HWND, Gdiplus::Graphics&, RECT&, int)>;

class KvSectionImgButton : public TERControlWindow<KvSectionImgButton> {
 public:
  DECLARE_WND_SUPERCLASS(nullptr, L"BUTTON")

  KvSectionImgButton() = default;
  ~KvSectionImgButton() override;

  struct StateLook {
    DWORD background = 0xFFFFFF;
    DWORD text = 0;
    DWORD border = 0xFFFFFF;
    Gdiplus::Bitmap* image = nullptr;
  };

  HWND CreateSection(HWND parent, const RECT& rect, const wchar_t* text, DWORD style,
                     DWORD exstyle, UINT id, void* param);

  int State() const { return m_machine.state; }
  void SetState(int state) { m_machine.state = state; }
  StateLook& Look(int state) { return m_looks[state & 3]; }
  void SetHMargin(int margin) { m_nHMargin = margin; }
  void SetVMargin(int margin) { m_nVMargin = margin; }
  void SetCheckStyle(bool check) { m_machine.check_style = check; }
  void SetLayoutType(vantorel::SectionLayoutType type) { m_type = type; }
  void SetRoundRectPoint(POINT point) { m_ptRound = point; }
  void SetRoundRect(bool round) { m_bRound = round; }
  void SetOutsideColor(DWORD color) { m_crOutside = color; }
  void SetFixWidth(bool fix) { m_bFixWidth = fix; }
  void SetFixHeight(bool fix) { m_bFixHeight = fix; }
  void SetFont(Gdiplus::Font* font) { m_pFont = font; }
  void SetDpiScale(float scale) { m_fScale = scale; }
  void SetCentre(bool centre) { m_bCentre = centre; }
  void SetGap(float gap) { m_fGap = gap; }
  void SetText(const wchar_t* text) { m_text = text ? text : L""; }
  void SetPainter(const SectionPainter& painter) { m_painter = painter; }

  void Load(bool reload_text);
  SIZE Reload(int max_width, int max_height);
  void SetTooltip(const wchar_t* text);
  HWND Tooltip() const { return m_hTooltip; }
  BOOL Enable(BOOL enable);

  BEGIN_MSG_MAP(KvSectionImgButton)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
    MESSAGE_HANDLER(OCM_NOTIFY, OnReflectedNotify)
    MESSAGE_HANDLER(BM_CLICK, OnClick)
    MESSAGE_HANDLER(BM_SETSTATE, OnSystemRepaint)
    MESSAGE_HANDLER(WM_SETFOCUS, OnSystemRepaint)
    MESSAGE_HANDLER(WM_KILLFOCUS, OnSystemRepaint)
    MESSAGE_HANDLER(WM_ENABLE, OnSystemRepaint)
    MESSAGE_HANDLER(WM_SETTEXT, OnSystemRepaint)
    MESSAGE_HANDLER(WM_UPDATEUISTATE, OnSystemRepaint)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPrintClient(UINT, WPARAM wparam, LPARAM, BOOL&);
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnMouseMove(UINT message, WPARAM wparam, LPARAM lparam, BOOL& handled);
  LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnReflectedNotify(UINT, WPARAM, LPARAM lparam, BOOL& handled);
  LRESULT OnClick(UINT, WPARAM, LPARAM, BOOL& handled);
  // The system button draws its own face on these: ours goes back over it.
  LRESULT OnSystemRepaint(UINT message, WPARAM wparam, LPARAM lparam, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled);

  void React(vantorel::MouseEvent event);
  void PaintTo(HDC dc);
  void Draw(Gdiplus::Graphics& graphics, RECT client);
  vantorel::SectionInput LayoutInput() const;
  vantorel::SectionMeasure Measurer() const;
  void ApplyLayout(const vantorel::SectionLayout& layout);

  Gdiplus::Font* m_pFont = nullptr;
  StateLook m_looks[4];
  RECT m_rcImage = {};
  std::wstring m_text;
  vantorel::RectF m_rcText;
  int m_nHMargin = 0;
  int m_nVMargin = 0;
  bool m_bRound = false;
  POINT m_ptRound = {6, 6};
  DWORD m_crOutside = 0xFFFFFF;
  vantorel::SectionMachine m_machine;
  float m_fScale = 1.0f;
  bool m_bFixWidth = false;
  bool m_bFixHeight = false;
  float m_fGap = 0;
  bool m_bCentre = false;
  vantorel::SectionLayoutType m_type = vantorel::SectionLayoutType::kImageAboveText;
  HWND m_hTooltip = nullptr;
  bool m_bHot = false;
  SectionPainter m_painter;
};
