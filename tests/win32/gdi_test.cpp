#include "common/win32/gdi.h"

#include <gtest/gtest.h>

#include <utility>

#include "common/win32/window.h"
#include "test_support.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A 64x48 32-bit surface to draw on and read back exactly.
class Surface {
 public:
  Surface() {
    dc.CreateCompatibleDC();
    bitmap.CreateDIBSection32(64, 48);
    select_.emplace(dc, bitmap);
    dc.FillSolidRect(MakeRect(0, 0, 64, 48), kWhite);
  }
  CBitmap bitmap;
  CDC dc;

 private:
  struct Selection {
    void emplace(HDC target, HGDIOBJ object) { guard = new CSelectObject(target, object); }
    ~Selection() { delete guard; }
    CSelectObject* guard = nullptr;
  } select_;
};

TEST(Gdi, MemoryDcPaintsOffScreenAndCopiesOnDestruction) {
  Surface surface;
  {
    CMemoryDC buffer(surface.dc, MakeRect(10, 10, 30, 30));
    ASSERT_TRUE(buffer.IsBuffered());
    buffer.FillSolidRect(MakeRect(10, 10, 30, 30), kRed);
    buffer.FillSolidRect(MakeRect(20, 20, 30, 30), kBlue);
    EXPECT_EQ(buffer.GetPixel(25, 25), kBlue) << "same coordinates as the target";
    EXPECT_EQ(surface.dc.GetPixel(15, 15), kWhite) << "nothing reaches the target yet";
  }
  EXPECT_EQ(surface.dc.GetPixel(15, 15), kRed);
  EXPECT_EQ(surface.dc.GetPixel(25, 25), kBlue);
  EXPECT_EQ(surface.dc.GetPixel(29, 29), kBlue);
  EXPECT_EQ(surface.dc.GetPixel(9, 9), kWhite);
  EXPECT_EQ(surface.dc.GetPixel(30, 30), kWhite);
}

TEST(Gdi, MemoryDcWithoutAnAreaDrawsStraightThrough) {
  Surface surface;
  {
    CMemoryDC buffer(surface.dc, MakeRect(5, 5, 5, 40));
    EXPECT_FALSE(buffer.IsBuffered());
    buffer.SetPixel(3, 3, kRed);
    EXPECT_EQ(surface.dc.GetPixel(3, 3), kRed);
  }
  EXPECT_TRUE(::GetObjectType(surface.dc)) << "the target DC is left alone";
}

// Paints a window through CPaintDC and CMemoryDC, the way custom-drawn views do.
class Painted : public CWindowImpl<Painted, CWindow, CWinTraits<WS_POPUP>> {
 public:
  DECLARE_WND_CLASS_EX(nullptr, 0, -1)
  BEGIN_MSG_MAP(Painted)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
  END_MSG_MAP()
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    CPaintDC paint(m_hWnd);
    RECT client{};
    GetClientRect(&client);
    CMemoryDC buffer(paint, client);
    CBrush red;
    red.CreateSolidBrush(kRed);
    buffer.FillRect(client, red);
    buffer.FillSolidRect(MakeRect(0, 0, 10, 10), kBlue);
    ++paints;
    return 0;
  }
  int paints = 0;
};

TEST(Gdi, DoubleBufferedWindowPaint) {
  Painted window;
  ASSERT_TRUE(window.Create(nullptr, MakeRect(200, 200, 260, 240), nullptr, 0,
                            WS_EX_TOOLWINDOW | WS_EX_TOPMOST));
  // Shown without activation: under Wine an activated window is slow to hide.
  window.ShowWindow(SW_SHOWNOACTIVATE);
  window.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_GE(window.paints, 1);
  CClientDC dc(window);
  EXPECT_EQ(dc.GetPixel(5, 5), kBlue);
  EXPECT_EQ(dc.GetPixel(30, 20), kRed);
  window.DestroyWindow();
}

TEST(Gdi, SelectObjectPutsThePreviousObjectBack) {
  CDC dc;
  ASSERT_TRUE(dc.CreateCompatibleDC());
  HGDIOBJ original_pen = dc.GetCurrentObject(OBJ_PEN);
  HGDIOBJ original_brush = dc.GetCurrentObject(OBJ_BRUSH);
  HPEN pen_handle = nullptr;
  {
    CPen pen;
    ASSERT_TRUE(pen.CreatePen(PS_SOLID, 2, kRed));
    pen_handle = pen;
    CBrush brush;
    brush.CreateSolidBrush(kBlue);
    CSelectObject select_pen(dc, pen);
    CSelectObject select_brush(dc, brush);
    EXPECT_EQ(dc.GetCurrentObject(OBJ_PEN), pen_handle);
    EXPECT_EQ(select_pen.GetPrevious(), original_pen);
    EXPECT_EQ(dc.GetCurrentObject(OBJ_BRUSH), static_cast<HGDIOBJ>(brush));
  }
  EXPECT_EQ(dc.GetCurrentObject(OBJ_PEN), original_pen);
  EXPECT_EQ(dc.GetCurrentObject(OBJ_BRUSH), original_brush);
  EXPECT_EQ(::GetObjectType(pen_handle), 0u) << "deleted once deselected";

  CRgn clip;
  clip.CreateRectRgn(2, 3, 12, 13);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(dc, 20, 20);
  CSelectObject select_bitmap(dc, bitmap);
  CSelectObject select_clip(dc, clip);
  RECT box{};
  EXPECT_EQ(dc.GetClipBox(&box), SIMPLEREGION);
  EXPECT_EQ(box.left, 2);
  EXPECT_EQ(box.bottom, 13);
}

