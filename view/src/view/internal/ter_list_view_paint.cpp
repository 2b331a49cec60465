// Row painting of TERListView: every row into one kept off-screen bitmap, then one copy.
#include <cwchar>

#include "view/internal/list_view_rules.h"
#include "view/internal/ter_list_view.h"

using vantorel::ScaleLength;

namespace {

constexpr int kMaxText = 260;
constexpr UINT kCellText = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;

void DrawScaled(HDC dc, Gdiplus::Image* image, int x, int y, int width, int height) {
  if (!image || width <= 0 || height <= 0) return;
  Gdiplus::Graphics graphics(dc);
  graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
  graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  graphics.DrawImage(image, Gdiplus::Rect(x, y, width, height));
}

}  // namespace

bool TERListView::EnsureRowBuffer(HDC screen, int width, int height) {
  if (m_rowDC.IsNull() && !m_rowDC.CreateCompatibleDC(screen)) return false;
  if (!m_rowBitmap.IsNull() && m_rowSize.cx >= width && m_rowSize.cy >= height) return true;
  CBitmap bigger;
  if (!bigger.CreateCompatibleBitmap(screen, width, height)) return false;
  HGDIOBJ previous = m_rowDC.SelectObject(bigger);
  if (!m_hPrevRowBitmap) m_hPrevRowBitmap = previous;
  m_rowBitmap = std::move(bigger);  // the old one is no longer selected: it goes
  m_rowSize = SIZE{width, height};
  return true;
}

Gdiplus::Bitmap* TERListView::CheckImage(int row) const {
  if (!m_pChecked || !m_pUnchecked) return nullptr;
  if (!IsCheckable(row)) return m_pDisabled;
  // Without a getter every box shows unchecked (a click then says why nothing happens).
  return m_fnGetCheck && m_fnGetCheck(row) ? m_pChecked : m_pUnchecked;
}

void TERListView::PaintRow(DRAWITEMSTRUCT& item) {
  const int row = static_cast<int>(item.itemID);
  RECT client = {};
  GetClientRect(&client);
  const int width = client.right - client.left;
  const int top = item.rcItem.top;
  const int height = item.rcItem.bottom - item.rcItem.top;
  if (width <= 0 || height <= 0 || !EnsureRowBuffer(item.hDC, width, height)) return;
  // The buffer takes client coordinates, so cells, callbacks and the screen agree.
  ::SetViewportOrgEx(m_rowDC, 0, -top, nullptr);

  int frame_left = client.left;
  int frame_width = width;
  SCROLLINFO scroll = {};
  scroll.cbSize = sizeof(scroll);
  scroll.fMask = SIF_POS | SIF_RANGE;
  if ((GetStyle() & WS_HSCROLL) && ::GetScrollInfo(m_hWnd, SB_HORZ, &scroll) &&
      scroll.nMax > scroll.nMin) {
    frame_left = -scroll.nPos;
    frame_width = std::max(scroll.nMax + 1, width);
  }

  const bool selected = (item.itemState & ODS_SELECTED) || IsSelected(row);
  const vantorel::RowLook look = {row, selected, row == m_nHoverRow, m_bStripes};
  const RECT line = {client.left, top, client.right, top + height};
  m_rowDC.FillSolidRect(line, vantorel::RowBackground(look, m_crRow));

  CPen grid;
  grid.CreatePen(PS_SOLID, std::max(1, ScaleLength(1, m_fScale)), vantorel::kListGridColor);
  {
    CSelectObject select_pen(m_rowDC, grid);
    const int right = frame_left + frame_width - 1;
    const int bottom = top + height - 1;
    m_rowDC.MoveTo(frame_left, bottom);
    m_rowDC.LineTo(frame_left, top);
    m_rowDC.LineTo(right, top);
    m_rowDC.LineTo(right, bottom + 1);
    if (row == RowCount() - 1) {
      m_rowDC.MoveTo(frame_left, bottom);
      m_rowDC.LineTo(right, bottom);
    }
  }

  HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  CSelectObject select_font(m_rowDC, font ? static_cast<HGDIOBJ>(font)
                                          : ::GetStockObject(DEFAULT_GUI_FONT));
  m_rowDC.SetBkMode(TRANSPARENT);
  m_rowDC.SetTextColor(0);
  if (m_fnRender) m_fnRender(m_rowDC, row);

  const int columns = static_cast<int>(::SendMessageW(GetInnerHeader(), HDM_GETITEMCOUNT, 0, 0));
  wchar_t text[kMaxText];
  for (int column = 0; column < columns; ++column) {
    RECT cell = {};
    cell.top = column;
    cell.left = LVIR_BOUNDS;
    if (!SendMessage(LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell))) break;
    // Column 0's bounds are the whole row's.
    if (column == 0) cell.right = cell.left + static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, 0));
    cell.top = top;
    cell.bottom = top + height;
    if (cell.right <= client.left || cell.left >= client.right) continue;  // scrolled away
    if (column == 0) {
      PaintCheckCell(m_rowDC, row, cell);
    } else if (column == 1) {
      PaintPhotoCell(m_rowDC, item, row, cell);
    } else {
      LVITEMW get = {};
      get.iSubItem = column;
      get.pszText = text;
      get.cchTextMax = kMaxText;
      text[0] = L'\0';
      SendMessage(LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&get));
      RECT area = cell;
      area.left += ScaleLength(10, m_fScale);
      PaintTextCell(m_rowDC, area, text, kCellText);
    }
  }
  ::BitBlt(item.hDC, client.left, top, width, height, m_rowDC, client.left, top, SRCCOPY);
}

