// Owns one GDI+ path: the rounded-rectangle outline of the shadow and the controls.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include "view/vantorel_export.h"

class VANTOREL_API CPathHelper {
 public:
  CPathHelper() = default;
  ~CPathHelper();
  // Not copyable: two helpers would delete the same path.
  CPathHelper(const CPathHelper&) = delete;
  CPathHelper& operator=(const CPathHelper&) = delete;

  // Replaces the held path with a closed rounded rectangle over (x, y) to (x + width,
  // y + height) with corner radius `radius`; the helper keeps the result.
  Gdiplus::GraphicsPath* CreateRoundRect(const Gdiplus::Rect& rect, int radius);
  void DeleteOldPath();

 private:
  Gdiplus::GraphicsPath* m_pPath = nullptr;
};
