// A tree whose rows carry an expand glyph, a check box, an optional image, a text and an
// optional count badge, all painted by the tree.
//
//   KvTreeViewCheckBox tree;
//   tree.SetCheckItemCallback(on_check);
//   tree.CreateTree(parent, kTreeId, rect, RGB(255, 255, 255), expanded, collapsed, checked,
//                   unchecked);
//   HTREEITEM folder = tree.AppendItem(nullptr, 0, L"Videos", nullptr, 0, 0, true, 12);
//
// Glyph and check images stay the caller's; an item's image is handed to the tree, which
// deletes it with the item. A click on the box toggles the check; a click on the glyph of an
// item with children toggles it, elsewhere on such an item expands and selects it. Items are
// 40 pixels high. Without a check callback checks still change (and the debugger output says
// that nobody heard). User-interface thread only.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gdiplus.h>

#include <functional>

#include "view/vantorel_export.h"

class TERTreeViewCheckBox;

class VANTOREL_API KvTreeViewCheckBox {
 public:
  using CheckCallback = std::function<void(HTREEITEM, bool)>;

  KvTreeViewCheckBox();
  // Does not destroy the window: the parent does, before the facade goes.
  virtual ~KvTreeViewCheckBox();
  KvTreeViewCheckBox(const KvTreeViewCheckBox&) = delete;
  KvTreeViewCheckBox& operator=(const KvTreeViewCheckBox&) = delete;

  // `background` is a colour reference. The tree's window, or null.
  HWND CreateTree(HWND parent, int id, RECT rect, DWORD background, Gdiplus::Bitmap* expanded,
                  Gdiplus::Bitmap* collapsed, Gdiplus::Bitmap* checked,
                  Gdiplus::Bitmap* unchecked);
  operator HWND() const;
  BOOL MoveWindow(const RECT* rect, BOOL repaint = TRUE);

  // Last under `parent` (null: at the root), unchecked and enabled. A width or height of 0
  // takes the image's own; `number` below 0 shows no badge.
  HTREEITEM AppendItem(HTREEITEM parent, unsigned kind, const wchar_t* text,
                       Gdiplus::Image* image, int width, int height, bool has_children,
                       int number);
  // A null text keeps the old one.
  BOOL UpdateItem(HTREEITEM item, const wchar_t* text, int enabled, int number, void* user);
  BOOL DeleteItem(HTREEITEM item);  // with its children, their records and images
  int GetItemNumber(HTREEITEM item) const;
  int GetItemCheck(HTREEITEM item) const;  // 1 checked, 0 not
  void CheckItem(HTREEITEM item, int checked);  // and tells the check callback
  void SetXMargin(int margin);
  // Colour references of a selected row; the system's highlight colours until set.
  void SetHighLightColor(DWORD background, DWORD text);
  void SetCheckItemCallback(CheckCallback& callback);

 private:
  TERTreeViewCheckBox* m_pImpl;
};