void TERListView::PaintCheckCell(CDC& dc, int row, const RECT& cell) {
  Gdiplus::Bitmap* image = CheckImage(row);
  int image_width = 0;
  if (image) {
    image_width = static_cast<int>(static_cast<float>(image->GetWidth()) * m_fScale);
    const int image_height = static_cast<int>(static_cast<float>(image->GetHeight()) * m_fScale);
    const int y = cell.top + (cell.bottom - cell.top - image_height) / 2;
    m_checkImages.Draw(dc, image, cell.left + ScaleLength(5, m_fScale), y, image_width,
                       image_height);
  }
  wchar_t number[16];
  std::swprintf(number, 16, L"%d", row + 1);
  RECT area = cell;
  area.left += image_width + ScaleLength(5, m_fScale) + ScaleLength(10, m_fScale);
  PaintTextCell(dc, area, number, kCellText);
}

void TERListView::PaintPhotoCell(CDC& dc, DRAWITEMSTRUCT& item, int row, const RECT& cell) {
  if (m_fnDrawPhotoColumn) {
    RECT area = cell;
    m_fnDrawPhotoColumn(dc, &item, area, 1);
    return;
  }
  Gdiplus::Image* photo = m_fnGetPhoto ? m_fnGetPhoto(row) : nullptr;
  if (!photo) photo = m_pDefaultPhoto;
  vantorel::PhotoSize size = {0, 0};
  if (photo) {
    size = vantorel::PhotoCellSize(cell.right - cell.left, cell.bottom - cell.top,
                                   static_cast<int>(photo->GetWidth()),
                                   static_cast<int>(photo->GetHeight()), m_fScale);
  }
  const int x = cell.left + ScaleLength(2, m_fScale);
  DrawScaled(dc, photo, x, cell.top + (cell.bottom - cell.top - size.height) / 2, size.width,
             size.height);
  wchar_t text[kMaxText] = L"";
  LVITEMW get = {};
  get.iSubItem = 1;
  get.pszText = text;
  get.cchTextMax = kMaxText;
  SendMessage(LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&get));
  RECT area = cell;
  area.left = x + size.width + ScaleLength(10, m_fScale);
  PaintTextCell(dc, area, text, kCellText);
}

void TERListView::PaintTextCell(CDC& dc, const RECT& cell, const wchar_t* text, UINT format) {
  if (!text || !*text || cell.right <= cell.left) return;
  RECT area = cell;
  dc.DrawText(text, -1, &area, format);
}

LRESULT TERListView::OnEraseBkgnd(UINT, WPARAM wparam, LPARAM, BOOL&) {
  // Rows paint themselves; only the part below the last row is erased here.
  RECT client = {};
  GetClientRect(&client);
  RECT empty = client;
  const int rows = RowCount();
  if (rows > 0) {
    const int top = static_cast<int>(SendMessage(LVM_GETTOPINDEX));
    const int last = std::min(rows - 1, top + static_cast<int>(SendMessage(LVM_GETCOUNTPERPAGE)));
    RECT bounds = {};
    bounds.left = LVIR_BOUNDS;
    if (SendMessage(LVM_GETITEMRECT, last, reinterpret_cast<LPARAM>(&bounds))) {
      empty.top = std::max(empty.top, bounds.bottom);
    }
  }
  if (empty.bottom > empty.top) {
    CDCHandle dc(reinterpret_cast<HDC>(wparam));
    dc.FillSolidRect(empty, m_crRow);
  }
  return 1;
}
