// Owns a GDI+ font made from a font resource of this library (a private font collection).
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include "view/vantorel_export.h"

class VANTOREL_API CFontHelper {
 public:
  CFontHelper();
  ~CFontHelper();
  // Not copyable: fonts of the private collection die with it.
  CFontHelper(const CFontHelper&) = delete;
  CFontHelper& operator=(const CFontHelper&) = delete;

  // Adds the font resource `name` of type `type` of this library to the private collection
  // and builds a regular 14-pixel font from it. 1 on success; 0 (previous font kept) when the
  // resource is missing or its data is rejected.
  int LoadFont(const wchar_t* name, const wchar_t* type);
  // Replaces the font by one of the collection's first family in `style`, `size` pixels.
  // 0 when the collection holds no family.
  int SetFontStyle(Gdiplus::FontStyle style, float size);
  Gdiplus::Font* GetFont() const { return m_pFont; }
  // A new GDI font (the caller deletes it) matching the current font as drawn on `window`:
  // ANSI character set, ClearType quality. Null without a font or a window.
  HFONT FontToHFONT_A(HWND window) const;
  HFONT FontToHFONT_W(HWND window) const;
  void DeleteOldFont();

 private:
  Gdiplus::Font* m_pFont = nullptr;
  Gdiplus::PrivateFontCollection* m_pCollection = nullptr;
  Gdiplus::FontFamily* m_pFamily = nullptr;
};
