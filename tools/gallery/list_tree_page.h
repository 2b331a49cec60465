// The gallery's page of lists: the owner-data list view (checks, stripes, hover, selection,
// photos, a refused row), the check-box tree (glyphs, boxes, images, badges, a disabled and a
// selected item) and background brushes under labels over a picture.
//
// The hosting window answers LVN_GETDISPINFO and WM_CTLCOLORSTATIC through the page, paints
// the picture with PaintBackground and reflects notifications.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gdiplus.h>

#include <memory>
#include <vector>

#include "view/kv_list_view.h"
#include "view/kv_tree_view_check_box.h"
#include "view/kv_window_bg_brush_helper.h"
#include "winlayer/gdi.h"

class ListTreePage {
 public:
  ListTreePage();
  ~ListTreePage();
  ListTreePage(const ListTreePage&) = delete;
  ListTreePage& operator=(const ListTreePage&) = delete;

  // Fills `area` of `parent` at `scale`; the ids from `first_id` on are the page's.
  void Create(HWND parent, const RECT& area, float scale, UINT first_id);
  // LVN_GETDISPINFO for the page's list; false for anything else.
  bool OnNotify(const NMHDR* header);
  // The brush for one of the page's labels, or null.
  HBRUSH OnCtlColorStatic(HDC dc, HWND child);
  void PaintBackground(HDC dc);
  // Puts the mouse pointer over a row of the list, to show the hover colour.
  void HoverListRow(int row);

 private:
  void CreateList(HWND parent, const RECT& area, UINT id);
  void CreateTree(HWND parent, const RECT& area, UINT id);
  void CreateBrushDemo(HWND parent, const RECT& area);

  float m_scale = 1.0f;
  CFont m_font;
  CFont m_bigFont;
  std::vector<std::unique_ptr<Gdiplus::Bitmap>> m_images;
  Gdiplus::Bitmap* m_checked = nullptr;
  Gdiplus::Bitmap* m_unchecked = nullptr;
  Gdiplus::Bitmap* m_disabled = nullptr;
  std::vector<Gdiplus::Bitmap*> m_photos;
  std::vector<bool> m_checks;
  KvListView m_list;
  KvTreeViewCheckBox m_tree;
  KvWindowBgBrushHelper m_brushes;
  std::unique_ptr<Gdiplus::Bitmap> m_picture;
  RECT m_pictureArea = {};
  std::vector<HWND> m_labels;
};
