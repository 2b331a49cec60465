// Lets child windows look transparent over a parent that paints a background picture: for
// each registered child it keeps a pattern brush holding the part of the picture under the
// child, which the parent hands out in its control-colour messages:
//
//   case WM_CTLCOLORSTATIC:
//     if (HBRUSH brush = helper.GetHBRUSH(reinterpret_cast<HWND>(lparam))) return brush;
//
// Register a child again after it moved or the picture changed. User-interface thread only.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <map>

#include "view/vantorel_export.h"

class VANTOREL_API KvWindowBgBrushHelper {
 public:
  KvWindowBgBrushHelper() = default;
  ~KvWindowBgBrushHelper();  // deletes every brush
  KvWindowBgBrushHelper(const KvWindowBgBrushHelper&) = delete;
  KvWindowBgBrushHelper& operator=(const KvWindowBgBrushHelper&) = delete;

  // `background` is the parent's picture, drawn with its top-left corner at (-offsetx,
  // -offsety) of the parent's client area; it must cover the child (asserted).
  void AddSubWindow(HWND child, Gdiplus::Image* background, int offsetx, int offsety);
  // `background` holds the parent's client area, top-left at (0, 0).
  void AddSubWindow(HWND child, HBITMAP background);
  // The child's brush (kept by the helper), or null for a child never added.
  HBRUSH GetHBRUSH(HWND child) const;

 private:
  void Store(HWND child, HBITMAP picture);

  std::map<HWND, HBRUSH> m_brushes;
};