TEST(Gdi, ObjectsMoveAndReplaceWithoutLeaking) {
  CBrush first;
  HBRUSH old_handle = first.CreateSolidBrush(kRed);
  HBRUSH new_handle = first.CreateSolidBrush(kBlue);
  EXPECT_EQ(::GetObjectType(old_handle), 0u) << "the brush it held is deleted";
  CBrush second(std::move(first));
  EXPECT_TRUE(first.IsNull());
  EXPECT_EQ(second.GetHandle(), new_handle);
  CBrush third;
  third = std::move(second);
  EXPECT_EQ(third.GetHandle(), new_handle);
  EXPECT_EQ(third.Detach(), new_handle);
  EXPECT_TRUE(third.IsNull());
  ::DeleteObject(new_handle);

  CFont font;
  ASSERT_TRUE(font.CreateFont(-12, L"Arial", FW_BOLD));
  LOGFONTW log{};
  ASSERT_TRUE(font.GetLogFont(&log));
  EXPECT_EQ(log.lfWeight, FW_BOLD);
  EXPECT_STREQ(log.lfFaceName, L"Arial");

  CBitmap bitmap;
  bitmap.CreateBitmap(7, 5, 1, 32, nullptr);
  SIZE size{};
  ASSERT_TRUE(bitmap.GetSize(&size));
  EXPECT_EQ(size.cx, 7);
  EXPECT_EQ(size.cy, 5);
}

TEST(Gdi, Regions) {
  CRgn round;
  ASSERT_TRUE(round.CreateRoundRectRgn(0, 0, 100, 100, 40, 40));
  EXPECT_FALSE(round.PtInRegion(1, 1)) << "a rounded corner";
  EXPECT_TRUE(round.PtInRegion(50, 50));
  CRgn hole;
  hole.CreateRectRgn(40, 40, 60, 60);
  CRgn ring;
  EXPECT_EQ(ring.CombineRgn(round, hole, RGN_DIFF), COMPLEXREGION);
  EXPECT_FALSE(ring.PtInRegion(50, 50));
  EXPECT_TRUE(ring.PtInRegion(20, 50));

  CWindow window;
  ASSERT_TRUE(window.Create(L"Static", nullptr, MakeRect(0, 0, 100, 100), L"", WS_POPUP));
  EXPECT_TRUE(window.SetWindowRgn(round.Detach()));  // the window owns it now
  CRgn copy;
  copy.CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(window.GetWindowRgn(copy), ERROR);
  EXPECT_FALSE(copy.PtInRegion(1, 1));
  window.DestroyWindow();
}

TEST(Gdi, IconsMenusAndKernelHandles) {
  CHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  EXPECT_TRUE(event.IsValid());
  HANDLE raw = event;
  CHandle moved(std::move(event));
  EXPECT_FALSE(event.IsValid());
  moved.Close();
  EXPECT_FALSE(moved.IsValid());
  EXPECT_EQ(::WaitForSingleObject(raw, 0), WAIT_FAILED) << "closed";
  CHandle invalid(INVALID_HANDLE_VALUE);
  EXPECT_FALSE(invalid.IsValid());

  CMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  menu.AppendMenu(MF_STRING, 1, L"One");
  menu.AppendMenu(MF_SEPARATOR);
  EXPECT_EQ(menu.GetMenuItemCount(), 2);
  HMENU menu_handle = menu;
  menu.DestroyMenu();
  EXPECT_FALSE(::IsMenu(menu_handle));

  CBitmap mask, color;
  mask.CreateBitmap(16, 16, 1, 1, nullptr);
  color.CreateBitmap(16, 16, 1, 32, nullptr);
  ICONINFO info = {TRUE, 0, 0, mask, color};
  CIcon icon;
  ASSERT_TRUE(icon.CreateIconIndirect(&info));
  EXPECT_TRUE(icon.DestroyIcon());
  EXPECT_TRUE(icon.IsNull());
}

}  // namespace
