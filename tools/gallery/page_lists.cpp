// The lists page: KvListView (checks, stripes, hover, selection, photos, a refused row),
// KvTreeViewCheckBox (glyphs, boxes, images, badges, a disabled and a selected item) and
// KvWindowBgBrushHelper (labels over a picture). The controls sit in a host window of their
// own, which answers the list's texts, paints the picture and hands out the label brushes.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "gallery.h"
#include "view/kv_list_view.h"
#include "view/kv_tree_view_check_box.h"
#include "view/kv_window_bg_brush_helper.h"
#include "winlayer/gdi.h"
#include "winlayer/window.h"

namespace {

class ListsPage : public CWindowImpl<ListsPage, CWindow, CNullTraits> {
 public:
  DECLARE_WND_CLASS_EX(L"VantorelGalleryLists", 0, COLOR_WINDOW)

  BEGIN_MSG_MAP(ListsPage)
  MESSAGE_HANDLER(WM_PAINT, OnPaint)
  MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
  MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
  MESSAGE_HANDLER(WM_TIMER, OnTimer)
  REFLECT_NOTIFICATIONS()
  END_MSG_MAP()

  ListsPage() = default;
  ~ListsPage() override = default;

  // A child of `parent` over `rect`, holding the page's controls at `scale`.
  void Create(HWND parent, const RECT& rect, float scale);

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCtlColorStatic(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnNotify(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);

  // LVN_GETDISPINFO for the page's list; false for anything else.
  bool AnswerText(const NMHDR* header);
  HBRUSH LabelBrush(HDC dc, HWND child);  // null for windows that are not the page's labels
  void PaintBackground(HDC dc);
  // Puts the mouse pointer over a row of the list, to show the hover colour.
  void HoverListRow(int row);
  void CreateList(HWND parent, const RECT& area, UINT id);
  void CreateTree(HWND parent, const RECT& area, UINT id);
  void CreateBrushDemo(HWND parent, const RECT& area);

  float m_scale = 1.0f;
  CFont m_font;
  CFont m_bigFont;
  std::vector<std::unique_ptr<Gdiplus::Bitmap>> m_images;
  Gdiplus::Bitmap* m_checked = nullptr;
  Gdiplus::Bitmap* m_unchecked = nullptr;
  Gdiplus::Bitmap* m_disabled = nullptr;
  std::vector<Gdiplus::Bitmap*> m_photos;
  std::vector<bool> m_checks;
  KvListView m_list;
  KvTreeViewCheckBox m_tree;
  KvWindowBgBrushHelper m_brushes;
  std::unique_ptr<Gdiplus::Bitmap> m_picture;
  RECT m_pictureArea = {};
  std::vector<HWND> m_labels;
};

constexpr int kRows = 40;
constexpr int kColumnWidths[] = {70, 220, 80, 80};
const wchar_t* const kColumnTitles[] = {L"", L"Recording", L"Length", L"Size"};

int Scaled(int length, float scale) { return static_cast<int>(static_cast<float>(length) * scale); }

std::unique_ptr<Gdiplus::Bitmap> NewBitmap(int width, int height) {
  return std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
}

// A 16-pixel check box: a white rounded square, or blue with a white tick, or greyed.
std::unique_ptr<Gdiplus::Bitmap> CheckBox(bool checked, bool disabled) {
  auto bitmap = NewBitmap(16, 16);
  Gdiplus::Graphics graphics(bitmap.get());
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
  const Gdiplus::Color fill = disabled  ? Gdiplus::Color(255, 225, 225, 225)
                              : checked ? Gdiplus::Color(255, 32, 120, 220)
                                        : Gdiplus::Color(255, 255, 255, 255);
  const Gdiplus::Color border = checked && !disabled ? fill : Gdiplus::Color(255, 150, 150, 150);
  Gdiplus::SolidBrush brush(fill);
  Gdiplus::Pen pen(border, 1.0f);
  graphics.FillRectangle(&brush, 1, 1, 14, 14);
  graphics.DrawRectangle(&pen, 1, 1, 14, 14);
  if (checked) {
    Gdiplus::Pen tick(Gdiplus::Color(255, 255, 255, 255), 2.0f);
    const Gdiplus::Point points[] = {{4, 8}, {7, 11}, {12, 5}};
    graphics.DrawLines(&tick, points, 3);
  }
  return bitmap;
}

// A chevron glyph pointing right (collapsed) or down (expanded).
std::unique_ptr<Gdiplus::Bitmap> Glyph(bool expanded) {
  auto bitmap = NewBitmap(16, 16);
  Gdiplus::Graphics graphics(bitmap.get());
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
  Gdiplus::Pen pen(Gdiplus::Color(255, 90, 90, 90), 2.0f);
  if (expanded) {
    const Gdiplus::Point points[] = {{3, 6}, {8, 11}, {13, 6}};
    graphics.DrawLines(&pen, points, 3);
  } else {
    const Gdiplus::Point points[] = {{6, 3}, {11, 8}, {6, 13}};
    graphics.DrawLines(&pen, points, 3);
  }
  return bitmap;
}

// A small picture: a diagonal gradient between two colours with a light frame.
std::unique_ptr<Gdiplus::Bitmap> Photo(int width, int height, Gdiplus::Color from,
                                       Gdiplus::Color to) {
  auto bitmap = NewBitmap(width, height);
  Gdiplus::Graphics graphics(bitmap.get());
  Gdiplus::LinearGradientBrush brush(Gdiplus::Point(0, 0), Gdiplus::Point(width, height), from, to);
  graphics.FillRectangle(&brush, 0, 0, width, height);
  Gdiplus::Pen pen(Gdiplus::Color(160, 255, 255, 255), 2.0f);
  graphics.DrawEllipse(&pen, width / 4, height / 4, width / 2, height / 2);
  return bitmap;
}

constexpr UINT kFirstId = 600;
constexpr UINT_PTR kHoverTimer = 1;

void ListsPage::Create(HWND parent, const RECT& rect, float scale) {
  CWindowImpl::Create(parent, rect, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0);
  const RECT area = {0, 0, rect.right - rect.left, rect.bottom - rect.top};
  const HWND host = m_hWnd;
  const UINT first_id = kFirstId;
  m_scale = scale;
  m_font.CreateFont(-Scaled(13, scale), L"Arial");
  m_bigFont.CreateFont(-Scaled(18, scale), L"Arial", FW_BOLD);
  const int gap = Scaled(10, scale);
  const int width = area.right - area.left;
  const int list_width = width * 56 / 100;
  const int tree_height = (area.bottom - area.top) * 60 / 100;
  CreateList(host, RECT{area.left, area.top, area.left + list_width, area.bottom}, first_id);
  CreateTree(host, RECT{area.left + list_width + gap, area.top, area.right, area.top + tree_height},
             first_id + 1);
  CreateBrushDemo(host, RECT{area.left + list_width + gap, area.top + tree_height + gap,
                             area.right, area.bottom});
  // Only one pointer: it shows the hover on the larger scale's list, once the gallery is up.
  if (scale > 1.0f) SetTimer(kHoverTimer, 300);
}

LRESULT ListsPage::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
  PAINTSTRUCT paint = {};
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  RECT client = {};
  GetClientRect(&client);
  CDCHandle(dc).FillSolidRect(client, RGB(255, 255, 255));
  PaintBackground(dc);
  ::EndPaint(m_hWnd, &paint);
  return 0;
}

LRESULT ListsPage::OnCtlColorStatic(UINT, WPARAM wparam, LPARAM lparam, BOOL& handled) {
  HBRUSH brush = LabelBrush(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
  handled = brush != nullptr;
  return reinterpret_cast<LRESULT>(brush);
}

LRESULT ListsPage::OnNotify(UINT, WPARAM, LPARAM lparam, BOOL& handled) {
  handled = AnswerText(reinterpret_cast<const NMHDR*>(lparam));
  return 0;
}

LRESULT ListsPage::OnTimer(UINT, WPARAM, LPARAM, BOOL&) {
  KillTimer(kHoverTimer);
  HoverListRow(2);
  return 0;
}

void ListsPage::CreateList(HWND parent, const RECT& area, UINT id) {
  m_images.push_back(CheckBox(true, false));
  m_checked = m_images.back().get();
  m_images.push_back(CheckBox(false, false));
  m_unchecked = m_images.back().get();
  m_images.push_back(CheckBox(false, true));
  m_disabled = m_images.back().get();
  const Gdiplus::Color colors[][2] = {{Gdiplus::Color(255, 240, 120, 60), Gdiplus::Color(255, 120, 30, 90)},
                                      {Gdiplus::Color(255, 60, 160, 220), Gdiplus::Color(255, 20, 60, 120)},
                                      {Gdiplus::Color(255, 90, 200, 120), Gdiplus::Color(255, 30, 90, 60)}};
  for (const auto& pair : colors) {
    m_images.push_back(Photo(64, 36, pair[0], pair[1]));
    m_photos.push_back(m_images.back().get());
  }

  m_checks.assign(kRows, false);
  m_checks[0] = m_checks[3] = m_checks[5] = true;
  m_list.SetDpiScale(m_scale);
  m_list.SetItemHeight(Scaled(40, m_scale));
  m_list.SetCheckBoxImage(m_checked, m_unchecked, m_disabled);
  m_list.SetFuncGetCheckState([this](int row) { return m_checks[row]; });
  m_list.SetFuncSetCheckState([this](int row, bool value) { m_checks[row] = value; });
  m_list.SetTestCanCheckFunc([](int row) { return row != 4; });
  m_list.SetPhotoGetFunc([this](int row) -> Gdiplus::Image* {
    return row % 4 == 3 ? nullptr : m_photos[row % 3];  // every fourth: the default photo
  });
  m_list.SetDefaultPhoto(m_photos[1]);
  m_list.CreateListView(parent, area, id, true, true, false);
  ::SendMessageW(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(m_font)), FALSE);
  for (int column = 0; column < 4; ++column) {
    LVCOLUMNW info = {};
    info.mask = LVCF_WIDTH | LVCF_TEXT;
    info.cx = Scaled(kColumnWidths[column], m_scale);
    info.pszText = const_cast<wchar_t*>(kColumnTitles[column]);
    ::SendMessageW(m_list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&info));
  }
  m_list.SetItemCount(kRows);
  LVITEMW state = {};
  state.stateMask = LVIS_SELECTED;
  state.state = LVIS_SELECTED;
  ::SendMessageW(m_list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
}

void ListsPage::HoverListRow(int row) {
  RECT bounds = {};
  bounds.left = LVIR_BOUNDS;
  ::SendMessageW(m_list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
  POINT point = {bounds.left + Scaled(300, m_scale), (bounds.top + bounds.bottom) / 2};
  ::ClientToScreen(m_list, &point);
  ::SetCursorPos(point.x, point.y);
}

bool ListsPage::AnswerText(const NMHDR* header) {
  if (!header || header->hwndFrom != m_list || header->code != LVN_GETDISPINFOW) return false;
  auto* info = reinterpret_cast<const NMLVDISPINFOW*>(header);
  const LVITEMW& item = info->item;
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return true;
  switch (item.iSubItem) {
    case 1:
      std::swprintf(item.pszText, item.cchTextMax, L"Screen recording %03d.mp4", item.iItem + 1);
      break;
    case 2:
      std::swprintf(item.pszText, item.cchTextMax, L"%02d:%02d", (item.iItem * 7) % 60,
                    (item.iItem * 13) % 60);
      break;
    case 3:
      std::swprintf(item.pszText, item.cchTextMax, L"%d.%d MB", 12 + item.iItem * 3,
                    item.iItem % 10);
      break;
    default:
      item.pszText[0] = L'\0';
      break;
  }
  return true;
}

void ListsPage::CreateTree(HWND parent, const RECT& area, UINT id) {
  m_images.push_back(Glyph(true));
  Gdiplus::Bitmap* expanded = m_images.back().get();
  m_images.push_back(Glyph(false));
  Gdiplus::Bitmap* collapsed = m_images.back().get();
  KvTreeViewCheckBox::CheckCallback on_check = [](HTREEITEM, bool) {};
  m_tree.SetCheckItemCallback(on_check);
  m_tree.SetXMargin(Scaled(4, m_scale));
  m_tree.SetHighLightColor(RGB(0xCD, 0xE8, 0xFF), RGB(0, 0, 0));
  m_tree.CreateTree(parent, static_cast<int>(id), area, RGB(255, 255, 255), expanded, collapsed,
                    m_checked, m_unchecked);
  ::SendMessageW(m_tree, WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(m_font)), FALSE);

  auto photo = [](int index) {
    const Gdiplus::Color colors[] = {Gdiplus::Color(255, 240, 120, 60), Gdiplus::Color(255, 60, 160, 220),
                                     Gdiplus::Color(255, 90, 200, 120)};
    return Photo(32, 24, colors[index], Gdiplus::Color(255, 40, 40, 60)).release();  // the tree's
  };
  HTREEITEM recordings = m_tree.AppendItem(nullptr, 0, L"Recordings", nullptr, 0, 0, true, 12);
  HTREEITEM today = m_tree.AppendItem(recordings, 1, L"Today", photo(0), 0, 0, false, 3);
  m_tree.AppendItem(recordings, 1, L"Yesterday", photo(1), 0, 0, false, 0);
  HTREEITEM archive = m_tree.AppendItem(recordings, 1, L"Archive (read only)", photo(2), 0, 0,
                                        true, -1);
  m_tree.AppendItem(archive, 1, L"2023", nullptr, 0, 0, false, 9);
  m_tree.UpdateItem(archive, nullptr, 0, -1, nullptr);
  HTREEITEM shots = m_tree.AppendItem(nullptr, 0, L"Screenshots", nullptr, 0, 0, true, 5);
  m_tree.AppendItem(shots, 1, L"Desktop", nullptr, 0, 0, false, 5);
  m_tree.AppendItem(nullptr, 0, L"Exports", nullptr, 0, 0, false, -1);
  ::SendMessageW(m_tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(recordings));
  ::SendMessageW(m_tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(today));
  m_tree.CheckItem(today, 1);
  m_tree.CheckItem(shots, 1);
}

void ListsPage::CreateBrushDemo(HWND parent, const RECT& area) {
  m_pictureArea = area;
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  m_picture = Photo(width, height, Gdiplus::Color(255, 30, 60, 120), Gdiplus::Color(255, 230, 140, 60));
  const wchar_t* const texts[] = {L"Labels over the picture", L"show what lies under them"};
  for (int i = 0; i < 2; ++i) {
    const int top = area.top + Scaled(16, m_scale) + i * Scaled(34, m_scale);
    HWND label = ::CreateWindowExW(0, L"STATIC", texts[i], WS_CHILD | WS_VISIBLE,
                                   area.left + Scaled(16, m_scale), top, width - Scaled(32, m_scale),
                                   Scaled(28, m_scale), parent, nullptr, nullptr, nullptr);
    ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(m_bigFont)), FALSE);
    // The picture is drawn at the area's corner: its origin lies at minus that.
    m_brushes.AddSubWindow(label, m_picture.get(), -area.left, -area.top);
    m_labels.push_back(label);
  }
}

HBRUSH ListsPage::LabelBrush(HDC dc, HWND child) {
  HBRUSH brush = m_brushes.GetHBRUSH(child);
  if (!brush) return nullptr;
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(255, 255, 255));
  return brush;
}

void ListsPage::PaintBackground(HDC dc) {
  if (!m_picture) return;
  Gdiplus::Graphics graphics(dc);
  graphics.DrawImage(m_picture.get(), static_cast<INT>(m_pictureArea.left),
                    static_cast<INT>(m_pictureArea.top));
}

void BuildPage(GalleryPageContext& page) {
  page.Caption(10, 6, L"KvListView: checks, header box, stripes, selection (2), hover (3, right only: one pointer), refused row (5)");
  page.Caption(520, 6, L"KvTreeViewCheckBox and KvWindowBgBrushHelper");
  auto& lists = page.Keep<ListsPage>();
  lists.Create(page.parent, RECT{page.Scale(10), page.Scale(26), page.Scale(890), page.Scale(526)},
               page.scale);
}

}  // namespace

GALLERY_PAGE(50, "lists", BuildPage);
