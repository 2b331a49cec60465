#include "view/internal/ter_tree_view_check_box.h"


#include <algorithm>
#include <cstring>
#include <string>

#include "view/internal/control_window.h"
#include "winlayer/gdi.h"

namespace {

constexpr DWORD kTreeStyle = WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES |
                             TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_NOTOOLTIPS |
                             TVS_CHECKBOXES | TVS_FULLROWSELECT;  // 0x500011A7
constexpr int kItemHeight = 40;
constexpr COLORREF kDisabledText = 0xC8C8C8;
constexpr int kMaxText = 260;
constexpr UINT kUnchecked = 1;  // state-image indexes
constexpr UINT kChecked = 2;

SIZE ImageSize(Gdiplus::Image* image) {
  if (!image) return SIZE{0, 0};
  return SIZE{static_cast<LONG>(image->GetWidth()), static_cast<LONG>(image->GetHeight())};
}

void DrawImageIn(Gdiplus::Graphics& graphics, Gdiplus::Image* image, const RECT& box) {
  if (!image || box.right <= box.left) return;
  graphics.DrawImage(image, Gdiplus::Rect(box.left, box.top, box.right - box.left,
                                          box.bottom - box.top));
}

}  // namespace

// Colours 13 and 14 are the system's highlight indexes; taken as colours they were black on
// black, so the defaults are the colours those indexes name.
TERTreeViewCheckBox::TERTreeViewCheckBox()
    : m_crHighlight(::GetSysColor(COLOR_HIGHLIGHT)),
      m_crHighlightText(::GetSysColor(COLOR_HIGHLIGHTTEXT)) {}

TERTreeViewCheckBox::~TERTreeViewCheckBox() = default;

HWND TERTreeViewCheckBox::CreateTree(HWND parent, int id, const RECT& rect, DWORD background,
                                     Gdiplus::Bitmap* expanded, Gdiplus::Bitmap* collapsed,
                                     Gdiplus::Bitmap* checked, Gdiplus::Bitmap* unchecked) {
  m_pExpanded = expanded;
  m_pCollapsed = collapsed;
  m_pChecked = checked;
  m_pUnchecked = unchecked;
  m_crBackground = background;
  if (!Create(parent, rect, L"Tree", kTreeStyle, 0, static_cast<UINT>(id), nullptr)) return nullptr;
  SendMessage(TVM_SETITEMHEIGHT, kItemHeight);
  m_hTooltip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                                 nullptr, nullptr);
  return m_hWnd;
}

void TERTreeViewCheckBox::SetHighLightColor(DWORD background, DWORD text) {
  m_crHighlight = background;
  m_crHighlightText = text;
}

TERTreeItemRecord* TERTreeViewCheckBox::Record(HTREEITEM item) const {
  if (!item) return nullptr;
  TVITEMW get = {};
  get.mask = TVIF_PARAM | TVIF_HANDLE;
  get.hItem = item;
  if (!::SendMessageW(m_hWnd, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&get))) return nullptr;
  return reinterpret_cast<TERTreeItemRecord*>(get.lParam);
}

bool TERTreeViewCheckBox::RowRect(HTREEITEM item, RECT* row) const {
  // The message takes the item in the rectangle's first bytes.
  std::memcpy(row, &item, sizeof(item));
  return ::SendMessageW(m_hWnd, TVM_GETITEMRECT, FALSE, reinterpret_cast<LPARAM>(row)) != 0;
}

bool TERTreeViewCheckBox::HasChildren(HTREEITEM item) const {
  TVITEMW get = {};
  get.mask = TVIF_CHILDREN | TVIF_HANDLE;
  get.hItem = item;
  ::SendMessageW(m_hWnd, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&get));
  return get.cChildren != 0 ||
         ::SendMessageW(m_hWnd, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item));
}

HTREEITEM TERTreeViewCheckBox::AppendItem(HTREEITEM parent, unsigned kind, const wchar_t* text,
                                          Gdiplus::Image* image, int width, int height,
                                          bool has_children, int number) {
  auto* record = new TERTreeItemRecord;
  record->kind = kind;
  record->image = image;
  record->image_width = width;
  record->image_height = height;
  record->number = number;
  TVINSERTSTRUCTW insert = {};
  insert.hParent = parent ? parent : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE | (has_children ? TVIF_CHILDREN : 0);
  insert.item.pszText = const_cast<wchar_t*>(text ? text : L"");
  insert.item.lParam = reinterpret_cast<LPARAM>(record);
  // Unchecked from the start, whatever the system gives new items.
  insert.item.state = INDEXTOSTATEIMAGEMASK(kUnchecked);
  insert.item.stateMask = TVIS_STATEIMAGEMASK;
  insert.item.cChildren = 1;
  auto* item = reinterpret_cast<HTREEITEM>(
      SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  if (!item) {
    delete record->image;  // it was handed to the tree
    delete record;
  }
  return item;
}

BOOL TERTreeViewCheckBox::UpdateItem(HTREEITEM item, const wchar_t* text, int enabled,
                                     int number, void* user) {
  TERTreeItemRecord* record = Record(item);
  if (record) {
    record->enabled = enabled;
    record->number = number;
    record->user = user;
  }
  TVITEMW set = {};
  set.mask = TVIF_HANDLE | (text ? TVIF_TEXT : 0);
  set.hItem = item;
  set.pszText = const_cast<wchar_t*>(text);
  const BOOL result =
      static_cast<BOOL>(SendMessage(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&set)));
  Invalidate(FALSE);
  return result;
}

