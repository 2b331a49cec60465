#include "view/brush_helper.h"

namespace {

constexpr LPARAM kPrintEverything = PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND;  // 14

void AskParentToPaint(HWND parent, HDC dc, CBrushHelper::GET_BRUSH_TYPE type) {
  const auto dc_param = reinterpret_cast<WPARAM>(dc);
  switch (type) {
    case CBrushHelper::GET_BRUSH_TYPE_PRINT_CLIENT:
      ::SendMessageW(parent, WM_PRINTCLIENT, dc_param, kPrintEverything);
      break;
    case CBrushHelper::GET_BRUSH_TYPE_PAINT:
      ::SendMessageW(parent, WM_PAINT, dc_param, kPrintEverything);
      break;
    default:
      ::SendMessageW(parent, WM_ERASEBKGND, dc_param, 0);
      break;
  }
}

// The part of `parent`'s painting under `child`, as a bitmap the size of the child; null on
// failure. Every GDI object made here is released before returning.
HBITMAP CutChildPicture(HWND child, HWND parent, CBrushHelper::GET_BRUSH_TYPE type) {
  RECT parent_rect = {};
  RECT child_rect = {};
  if (!::GetWindowRect(parent, &parent_rect) || !::GetWindowRect(child, &child_rect)) {
    return nullptr;
  }
  const int child_width = child_rect.right - child_rect.left;
  const int child_height = child_rect.bottom - child_rect.top;
  if (child_width <= 0 || child_height <= 0) return nullptr;

  HDC parent_dc = ::GetDC(parent);
  if (!parent_dc) return nullptr;
  HDC paint_dc = ::CreateCompatibleDC(parent_dc);
  HDC cut_dc = ::CreateCompatibleDC(parent_dc);
  HBITMAP whole = ::CreateCompatibleBitmap(parent_dc, parent_rect.right - parent_rect.left,
                                           parent_rect.bottom - parent_rect.top);
  HBITMAP cut = ::CreateCompatibleBitmap(parent_dc, child_width, child_height);
  if (paint_dc && cut_dc && whole && cut) {
    HGDIOBJ old_whole = ::SelectObject(paint_dc, whole);
    AskParentToPaint(parent, paint_dc, type);
    auto* corner = reinterpret_cast<POINT*>(&child_rect);
    ::ScreenToClient(parent, corner);
    HGDIOBJ old_cut = ::SelectObject(cut_dc, cut);
    ::BitBlt(cut_dc, 0, 0, child_width, child_height, paint_dc, corner->x, corner->y, SRCCOPY);
    ::SelectObject(cut_dc, old_cut);
    ::SelectObject(paint_dc, old_whole);
  } else if (cut) {
    ::DeleteObject(cut);
    cut = nullptr;
  }
  if (whole) ::DeleteObject(whole);
  if (cut_dc) ::DeleteDC(cut_dc);
  if (paint_dc) ::DeleteDC(paint_dc);
  ::ReleaseDC(parent, parent_dc);
  return cut;
}

}  // namespace

CBrushHelper::~CBrushHelper() {
  DeleteOldBrush();
}

void CBrushHelper::DeleteOldBrush() {
  delete m_pBrush;
  m_pBrush = nullptr;
  delete m_pBitmap;
  m_pBitmap = nullptr;
}

Gdiplus::TextureBrush* CBrushHelper::GetBackGroundBrush(HWND child, HWND parent,
                                                        GET_BRUSH_TYPE type) {
  DeleteOldBrush();
  if (!child || !parent) return nullptr;
  HBITMAP picture = CutChildPicture(child, parent, type);
  if (!picture) return nullptr;
  m_pBitmap = new Gdiplus::Bitmap(picture, nullptr);  // copies the pixels
  ::DeleteObject(picture);
  if (!m_pBitmap || m_pBitmap->GetLastStatus() != Gdiplus::Ok) {
    DeleteOldBrush();
    return nullptr;
  }
  m_pBrush = new Gdiplus::TextureBrush(m_pBitmap, Gdiplus::WrapModeTile);
  if (m_pBrush && m_pBrush->GetLastStatus() != Gdiplus::Ok) DeleteOldBrush();
  return m_pBrush;
}
