// The tree behind KvTreeViewCheckBox: each row an expand glyph, a check box, an optional image,
// the text and an optional count badge. Every item carries a record the tree owns (with the
// item's image), freed when the item or the tree goes.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <functional>

#include "view/internal/ter_tree_view_section.h"
#include "view/internal/tree_item_layout.h"

struct TERTreeItemRecord {
  unsigned kind = 0;
  int enabled = 1;  // 0: greyed, cannot expand
  Gdiplus::Image* image = nullptr;
  int image_width = 0;  // 0: the image's own size
  int image_height = 0;
  int x = 0;            // content x, from the last paint
  int number = -1;      // a badge when 0 or more
  void* user = nullptr;
  RECT check = {};      // from the last paint
};

class TERTreeViewCheckBox : public TERTreeViewSection {
 public:
  using CheckCallback = std::function<void(HTREEITEM, bool)>;

  BEGIN_MSG_MAP(TERTreeViewCheckBox)
  MESSAGE_HANDLER(WM_PAINT, OnPaint)
  MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
  MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
  MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDblClk)
  MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
  MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
  CHAIN_MSG_MAP(TERTreeViewSection)
  END_MSG_MAP()

  TERTreeViewCheckBox();
  ~TERTreeViewCheckBox() override;

  HWND CreateTree(HWND parent, int id, const RECT& rect, DWORD background,
                  Gdiplus::Bitmap* expanded, Gdiplus::Bitmap* collapsed,
                  Gdiplus::Bitmap* checked, Gdiplus::Bitmap* unchecked);
  HTREEITEM AppendItem(HTREEITEM parent, unsigned kind, const wchar_t* text,
                       Gdiplus::Image* image, int width, int height, bool has_children,
                       int number);
  BOOL UpdateItem(HTREEITEM item, const wchar_t* text, int enabled, int number, void* user);
  BOOL DeleteItem(HTREEITEM item);
  int GetItemNumber(HTREEITEM item) const;
  int GetItemCheck(HTREEITEM item) const;
  void CheckItem(HTREEITEM item, int checked);
  void SetXMargin(int margin) { m_nXMargin = margin; }
  void SetHighLightColor(DWORD background, DWORD text);
  void SetCheckItemCallback(const CheckCallback& callback) { m_fnCheck = callback; }

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDblClk(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
  LRESULT OnKeyDown(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled);

  TERTreeItemRecord* Record(HTREEITEM item) const;
  bool HasChildren(HTREEITEM item) const;
  bool RowRect(HTREEITEM item, RECT* row) const;  // the whole line
  vantorel::TreeRowLayout Layout(HTREEITEM item, const RECT& row) const;
  void PaintItem(HDC dc, Gdiplus::Graphics& graphics, HTREEITEM item);
  // Frees the records (and images) of `item` and everything below it.
  void ReleaseRecords(HTREEITEM item);

  Gdiplus::Bitmap* m_pCollapsed = nullptr;
  Gdiplus::Bitmap* m_pExpanded = nullptr;
  Gdiplus::Bitmap* m_pChecked = nullptr;
  Gdiplus::Bitmap* m_pUnchecked = nullptr;
  int m_nXMargin = 0;
  COLORREF m_crBackground = 0xFFFFFF;
  COLORREF m_crHighlight;
  COLORREF m_crHighlightText;
  HWND m_hTooltip = nullptr;
  int m_nTextHeight = 0;  // of the font, measured at the last paint
  CheckCallback m_fnCheck;
};
