// The owner-data list view at scale 1.5 (100,000 rows, 4 columns, rows of 90 pixels) next to
// a plain SysListView32 in owner-data mode with the same rows, columns and row height, in the
// same run: one page painted, and 1,000 pages scrolled and painted one after another. Also
// the heap bytes gained by going from 1,000 rows to 100,000, for both lists.
#include <windows.h>

#include <commctrl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>

#include "view/kv_list_view.h"
#include "winlayer/window.h"

namespace {

constexpr int kRows = 100000;
constexpr int kFewRows = 1000;
constexpr int kColumns = 4;
constexpr float kScale = 1.5f;
constexpr int kRowHeight = 90;
constexpr int kPagePaints = 50;
constexpr int kScrollPages = 1000;
constexpr int kRounds = 2;
constexpr UINT kOursId = 1;
constexpr UINT kPlainId = 2;

// Answers the texts of both lists and reflects notifications to ours.
class Host : public CWindowImpl<Host, CWindow, CNullTraits> {
 public:
  DECLARE_WND_CLASS(L"ListBenchHost")
  BEGIN_MSG_MAP(Host)
  NOTIFY_CODE_HANDLER(LVN_GETDISPINFOW, OnGetDispInfo)
  REFLECT_NOTIFICATIONS()
  END_MSG_MAP()

  LRESULT OnGetDispInfo(int, LPNMHDR header, BOOL&) {
    auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
    if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0) {
      std::swprintf(info->item.pszText, info->item.cchTextMax, L"Recording %d, part %d",
                    info->item.iItem, info->item.iSubItem);
    }
    return 0;
  }
};

double Now() {
  LARGE_INTEGER frequency, counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return double(counter.QuadPart) / double(frequency.QuadPart);
}

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

// Bytes in use in every heap of the process (the C runtime's and the system's).
long long HeapBytes() {
  HANDLE heaps[64];
  const DWORD count = std::min<DWORD>(::GetProcessHeaps(64, heaps), 64);
  long long busy = 0;
  for (DWORD i = 0; i < count; ++i) {
    if (!::HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry = {};
    while (::HeapWalk(heaps[i], &entry)) {
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) busy += entry.cbData;
    }
    ::HeapUnlock(heaps[i]);
  }
  return busy;
}

void AddColumns(HWND list) {
  const int widths[kColumns] = {180, 300, 240, 240};
  wchar_t title[] = L"Column";
  for (int column = 0; column < kColumns; ++column) {
    LVCOLUMNW info = {};
    info.mask = LVCF_WIDTH | LVCF_TEXT;
    info.cx = widths[column];
    info.pszText = title;
    ::SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&info));
  }
}

void PaintNow(HWND list) {
  ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// Seconds per page painted in place.
double TimePage(HWND list) {
  ::SendMessageW(list, LVM_ENSUREVISIBLE, 0, FALSE);
  PaintNow(list);
  const double start = Now();
  for (int i = 0; i < kPagePaints; ++i) PaintNow(list);
  return (Now() - start) / kPagePaints;
}

// Seconds for scrolling a page down and painting it, kScrollPages times.
double TimeScroll(HWND list) {
  ::SendMessageW(list, LVM_ENSUREVISIBLE, 0, FALSE);
  PaintNow(list);
  const double start = Now();
  for (int i = 0; i < kScrollPages; ++i) {
    ::SendMessageW(list, WM_VSCROLL, SB_PAGEDOWN, 0);
    ::UpdateWindow(list);
  }
  const double seconds = Now() - start;
  Pump();
  return seconds;
}

// Heap bytes gained by going from a few rows to all of them, scrolled to the end.
long long RowGrowth(HWND list) {
  ::SendMessageW(list, LVM_SETITEMCOUNT, kFewRows, 0);
  ::SendMessageW(list, LVM_ENSUREVISIBLE, kFewRows - 1, FALSE);
  PaintNow(list);
  const long long before = HeapBytes();
  ::SendMessageW(list, LVM_SETITEMCOUNT, kRows, 0);
  ::SendMessageW(list, LVM_ENSUREVISIBLE, kRows - 1, FALSE);
  PaintNow(list);
  return HeapBytes() - before;
}

}  // namespace

