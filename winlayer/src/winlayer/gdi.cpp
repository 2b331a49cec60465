#include "winlayer/gdi.h"

#include <cwchar>

HFONT CFont::CreateFont(int height, const wchar_t* face, int weight, bool italic) {
  LOGFONTW font{};
  font.lfHeight = height;
  font.lfWeight = weight;
  font.lfItalic = italic ? TRUE : FALSE;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = CLEARTYPE_QUALITY;
  if (face) std::wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirect(font);
}

HBITMAP CBitmap::CreateDIBSection32(int width, int height, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
  if (bits) *bits = m_handle ? pixels : nullptr;
  return m_handle;
}

BOOL CBitmap::GetSize(SIZE* size) const {
  BITMAP bitmap{};
  if (!m_handle || GetObject(sizeof(bitmap), &bitmap) != sizeof(bitmap)) return FALSE;
  size->cx = bitmap.bmWidth;
  size->cy = bitmap.bmHeight;
  return TRUE;
}

int CRgn::CombineRgn(HRGN a, HRGN b, int mode) {
  if (!m_handle && !Reset(::CreateRectRgn(0, 0, 0, 0))) return ERROR;
  return ::CombineRgn(m_handle, a, b, mode);
}

CSelectObject::CSelectObject(HDC dc, HGDIOBJ object) : dc_(dc) {
  if (!dc || !object) return;
  if (::GetObjectType(object) == OBJ_REGION) {
    ::SelectClipRgn(dc, static_cast<HRGN>(object));
    return;
  }
  HGDIOBJ previous = ::SelectObject(dc, object);
  if (previous != HGDI_ERROR) previous_ = previous;
}

void CSelectObject::Restore() {
  if (previous_) ::SelectObject(dc_, previous_);
  previous_ = nullptr;
}
