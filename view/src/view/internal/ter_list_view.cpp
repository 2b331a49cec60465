#include "view/internal/ter_list_view.h"


#include "view/internal/list_view_rules.h"
#include "view/internal/control_window.h"

using vantorel::ScaleLength;

namespace {

constexpr DWORD kListStyle = WS_CHILD | WS_CLIPCHILDREN | WS_TABSTOP | LVS_OWNERDATA |
                             LVS_ALIGNLEFT | LVS_OWNERDRAWFIXED | LVS_REPORT;  // 0x42011C01
constexpr DWORD kListExStyle = LVS_EX_DOUBLEBUFFER | LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES;
// No move, no z-order, no activation: only the size is news, so the rows are measured again.
constexpr UINT kRemeasureFlags = 0x216;

}  // namespace

TERListView::TERListView() : m_crRow(vantorel::kListRowColor), m_crSecond(vantorel::kListSecondColor) {}

TERListView::~TERListView() {
  if (m_hPrevRowBitmap) m_rowDC.SelectObject(m_hPrevRowBitmap);
}

HWND TERListView::Create(HWND parent, const RECT& rect, UINT id, bool stripes, bool visible,
                         bool single_selection) {
  if (m_nItemHeight == 0) m_nItemHeight = ScaleLength(60, m_fScale);
  m_bStripes = stripes;
  DWORD style = kListStyle;
  if (visible) style |= WS_VISIBLE;
  if (single_selection) style |= LVS_SINGLESEL;
  if (!TERControlWindow::Create(parent, rect, nullptr, style, 0, id, nullptr)) return nullptr;
  SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, kListExStyle);

  HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
  m_header.SetHeightParameters(ScaleLength(25, m_fScale), ScaleLength(-1, m_fScale));
  m_header.SetCheckImages(m_pChecked, m_pUnchecked);
  m_header.SetDpiScale(m_fScale);
  if (header) m_header.SubclassWindow(header);
  m_header.SetCheckCallback([this](bool value) { return SetAllChecks(value); });
  SetItemHeight(m_nItemHeight);  // lays the header out at its new height too
  return m_hWnd;
}

int TERListView::DpiScale(int length) const { return ScaleLength(length, m_fScale); }

void TERListView::SetItemHeight(int height) {
  m_nItemHeight = height;
  if (!m_hWnd) return;
  RECT rect = {};
  GetWindowRect(&rect);
  WINDOWPOS position = {m_hWnd, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                        kRemeasureFlags};
  SendMessage(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
}

void TERListView::SetCheckBoxImage(Gdiplus::Bitmap* checked, Gdiplus::Bitmap* unchecked,
                                   Gdiplus::Bitmap* disabled) {
  m_pChecked = checked;
  m_pUnchecked = unchecked;
  m_pDisabled = disabled;
  m_header.SetCheckImages(checked, unchecked);
  m_checkImages.Clear();
  if (m_hWnd) Invalidate(FALSE);
}

int TERListView::InsertItemTexts(int row, bool has_first, const wchar_t* first, va_list rest) {
  wchar_t empty[] = L"";
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = empty;
  const int index = static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (index < 0) return index;
  const int columns = static_cast<int>(::SendMessageW(GetInnerHeader(), HDM_GETITEMCOUNT, 0, 0));
  for (int column = 0; column < columns; ++column) {
    const wchar_t* text = column == 0 && has_first ? first : va_arg(rest, const wchar_t*);
    LVITEMW cell = {};
    cell.iSubItem = column;
    cell.pszText = const_cast<wchar_t*>(text ? text : L"");
    SendMessage(LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&cell));
  }
  return index;
}

int TERListView::RowCount() const {
  return static_cast<int>(::SendMessageW(m_hWnd, LVM_GETITEMCOUNT, 0, 0));
}

