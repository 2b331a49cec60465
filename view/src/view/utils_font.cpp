#include <cwchar>

#include "view/utils.h"

namespace {

LOGFONTW MakeLogFont(int height, int charset, BOOL bold, const wchar_t* face) {
  LOGFONTW font = {};
  font.lfHeight = height;
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = static_cast<BYTE>(charset & 0xFF);
  if (face) {
    // A longer name would not fit the field; the font mapper then picks the nearest face.
    std::wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    font.lfFaceName[LF_FACESIZE - 1] = L'\0';
  }
  return font;
}

}  // namespace

Gdiplus::Font* Utils::GetFont(HDC dc, int height, int charset, BOOL bold, const wchar_t* face) {
  const LOGFONTW font = MakeLogFont(height, charset, bold, face);
  return new Gdiplus::Font(dc, &font);
}

HFONT Utils::GetHFONT(int height, int charset, BOOL bold, const wchar_t* face) {
  const LOGFONTW font = MakeLogFont(height, charset, bold, face);
  return ::CreateFontIndirectW(&font);
}
