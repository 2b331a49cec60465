#include "view/internal/ter_edit.h"

LRESULT TEREdit::OnKeyDown(UINT, WPARAM key, LPARAM, BOOL& handled) {
  if (key != VK_RETURN) {
    handled = FALSE;
    return 0;
  }
  if (m_onEnter) {
    m_onEnter();
  } else {
    vantorel::LogLine("KvEdit", "Enter without a callback");
  }
  return 0;
}

LRESULT TEREdit::OnColor(UINT, WPARAM dc, LPARAM, BOOL&) {
  ::SetBkColor(reinterpret_cast<HDC>(dc), RGB(255, 255, 255));
  return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
}
