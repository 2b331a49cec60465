// Owned GDI objects and the selection guard. Device contexts are in dc.h, icons, menus and
// kernel handles in handles.h; this header brings all three.
//
// Declare objects before the guards that select them, so a guard puts the previous object
// back before the object is deleted:
//   CBrush brush; brush.CreateSolidBrush(RGB(0, 120, 215));
//   CSelectObject select_brush(dc, brush);
#pragma once

#include <windows.h>

#include "winlayer/dc.h"
#include "winlayer/handles.h"
#include "winlayer/owned_handle.h"

namespace win32_detail {
template <class THandle>
BOOL WINAPI DeleteGdiObject(THandle object) {
  return ::DeleteObject(object);
}
}  // namespace win32_detail

// Owns one GDI object; movable, not copyable. THandle is HPEN, HBRUSH, HFONT, HBITMAP or HRGN.
template <class THandle>
class CGdiObjectT : public COwnedHandleT<THandle, &win32_detail::DeleteGdiObject<THandle>> {
  using Base = COwnedHandleT<THandle, &win32_detail::DeleteGdiObject<THandle>>;

 public:
  using Base::Base;
  using Base::m_handle;

  THandle GetHandle() const { return m_handle; }
  BOOL DeleteObject() { return Base::ReleaseHandle(); }
  int GetObject(int size, void* buffer) const { return ::GetObjectW(m_handle, size, buffer); }
};

class CPen : public CGdiObjectT<HPEN> {
 public:
  using CGdiObjectT::CGdiObjectT;
  HPEN CreatePen(int style, int width, COLORREF color) {
    return Reset(::CreatePen(style, width, color));
  }
  HPEN CreatePenIndirect(const LOGPEN& pen) { return Reset(::CreatePenIndirect(&pen)); }
};

class CBrush : public CGdiObjectT<HBRUSH> {
 public:
  using CGdiObjectT::CGdiObjectT;
  HBRUSH CreateSolidBrush(COLORREF color) { return Reset(::CreateSolidBrush(color)); }
  HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
    return Reset(::CreateHatchBrush(hatch, color));
  }
  HBRUSH CreatePatternBrush(HBITMAP bitmap) { return Reset(::CreatePatternBrush(bitmap)); }
};

class CFont : public CGdiObjectT<HFONT> {
 public:
  using CGdiObjectT::CGdiObjectT;
  HFONT CreateFontIndirect(const LOGFONTW& font) { return Reset(::CreateFontIndirectW(&font)); }
  // Height in pixels (negative: character height), as in LOGFONT.
  HFONT CreateFont(int height, const wchar_t* face, int weight = FW_NORMAL, bool italic = false);
  BOOL GetLogFont(LOGFONTW* font) const {
    return GetObject(sizeof(LOGFONTW), font) == sizeof(LOGFONTW);
  }
};

class CBitmap : public CGdiObjectT<HBITMAP> {
 public:
  using CGdiObjectT::CGdiObjectT;
  HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
    return Reset(::CreateCompatibleBitmap(dc, width, height));
  }
  HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bits_per_pixel,
                       const void* bits) {
    return Reset(::CreateBitmap(width, height, planes, bits_per_pixel, bits));
  }
  // A top-down 32-bit DIB section; `bits` (optional) receives its pixels.
  HBITMAP CreateDIBSection32(int width, int height, void** bits = nullptr);
  BOOL GetSize(SIZE* size) const;
};

class CRgn : public CGdiObjectT<HRGN> {
 public:
  using CGdiObjectT::CGdiObjectT;
  HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    return Reset(::CreateRectRgn(left, top, right, bottom));
  }
  HRGN CreateRectRgnIndirect(const RECT& rect) { return Reset(::CreateRectRgnIndirect(&rect)); }
  HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height) {
    return Reset(::CreateRoundRectRgn(left, top, right, bottom, width, height));
  }
  HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
    return Reset(::CreateEllipticRgn(left, top, right, bottom));
  }
  // Makes this region `a` `mode` `b` (RGN_AND, RGN_OR, RGN_DIFF, ...); creates it if needed.
  int CombineRgn(HRGN a, HRGN b, int mode);
  int OffsetRgn(int dx, int dy) { return ::OffsetRgn(m_handle, dx, dy); }
  BOOL PtInRegion(int x, int y) const { return ::PtInRegion(m_handle, x, y); }
  int GetRgnBox(RECT* rect) const { return ::GetRgnBox(m_handle, rect); }
};

// Selects `object` into `dc` and puts the previous object back when it goes out of scope.
// A region is copied into the DC as the clip region rather than selected: nothing to restore.
class CSelectObject {
 public:
  CSelectObject(HDC dc, HGDIOBJ object);
  ~CSelectObject() { Restore(); }
  CSelectObject(const CSelectObject&) = delete;
  CSelectObject& operator=(const CSelectObject&) = delete;

  // The object that was selected before; null when selection failed.
  HGDIOBJ GetPrevious() const { return previous_; }
  void Restore();

 private:
  HDC dc_;
  HGDIOBJ previous_ = nullptr;
};