bool TERListView::IsSelected(int row) const {
  return ::SendMessageW(m_hWnd, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED;
}

void TERListView::SetRowSelected(int row, bool selected) {
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED;
  item.state = selected ? LVIS_SELECTED : 0;
  SendMessage(LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void TERListView::InvalidateRow(int row) {
  if (row < 0 || !m_hWnd) return;
  RECT rect = {};
  rect.left = LVIR_BOUNDS;
  if (SendMessage(LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect))) {
    RECT client = {};
    GetClientRect(&client);
    rect.left = client.left;
    rect.right = client.right;  // rows are painted across the whole width
    InvalidateRect(&rect, FALSE);
  }
}

bool TERListView::HasCheckCallbacks(const char* what) const {
  if (m_fnGetCheck && m_fnSetCheck) return true;
  vantorel::LogLine("KvListView", what);
  return false;
}

int TERListView::FirstCheckedRow() const {
  const int rows = RowCount();
  for (int row = 0; row < rows; ++row) {
    if (m_fnGetCheck(row)) return row;
  }
  return 0;
}

bool TERListView::AllRowsChecked() const {
  const int rows = RowCount();
  for (int row = 0; row < rows; ++row) {
    if (!m_fnGetCheck(row)) return false;
  }
  return true;
}

void TERListView::SetHeaderCheck(bool checked) {
  m_header.SetChecked(checked);
  m_header.RefreshCheck();
}

void TERListView::SetHeaderCheckCallback(std::function<bool(bool)> callback) {
  m_header.SetCheckCallback(std::move(callback));
}

bool TERListView::SetAllChecks(bool value) {
  if (!m_pChecked || !m_pUnchecked) return false;
  if (!HasCheckCallbacks("check-all without check-state getter and setter")) {
    return false;
  }
  const int rows = RowCount();
  bool changed = false;
  for (int row = 0; row < rows; ++row) {
    if (m_fnGetCheck(row) == value) continue;
    m_nHeaderCount += value ? 1 : -1;
    m_fnSetCheck(row, value);
    changed = true;
  }
  if (changed && m_hWnd) Invalidate(FALSE);
  return true;
}

void TERListView::SetSelectedChecked() {
  const int rows = RowCount();
  if (rows > 0 &&
      !HasCheckCallbacks("SetSelectedChecked without check-state getter and setter")) {
    return;
  }
  int count = 0;
  bool changed = false;
  for (int row = 0; row < rows; ++row) {
    if (!IsCheckable(row)) continue;
    const bool checked = m_fnGetCheck(row);
    if (IsSelected(row)) {
      if (!checked) {
        m_fnSetCheck(row, true);
        changed = true;
      }
      ++count;
    } else if (checked) {
      m_fnSetCheck(row, false);
      changed = true;
    }
  }
  if (changed) Invalidate(FALSE);
  const bool all = count == rows;
  if (all != m_header.IsChecked()) SetHeaderCheck(all);
}

LRESULT TERListView::SelectItem(int row) {
  if (row >= 0 && HasCheckCallbacks("SelectItem cannot check without a setter")) {
    m_fnSetCheck(row, true);
    RefreshCell(0, row);
  }
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED;
  if (!(GetStyle() & LVS_SINGLESEL)) {
    SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
  }
  // Row -1 would select every row.
  if (row < 0) return FALSE;
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessage(LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  return SendMessage(LVM_ENSUREVISIBLE, row, FALSE);
}

void TERListView::RefreshColumn(int column) {
  int left = 0;
  for (int i = 0; i < column; ++i) left += static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, i));
  SCROLLINFO scroll = {};
  scroll.cbSize = sizeof(scroll);
  scroll.fMask = SIF_POS;
  if ((GetStyle() & WS_HSCROLL) && ::GetScrollInfo(m_hWnd, SB_HORZ, &scroll)) left -= scroll.nPos;
  RECT client = {};
  GetClientRect(&client);
  const int width = static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, column));
  RECT strip = {left, client.top, left + width, client.bottom};
  InvalidateRect(&strip, TRUE);
}

void TERListView::RefreshCell(int column, int row) { RefreshRangeCell(column, column, row); }

void TERListView::RefreshRangeCell(int first_column, int last_column, int row) {
  RECT first = {};
  first.top = first_column;
  first.left = LVIR_BOUNDS;
  RECT last = {};
  last.top = last_column;
  last.left = LVIR_BOUNDS;
  if (!SendMessage(LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&first)) ||
      !SendMessage(LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&last))) {
    return;
  }
  RECT cells = {first.left, first.top, last.right, last.bottom};
  if (last_column == 0) cells.right = first.left + static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, 0));
  InvalidateRect(&cells, FALSE);
}

LRESULT TERListView::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled) {
  ::ShowScrollBar(m_hWnd, SB_BOTH, FALSE);
  handled = FALSE;
  return 0;
}

LRESULT TERListView::OnMeasureItem(UINT, WPARAM, LPARAM lparam, BOOL&) {
  auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
  if (measure && m_nItemHeight > 0) measure->itemHeight = static_cast<UINT>(m_nItemHeight);
  return TRUE;
}