void TERTreeViewCheckBox::ReleaseRecords(HTREEITEM item) {
  for (auto* child = reinterpret_cast<HTREEITEM>(
           SendMessage(TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
       child; child = reinterpret_cast<HTREEITEM>(
                  SendMessage(TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)))) {
    ReleaseRecords(child);
  }
  TERTreeItemRecord* record = Record(item);
  if (!record) return;
  TVITEMW clear = {};
  clear.mask = TVIF_PARAM | TVIF_HANDLE;
  clear.hItem = item;
  SendMessage(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&clear));
  delete record->image;
  delete record;
}

BOOL TERTreeViewCheckBox::DeleteItem(HTREEITEM item) {
  if (!item) return FALSE;
  // The system deletes the children with the item; their records go here too.
  ReleaseRecords(item);
  return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)));
}

int TERTreeViewCheckBox::GetItemNumber(HTREEITEM item) const {
  const TERTreeItemRecord* record = Record(item);
  return record ? record->number : -1;
}

int TERTreeViewCheckBox::GetItemCheck(HTREEITEM item) const {
  const UINT state = static_cast<UINT>(
      ::SendMessageW(m_hWnd, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_STATEIMAGEMASK));
  return static_cast<int>(state >> 12) - 1;
}

void TERTreeViewCheckBox::CheckItem(HTREEITEM item, int checked) {
  TVITEMW set = {};
  set.mask = TVIF_STATE | TVIF_HANDLE;
  set.hItem = item;
  set.state = INDEXTOSTATEIMAGEMASK(checked ? kChecked : kUnchecked);
  set.stateMask = TVIS_STATEIMAGEMASK;
  SendMessage(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&set));
  Invalidate(FALSE);
  if (m_fnCheck) {
    m_fnCheck(item, checked != 0);
  } else {
    vantorel::LogLine("KvTreeViewCheckBox", "check changed without a check callback");
  }
}

vantorel::TreeRowLayout TERTreeViewCheckBox::Layout(HTREEITEM item, const RECT& row) const {
  const TERTreeItemRecord* record = Record(item);
  int depth = 0;
  for (auto* up = item; (up = reinterpret_cast<HTREEITEM>(::SendMessageW(
                             m_hWnd, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(up))));) {
    ++depth;
  }
  const UINT state = static_cast<UINT>(::SendMessageW(
      m_hWnd, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED | TVIS_STATEIMAGEMASK));
  vantorel::TreeRowInput in = {};
  in.row = row;
  in.depth = depth;
  in.x_margin = m_nXMargin;
  in.has_children = HasChildren(item);
  in.expanded = (state & TVIS_EXPANDED) != 0;
  in.collapsed = ImageSize(m_pCollapsed);
  in.expanded_glyph = ImageSize(m_pExpanded);
  in.box = ImageSize((state >> 12) == kUnchecked ? m_pUnchecked : m_pChecked);
  if (record && record->image) {
    const SIZE own = ImageSize(record->image);
    in.image = SIZE{record->image_width > 0 ? record->image_width : own.cx,
                    record->image_height > 0 ? record->image_height : own.cy};
  }
  in.text_height = m_nTextHeight;
  return vantorel::LayoutTreeRow(in);
}

LRESULT TERTreeViewCheckBox::OnLButtonDown(UINT, WPARAM, LPARAM lparam, BOOL&) {
  TVHITTESTINFO hit = {};
  hit.pt = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  auto* item = reinterpret_cast<HTREEITEM>(SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  SetFocus();
  if (!item) return 0;
  RECT row = {};
  if (!RowRect(item, &row)) return 0;
  // Laid out afresh: the rectangles of the last paint may be older than a scroll.
  const vantorel::TreeRowLayout layout = Layout(item, row);
  if (::PtInRect(&layout.check, hit.pt)) CheckItem(item, GetItemCheck(item) == 1 ? 0 : 1);
  const TERTreeItemRecord* record = Record(item);
  const vantorel::TreeClick action =
      vantorel::ClickOnItem(HasChildren(item), !record || record->enabled != 0, hit.pt.x,
                            layout.content_x, ImageSize(m_pCollapsed).cx);
  switch (action) {
    case vantorel::TreeClick::kToggleExpansion:
      SendMessage(TVM_EXPAND, TVE_TOGGLE, reinterpret_cast<LPARAM>(item));
      break;
    case vantorel::TreeClick::kExpandAndSelect:
      SendMessage(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
      SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
      break;
    case vantorel::TreeClick::kSelect:
      SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
      break;
    case vantorel::TreeClick::kNothing:
      break;
  }
  Invalidate(FALSE);
  return 0;
}

LRESULT TERTreeViewCheckBox::OnKeyDown(UINT, WPARAM wparam, LPARAM, BOOL& handled) {
  // Space toggles through CheckItem, so the owner hears of it like of a click.
  auto* item = reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, TVGN_CARET));
  if (wparam != VK_SPACE || !item) {
    handled = FALSE;
    return 0;
  }
  CheckItem(item, GetItemCheck(item) == 1 ? 0 : 1);
  return 0;
}

