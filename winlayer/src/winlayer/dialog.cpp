#include "winlayer/dialog.h"

CDialogTemplate::CDialogTemplate(DWORD style, DWORD exstyle, short cx, short cy,
                                 const wchar_t* title, const wchar_t* font, WORD point_size) {
  if (font) style |= DS_SETFONT;
  else style &= ~static_cast<DWORD>(DS_SETFONT);  // the template would lack the font fields
  DLGTEMPLATE header{};
  header.style = style;
  header.dwExtendedStyle = exstyle;
  header.cdit = 0;
  header.cx = cx;
  header.cy = cy;
  const auto* header_words = reinterpret_cast<const WORD*>(&header);
  words_.assign(header_words, header_words + sizeof(header) / sizeof(WORD));
  words_.push_back(0);  // no menu
  words_.push_back(0);  // the predefined dialog class
  auto append = [this](const wchar_t* text) {
    for (; text && *text; ++text) words_.push_back(static_cast<WORD>(*text));
    words_.push_back(0);
  };
  append(title);
  if (font) {
    words_.push_back(point_size);
    append(font);
  }
}

namespace win32_detail {

INT_PTR DialogResult(HWND dialog, UINT message, LRESULT result) {
  switch (message) {
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      // Whole: a brush handle must not be cut to 32 bits.
      return static_cast<INT_PTR>(result);
    default:
      if (::IsWindow(dialog)) ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
      return TRUE;
  }
}

}  // namespace win32_detail