int main() {
  Gdiplus::GdiplusStartupInput gdiplus_input;
  ULONG_PTR gdiplus = 0;
  Gdiplus::GdiplusStartup(&gdiplus, &gdiplus_input, nullptr);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&controls);
  {
    Host host;
    host.Create(nullptr, RECT{0, 0, 1000, 700}, L"list bench", WS_POPUP | WS_CLIPCHILDREN, 0);
    host.ShowWindow(SW_SHOWNA);
    const RECT area = {0, 0, 1000, 700};

    Gdiplus::Bitmap checked(16, 16, PixelFormat32bppARGB);
    Gdiplus::Bitmap unchecked(16, 16, PixelFormat32bppARGB);
    {
      Gdiplus::Graphics(&checked).Clear(Gdiplus::Color(0xFF2080F0));
      Gdiplus::Graphics(&unchecked).Clear(Gdiplus::Color(0xFFC0C0C0));
    }
    KvListView ours;
    ours.SetDpiScale(kScale);
    ours.SetCheckBoxImage(&checked, &unchecked, &unchecked);
    ours.SetFuncGetCheckState([](int row) { return row % 3 == 0; });
    ours.SetFuncSetCheckState([](int, bool) {});
    ours.CreateListView(host, area, kOursId, true, true, false);
    AddColumns(ours);
    ours.SetItemCount(kRows);

    // The plain list gets the same row height from a small-image list of that height.
    HWND plain = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT | LVS_OWNERDATA,
                                   0, 0, 1000, 700, host, reinterpret_cast<HMENU>(kPlainId),
                                   nullptr, nullptr);
    ::SendMessageW(plain, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                   LVS_EX_DOUBLEBUFFER | LVS_EX_FULLROWSELECT);
    HIMAGELIST heights = ImageList_Create(1, kRowHeight - 1, ILC_COLOR32, 1, 1);  // + 1: 90
    ::SendMessageW(plain, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(heights));
    AddColumns(plain);
    ::SendMessageW(plain, LVM_SETITEMCOUNT, kRows, 0);

    RECT row = {};
    row.left = LVIR_BOUNDS;
    ::SendMessageW(ours, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    RECT plain_row = {};
    plain_row.left = LVIR_BOUNDS;
    ::SendMessageW(plain, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&plain_row));

    auto show = [&](HWND shown, HWND hidden) {
      ::ShowWindow(hidden, SW_HIDE);
      ::ShowWindow(shown, SW_SHOWNA);
      Pump();
    };
    double page_ours = 1e30, page_plain = 1e30, scroll_ours = 1e30, scroll_plain = 1e30;
    for (int round = 0; round < kRounds; ++round) {
      show(plain, ours);
      page_plain = std::min(page_plain, TimePage(plain));
      scroll_plain = std::min(scroll_plain, TimeScroll(plain));
      show(ours, plain);
      page_ours = std::min(page_ours, TimePage(ours));
      scroll_ours = std::min(scroll_ours, TimeScroll(ours));
    }
    // The heap count itself, on an allocation of known size.
    const long long probe_before = HeapBytes();
    auto* probe = new char[1 << 20];
    probe[0] = 1;
    const long long probe_growth = HeapBytes() - probe_before;
    delete[] probe;
    const long long growth_ours = RowGrowth(ours);
    show(plain, ours);
    const long long growth_plain = RowGrowth(plain);

    std::printf("list view: %d owner-data rows, %d columns, scale %.1f, rows %ld / %ld px "
                "(ours / plain), best of %d\n",
                kRows, kColumns, kScale, row.bottom - row.top, plain_row.bottom - plain_row.top,
                kRounds);
    std::printf("one page: plain SysListView32 = %.3f ms  KvListView = %.3f ms  ratio = %.2f\n",
                page_plain * 1e3, page_ours * 1e3, page_ours / page_plain);
    std::printf("%d pages scrolled and painted: plain = %.1f ms  KvListView = %.1f ms  "
                "ratio = %.2f\n",
                kScrollPages, scroll_plain * 1e3, scroll_ours * 1e3, scroll_ours / scroll_plain);
    std::printf("heap bytes from %d to %d rows: plain = %+lld  KvListView = %+lld  "
                "(a 1 MB allocation counts %+lld)\n",
                kFewRows, kRows, growth_plain, growth_ours, probe_growth);
    std::printf("ratio (scroll time, KvListView / plain) = %.2f\n", scroll_ours / scroll_plain);
    ::DestroyWindow(plain);
    ImageList_Destroy(heights);
    host.DestroyWindow();
  }
  Gdiplus::GdiplusShutdown(gdiplus);
  return 0;
}
