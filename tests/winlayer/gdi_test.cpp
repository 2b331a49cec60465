#include "winlayer/gdi.h"

#include <gtest/gtest.h>

#include <utility>

#include "test_support.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

TEST(Gdi, MemoryDcPaintsOffScreenAndCopiesOnDestruction) {
  CBitmap bitmap;  // a white 64x48 32-bit surface to draw on and read back exactly
  bitmap.CreateDIBSection32(64, 48);
  CDC target;
  target.CreateCompatibleDC();
  CSelectObject select(target, bitmap);
  target.FillSolidRect(MakeRect(0, 0, 64, 48), kWhite);
  {
    CMemoryDC buffer(target, MakeRect(10, 10, 30, 30));
    ASSERT_TRUE(buffer.IsBuffered());
    buffer.FillSolidRect(MakeRect(10, 10, 30, 30), kRed);
    buffer.FillSolidRect(MakeRect(20, 20, 30, 30), kBlue);
    EXPECT_EQ(buffer.GetPixel(25, 25), kBlue) << "same coordinates as the target";
    EXPECT_EQ(target.GetPixel(15, 15), kWhite) << "nothing reaches the target yet";
  }
  EXPECT_EQ(target.GetPixel(15, 15), kRed);
  EXPECT_EQ(target.GetPixel(29, 29), kBlue);
  EXPECT_EQ(target.GetPixel(9, 9), kWhite);
  EXPECT_EQ(target.GetPixel(30, 30), kWhite);

  {  // Without an area there is no buffer: drawing goes straight through.
    CMemoryDC buffer(target, MakeRect(5, 5, 5, 40));
    EXPECT_FALSE(buffer.IsBuffered());
    buffer.SetPixel(3, 3, kRed);
    EXPECT_EQ(target.GetPixel(3, 3), kRed);
  }
  EXPECT_TRUE(::GetObjectType(target)) << "the target DC is left alone";
}

TEST(Gdi, SelectObjectPutsThePreviousObjectBack) {
  CDC dc;
  ASSERT_TRUE(dc.CreateCompatibleDC());
  HGDIOBJ original_pen = dc.GetCurrentObject(OBJ_PEN);
  HPEN pen_handle = nullptr;
  {
    CPen pen;
    ASSERT_TRUE(pen.CreatePen(PS_SOLID, 2, kRed));
    pen_handle = pen;
    CSelectObject select_pen(dc, pen);
    EXPECT_EQ(dc.GetCurrentObject(OBJ_PEN), pen_handle);
    EXPECT_EQ(select_pen.GetPrevious(), original_pen);
  }
  EXPECT_EQ(dc.GetCurrentObject(OBJ_PEN), original_pen);
  EXPECT_EQ(::GetObjectType(pen_handle), 0u) << "deleted once deselected";
}

TEST(Gdi, OwnedHandlesLeakNothingAndTakeInvalidForNone) {
  CBrush brush;
  HBRUSH old_handle = brush.CreateSolidBrush(kRed);
  HBRUSH new_handle = brush.CreateSolidBrush(kBlue);
  EXPECT_EQ(::GetObjectType(old_handle), 0u) << "the brush it held is deleted";
  CBrush moved(std::move(brush));
  EXPECT_TRUE(brush.IsNull());
  EXPECT_EQ(moved.GetHandle(), new_handle);
  EXPECT_FALSE(CHandle(INVALID_HANDLE_VALUE).IsValid()) << "a failed CreateFile is no handle";
}

}  // namespace
