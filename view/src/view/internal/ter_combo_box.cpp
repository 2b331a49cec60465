#include "view/internal/ter_combo_box.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "view/internal/check_list_text.h"

namespace {

std::wstring UserListSeparator() {
  wchar_t separator[21] = {};
  ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SLIST, separator, 20);
  return vantorel::JoinSeparator(separator);
}

}  // namespace

LRESULT TERCheckList::OnChar(UINT, WPARAM key, LPARAM, BOOL& handled) {
  if (key != L' ') {
    handled = FALSE;
    return 0;
  }
  Toggle(static_cast<int>(DefWindowProc(LB_GETCURSEL, 0, 0)));
  return 0;
}

LRESULT TERCheckList::OnLButtonDown(UINT, WPARAM, LPARAM lparam, BOOL& handled) {
  handled = FALSE;  // the list still moves its selection and keeps the pointer
  const POINT at = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  RECT client = {};
  GetClientRect(&client);
  if (!::PtInRect(&client, at)) return 0;
  const int height = static_cast<int>(DefWindowProc(LB_GETITEMHEIGHT, 0, 0));
  if (height <= 0) return 0;
  const int item = static_cast<int>(DefWindowProc(LB_GETTOPINDEX, 0, 0)) + at.y / height;
  RECT rect = {};
  if (DefWindowProc(LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&rect)) == LB_ERR ||
      !::PtInRect(&rect, at)) {
    return 0;
  }
  Toggle(item);
  return 0;
}

void TERCheckList::Toggle(int item) {
  const int count = static_cast<int>(DefWindowProc(LB_GETCOUNT, 0, 0));
  if (item < 0 || item >= count) return;
  RECT rect = {};
  if (DefWindowProc(LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&rect)) != LB_ERR) {
    InvalidateRect(&rect, FALSE);
  }
  m_pCombo->SetCheck(item, m_pCombo->GetCheck(item) ? 0 : 1);
  m_pCombo->NotifyChange();
}

HWND TERComboBox::CreateCombo(HWND parent, const RECT& rect, const wchar_t* text, DWORD style,
                              DWORD exstyle, UINT id, void* param) {
  HWND window = Create(parent, rect, text, style, exstyle, id, param);
  if (!window) return nullptr;
  // The list is taken over now rather than on its first paint, so no click can come first.
  COMBOBOXINFO info = {};
  info.cbSize = sizeof(info);
  if (::GetComboBoxInfo(window, &info)) AdoptList(info.hwndList);
  return window;
}

void TERComboBox::AdoptList(HWND list) {
  if (!list || list == m_hWnd || m_list.m_hWnd) return;
  m_list.SubclassWindow(list);
}

int TERComboBox::SetCheck(int item, int check) {
  const LRESULT result = ::SendMessageW(m_hWnd, CB_SETITEMDATA, item, check);
  if (result != CB_ERR) {
    m_bTextValid = false;
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
  }
  return static_cast<int>(result);
}

int TERComboBox::GetCheck(int item) {
  return static_cast<int>(::SendMessageW(m_hWnd, CB_GETITEMDATA, item, 0));
}

void TERComboBox::SelectAll(int check) {
  const int count = static_cast<int>(::SendMessageW(m_hWnd, CB_GETCOUNT, 0, 0));
  for (int item = 0; item < count; ++item) SetCheck(item, check);
}

void TERComboBox::NotifyChange() {
  ::SendMessageW(GetParent(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(m_hWnd));
}

std::wstring TERComboBox::ItemText(int item) {
  const LRESULT length = ::SendMessageW(m_hWnd, CB_GETLBTEXTLEN, item, 0);
  if (length == CB_ERR || length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied =
      ::SendMessageW(m_hWnd, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
  return text;
}

const std::wstring& TERComboBox::DisplayText() {
  if (m_bTextValid) return m_text;
  std::vector<std::pair<std::wstring, bool>> items;
  const int count = static_cast<int>(::SendMessageW(m_hWnd, CB_GETCOUNT, 0, 0));
  for (int item = 0; item < count; ++item) {
    const bool checked = GetCheck(item) != 0;
    items.emplace_back(checked ? ItemText(item) : std::wstring(), checked);
  }
  m_text = vantorel::JoinChecked(items, UserListSeparator());
  m_bTextValid = true;
  return m_text;
}

LRESULT TERComboBox::OnListColor(UINT, WPARAM, LPARAM lparam, BOOL& handled) {
  AdoptList(reinterpret_cast<HWND>(lparam));
  handled = FALSE;
  return 0;
}

LRESULT TERComboBox::OnGetText(UINT, WPARAM size, LPARAM buffer, BOOL&) {
  const std::wstring& text = DisplayText();
  if (size == 0 || !buffer) return 0;
  const size_t count = std::min<size_t>(text.size(), size - 1);
  auto* out = reinterpret_cast<wchar_t*>(buffer);
  text.copy(out, count);
  out[count] = L'\0';
  return static_cast<LRESULT>(count);
}

LRESULT TERComboBox::OnGetTextLength(UINT, WPARAM, LPARAM, BOOL&) {
  return static_cast<LRESULT>(DisplayText().size());
}

int TERComboBox::TextHeight(HDC dc) {
  TEXTMETRICW metrics = {};
  ::GetTextMetricsW(dc, &metrics);
  return metrics.tmHeight + metrics.tmExternalLeading;
}

LRESULT TERComboBox::OnMeasureItem(UINT, WPARAM, LPARAM lparam, BOOL&) {
  auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
  HDC dc = ::GetDC(m_hWnd);
  HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(
                                            ::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)));
  item->itemHeight = static_cast<UINT>(TextHeight(dc) + 2);
  ::SelectObject(dc, previous);
  ::ReleaseDC(m_hWnd, dc);
  if (!m_bFieldHeightSet) {
    m_bFieldHeightSet = true;
    ::SendMessageW(m_hWnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), item->itemHeight);
  }
  return TRUE;
}

LRESULT TERComboBox::OnDrawItem(UINT, WPARAM, LPARAM lparam, BOOL&) {
  const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
  HDC dc = draw->hDC;
  const bool selected = (draw->itemState & ODS_SELECTED) != 0;
  RECT text_area = draw->rcItem;
  std::wstring text;
  if (static_cast<int>(draw->itemID) < 0 || (draw->itemState & ODS_COMBOBOXEDIT)) {
    text = DisplayText();
  } else {
    const int item = static_cast<int>(draw->itemID);
    text = ItemText(item);
    RECT box = {draw->rcItem.left, draw->rcItem.top + 1,
                draw->rcItem.left + TextHeight(dc) + 6, draw->rcItem.bottom - 1};
    ::FillRect(dc, &box, ::GetSysColorBrush(COLOR_WINDOW));
    ::DrawFrameControl(dc, &box, DFC_BUTTON,
                       DFCS_BUTTONCHECK | (GetCheck(item) ? DFCS_CHECKED : 0));
    text_area.left = box.right;
  }
  const COLORREF background = ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
  const COLORREF foreground = ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
  const COLORREF old_back = ::SetBkColor(dc, background);
  const COLORREF old_text = ::SetTextColor(dc, foreground);
  ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &text_area, nullptr, 0, nullptr);
  const std::wstring shown = L" " + text;
  RECT line = text_area;
  ::DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &line,
              DT_END_ELLIPSIS | DT_VCENTER | DT_SINGLELINE);
  if (selected && (draw->itemState & ODS_FOCUS)) ::DrawFocusRect(dc, &text_area);
  ::SetTextColor(dc, old_text);
  ::SetBkColor(dc, old_back);
  return TRUE;
}
