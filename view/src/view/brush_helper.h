// Owns a texture brush cut from a parent window's painting, so a child can paint the part of
// the parent that lies under it.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include "view/vantorel_export.h"

class VANTOREL_API CBrushHelper {
 public:
  // How the parent is asked to paint itself into the brush's picture.
  enum GET_BRUSH_TYPE {
    GET_BRUSH_TYPE_PRINT_CLIENT = 1,  // WM_PRINTCLIENT
    GET_BRUSH_TYPE_PAINT = 2,         // WM_PAINT with the memory DC as WPARAM
    GET_BRUSH_TYPE_ERASE_BKGND = 3,   // WM_ERASEBKGND (any value other than 1 and 2)
  };

  CBrushHelper() = default;
  ~CBrushHelper();
  // Not copyable: two helpers would delete the same brush.
  CBrushHelper(const CBrushHelper&) = delete;
  CBrushHelper& operator=(const CBrushHelper&) = delete;

  // Replaces the held brush with one holding the parent's painting under `child`, tiled from
  // the brush origin. Null when either window is null or the picture cannot be made. The
  // helper keeps the brush.
  Gdiplus::TextureBrush* GetBackGroundBrush(HWND child, HWND parent, GET_BRUSH_TYPE type);
  void DeleteOldBrush();

 private:
  Gdiplus::TextureBrush* m_pBrush = nullptr;
  Gdiplus::Bitmap* m_pBitmap = nullptr;
};