LRESULT TERTreeViewCheckBox::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  for (auto* root = reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, TVGN_ROOT)); root;
       root = reinterpret_cast<HTREEITEM>(
           SendMessage(TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(root)))) {
    ReleaseRecords(root);
  }
  handled = FALSE;
  return 0;
}

LRESULT TERTreeViewCheckBox::OnPaint(UINT, WPARAM wparam, LPARAM, BOOL&) {
  PAINTSTRUCT paint = {};
  HDC target = wparam ? reinterpret_cast<HDC>(wparam) : ::BeginPaint(m_hWnd, &paint);
  RECT client = {};
  GetClientRect(&client);
  {
    CMemoryDC dc(target, client);
    dc.FillSolidRect(client, m_crBackground);
    Gdiplus::Graphics graphics(dc);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    CSelectObject select_font(dc, Font());
    TEXTMETRICW metrics = {};
    m_nTextHeight = ::GetTextMetricsW(dc, &metrics) ? metrics.tmHeight : 0;
    dc.SetBkMode(TRANSPARENT);
    for (auto* item = reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE));
         item; item = reinterpret_cast<HTREEITEM>(SendMessage(
                   TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, reinterpret_cast<LPARAM>(item)))) {
      RECT row = {};
      if (!RowRect(item, &row)) break;
      if (row.top >= client.bottom) break;
      PaintItem(dc, graphics, item);
    }
  }
  if (!wparam) ::EndPaint(m_hWnd, &paint);
  return 0;
}

void TERTreeViewCheckBox::PaintItem(HDC target, Gdiplus::Graphics& graphics, HTREEITEM item) {
  CDCHandle dc(target);
  RECT row = {};
  RowRect(item, &row);
  wchar_t text[kMaxText] = L"";
  TVITEMW get = {};
  get.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_STATE | TVIF_PARAM;
  get.hItem = item;
  get.stateMask = TVIS_SELECTED | TVIS_EXPANDED | TVIS_STATEIMAGEMASK;
  get.pszText = text;
  get.cchTextMax = kMaxText;
  SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&get));
  auto* record = reinterpret_cast<TERTreeItemRecord*>(get.lParam);

  const bool highlighted = (get.state & TVIS_SELECTED) &&
                           (::GetFocus() == m_hWnd || (GetStyle() & TVS_SHOWSELALWAYS));
  COLORREF color = 0;
  if (record && !record->enabled) {
    color = kDisabledText;
  } else if (highlighted) {
    dc.FillSolidRect(row, m_crHighlight);
    color = m_crHighlightText;
  }
  dc.SetTextColor(color);

  const vantorel::TreeRowLayout layout = Layout(item, row);
  if (record) {
    record->x = layout.content_x;
    record->check = layout.check;
  }
  DrawImageIn(graphics, (get.state & TVIS_EXPANDED) ? m_pExpanded : m_pCollapsed, layout.glyph);
  DrawImageIn(graphics, (get.state >> 12) == kUnchecked ? m_pUnchecked : m_pChecked,
              layout.check);
  if (record) DrawImageIn(graphics, record->image, layout.image);

  RECT text_band = layout.text;
  if (record && record->number >= 0) {
    const std::wstring count = std::to_wstring(record->number);
    SIZE size = {};
    dc.GetTextExtent(count.c_str(), static_cast<int>(count.size()), &size);
    RECT badge = vantorel::BadgeRect(row, size);
    CPen pen;
    pen.CreatePen(PS_SOLID, 1, color);
    {
      CSelectObject select_pen(dc, pen);
      CSelectObject select_brush(dc, ::GetStockObject(HOLLOW_BRUSH));
      dc.RoundRect(badge.left, badge.top, badge.right, badge.bottom, 8, 8);
    }
    dc.DrawText(count.c_str(), static_cast<int>(count.size()), &badge,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    text_band.right = std::min(text_band.right, badge.left - 4);  // the count stays readable
  }
  dc.DrawText(text, -1, &text_band, DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}
