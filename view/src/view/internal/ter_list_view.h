// The owner-data report list behind KvListView: rows painted by the list itself (selection,
// hover, stripes, grid, a check box and row number, a photo column), checks kept by the owner
// and asked for through callbacks, and a check-all box in the header.
//
// The parent must reflect notifications (REFLECT_NOTIFICATIONS) so that the list measures
// and draws its rows; it answers LVN_GETDISPINFO for the texts itself, before reflecting.
// To the parent the list sends the system list's notifications, except LVN_COLUMNCLICK.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gdiplus.h>

#include <cstdarg>
#include <functional>

#include "view/internal/control_window.h"
#include "view/internal/scaled_image_cache.h"
#include "view/internal/ter_list_view_header.h"
#include "winlayer/dc.h"
#include "winlayer/gdi.h"
#include "winlayer/window.h"

class TERListView : public TERControlWindow<TERListView> {
 public:
  DECLARE_WND_SUPERCLASS(nullptr, WC_LISTVIEWW)

  using PhotoColumnPainter = std::function<void(CDC&, DRAWITEMSTRUCT*, RECT&, int)>;
  using ScrollScopeCallback = std::function<void(int, int)>;
  using CheckedChangeCallback = std::function<void(HWND, int)>;
  using PhotoGetter = std::function<Gdiplus::Image*(int)>;
  using RowRenderer = std::function<void(CDC&, int)>;
  using RowTest = std::function<bool(int)>;
  using CheckStateSetter = std::function<void(int, bool)>;

  BEGIN_MSG_MAP(TERListView)
  MESSAGE_HANDLER(WM_CREATE, OnCreate)
  MESSAGE_HANDLER(OCM_MEASUREITEM, OnMeasureItem)
  MESSAGE_HANDLER(OCM_DRAWITEM, OnDrawItem)
  MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
  MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
  MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
  MESSAGE_HANDLER(WM_MOUSEWHEEL, OnScroll)
  MESSAGE_HANDLER(WM_VSCROLL, OnScroll)
  MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
  MESSAGE_HANDLER(WM_NOTIFY, OnHeaderNotify)
  DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

  TERListView();
  ~TERListView() override;

  HWND Create(HWND parent, const RECT& rect, UINT id, bool stripes, bool visible,
              bool single_selection);

  void SetDpiScale(float scale) { m_fScale = scale; }
  int DpiScale(int length) const;
  void SetItemHeight(int height);
  void SetCheckBoxImage(Gdiplus::Bitmap* checked, Gdiplus::Bitmap* unchecked,
                        Gdiplus::Bitmap* disabled);
  void SetDefaultPhoto(Gdiplus::Image* photo) { m_pDefaultPhoto = photo; }
  // One text per column: column 0's is `first` when `has_first`, the rest come from `rest`.
  int InsertItemTexts(int row, bool has_first, const wchar_t* first, va_list rest);
  int RowCount() const;

  void SetHeaderCheck(bool checked);
  bool GetHeaderChecked() const { return m_header.IsChecked(); }
  void RefreshHeaderCheck() { m_header.RefreshCheck(); }
  bool SetAllChecks(bool value);  // setListViewHeaderCheck
  void SetHeaderCheckCallback(std::function<bool(bool)> callback);
  HWND GetInnerHeader() const { return m_header.m_hWnd; }

  void RefreshColumn(int column);
  void RefreshCell(int column, int row);
  void RefreshRangeCell(int first_column, int last_column, int row);
  void SetSelectedChecked();
  LRESULT SelectItem(int row);

  PhotoColumnPainter m_fnDrawPhotoColumn;
  ScrollScopeCallback m_fnScrollScope;
  CheckedChangeCallback m_fnCheckedChange;
  PhotoGetter m_fnGetPhoto;
  RowRenderer m_fnRender;
  RowTest m_fnCanCheck;
  RowTest m_fnGetCheck;
  CheckStateSetter m_fnSetCheck;

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnMeasureItem(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDrawItem(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnScroll(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnHeaderNotify(UINT, WPARAM, LPARAM, BOOL& handled);

  // Painting (ter_list_view_paint.cpp).
  void PaintRow(DRAWITEMSTRUCT& item);
  void PaintCheckCell(CDC& dc, int row, const RECT& cell);
  void PaintPhotoCell(CDC& dc, DRAWITEMSTRUCT& item, int row, const RECT& cell);
  void PaintTextCell(CDC& dc, const RECT& cell, const wchar_t* text, UINT format);
  Gdiplus::Bitmap* CheckImage(int row) const;
  // The off-screen row, kept between rows and grown when a row is wider or higher.
  bool EnsureRowBuffer(HDC screen, int width, int height);

  bool IsSelected(int row) const;
  void SetRowSelected(int row, bool selected);
  void InvalidateRow(int row);
  bool HasCheckCallbacks(const char* what) const;
  bool IsCheckable(int row) const { return !m_fnCanCheck || m_fnCanCheck(row); }
  int FirstCheckedRow() const;
  bool AllRowsChecked() const;

  Gdiplus::Bitmap* m_pChecked = nullptr;
  Gdiplus::Bitmap* m_pUnchecked = nullptr;
  Gdiplus::Bitmap* m_pDisabled = nullptr;
  Gdiplus::Image* m_pDefaultPhoto = nullptr;
  COLORREF m_crRow;
  COLORREF m_crSecond;
  TERListViewHeader m_header;
  int m_nItemHeight = 0;
  bool m_bStripes = false;
  int m_nHoverRow = -1;
  int m_nPrevHoverRow = -1;
  int m_nHeaderCount = 0;
  bool m_bTrackingMouse = false;
  float m_fScale = 1.0f;
  CDC m_rowDC;
  CBitmap m_rowBitmap;
  HGDIOBJ m_hPrevRowBitmap = nullptr;
  SIZE m_rowSize = {};
  CScaledImageCache m_checkImages;
};