LRESULT TERListView::OnDrawItem(UINT, WPARAM, LPARAM lparam, BOOL&) {
  auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lparam);
  if (item) PaintRow(*item);
  return TRUE;
}

LRESULT TERListView::OnMouseMove(UINT, WPARAM, LPARAM lparam, BOOL&) {
  if (!m_bTrackingMouse) {
    TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hWnd, 0};
    m_bTrackingMouse = ::TrackMouseEvent(&track) != FALSE;
  }
  LVHITTESTINFO hit = {};
  hit.pt = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  const int row = static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (row == m_nHoverRow) return 0;
  m_nPrevHoverRow = m_nHoverRow;
  m_nHoverRow = row;
  // A selected row looks the same hovered or not.
  if (m_nPrevHoverRow >= 0 && !IsSelected(m_nPrevHoverRow)) InvalidateRow(m_nPrevHoverRow);
  if (m_nHoverRow >= 0 && !IsSelected(m_nHoverRow)) InvalidateRow(m_nHoverRow);
  return 0;
}

LRESULT TERListView::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&) {
  // Without this the last row under the mouse would stay highlighted.
  m_bTrackingMouse = false;
  if (m_nHoverRow >= 0) {
    m_nPrevHoverRow = m_nHoverRow;
    m_nHoverRow = -1;
    InvalidateRow(m_nPrevHoverRow);
  }
  return 0;
}

LRESULT TERListView::OnScroll(UINT, WPARAM, LPARAM, BOOL& handled) {
  handled = FALSE;  // the system list scrolls
  if (!m_fnScrollScope) return 0;
  SCROLLINFO scroll = {};
  scroll.cbSize = sizeof(scroll);
  scroll.fMask = SIF_POS | SIF_PAGE;
  ::GetScrollInfo(m_hWnd, SB_VERT, &scroll);
  const vantorel::RowScope scope =
      vantorel::ScrollScope(scroll.nPos, static_cast<int>(scroll.nPage), RowCount());
  m_fnScrollScope(scope.first, scope.last);
  return 0;
}

LRESULT TERListView::OnLButtonDown(UINT, WPARAM, LPARAM lparam, BOOL& handled) {
  handled = FALSE;
  if (!m_pChecked || !m_pUnchecked) return 0;
  LVHITTESTINFO hit = {};
  hit.pt = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  const int row = static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (row < 0) return 0;
  if (!IsCheckable(row)) {
    handled = TRUE;
    return 0;
  }
  // Column 0's cell, where the box is drawn. (Its label starts after the system's own
  // state-image room, which would leave the box's left part dead.)
  RECT bounds = {};
  bounds.left = LVIR_BOUNDS;
  SendMessage(LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
  const int width = static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, 0));
  if (hit.pt.x < bounds.left || hit.pt.x >= bounds.left + width) return 0;  // selection
  handled = TRUE;
  if (!HasCheckCallbacks("check clicked without check-state getter and setter")) {
    return 0;
  }
  const bool was_checked = m_fnGetCheck(row);
  m_fnSetCheck(row, !was_checked);
  RefreshCell(0, row);
  SetRowSelected(row, !was_checked);
  int reported = row;
  if (was_checked) {
    SetHeaderCheck(false);
    reported = FirstCheckedRow();
  } else if (AllRowsChecked()) {
    SetHeaderCheck(true);
  }
  if (m_fnCheckedChange) m_fnCheckedChange(m_hWnd, reported);
  return 0;
}

LRESULT TERListView::OnHeaderNotify(UINT message, WPARAM wparam, LPARAM lparam,
                                    BOOL& handled) {
  const auto* header = reinterpret_cast<const NMHDR*>(lparam);
  if (!header || !m_header.m_hWnd || header->hwndFrom != m_header.m_hWnd) {
    handled = FALSE;
    return 0;
  }
  switch (header->code) {
    case NM_CUSTOMDRAW: {
      const auto* draw = reinterpret_cast<const NMCUSTOMDRAW*>(lparam);
      const LRESULT result = DefWindowProc(message, wparam, lparam);
      if (draw->dwDrawStage == CDDS_PREPAINT) return result | CDRF_NOTIFYPOSTPAINT;
      if (draw->dwDrawStage == CDDS_POSTPAINT) m_header.DrawCheck(draw->hdc);
      return result;
    }
    case HDN_ITEMCLICKW:
    case HDN_ITEMCLICKA:
      return 0;  // no sorting: the parent never hears LVN_COLUMNCLICK
    default:
      handled = FALSE;
      return 0;
  }
}
