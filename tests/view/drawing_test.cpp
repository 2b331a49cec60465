#include <gtest/gtest.h>

#include <vector>

#include "test_support.h"
#include "view/graphics_helper.h"
#include "view/utils.h"

namespace {

constexpr Gdiplus::ARGB kWhite = 0xFFFFFFFF;
constexpr Gdiplus::ARGB kRed = 0xFFFF0000;
constexpr Gdiplus::ARGB kGreen = 0xFF00FF00;
constexpr Gdiplus::ARGB kBlue = 0xFF0000FF;
constexpr Gdiplus::ARGB kYellow = 0xFFFFFF00;

BOOL CALLBACK CountDrawPaths(Gdiplus::EmfPlusRecordType type, UINT, UINT, const BYTE*,
                             void* count) {
  if (type == Gdiplus::EmfPlusRecordTypeDrawPath) ++*static_cast<int*>(count);
  return TRUE;
}

// Outlines drawn by one DrawRoundRect call, read back from a recorded metafile.
int OutlinesDrawn(int border_width) {
  HDC screen = ::GetDC(nullptr);
  Gdiplus::Metafile metafile(screen, Gdiplus::EmfTypeEmfPlusOnly);
  ::ReleaseDC(nullptr, screen);
  {
    Gdiplus::Graphics recorder(&metafile);
    Utils::DrawRoundRect(&recorder, Gdiplus::RectF(5, 5, 50, 30), Gdiplus::Color(0xFF000000), 4,
                         border_width);
  }
  Canvas target(10, 10);
  int count = 0;
  target.graphics.EnumerateMetafile(&metafile, Gdiplus::PointF(0, 0), &CountDrawPaths, &count);
  return count;
}

TEST(DrawRoundRect, BorderWidthOneDrawsOneOutlineAndThreeDrawsFive) {
  EXPECT_EQ(OutlinesDrawn(1), 1);
  EXPECT_EQ(OutlinesDrawn(3), 5);
}

// Row 6 of the image stretched into x = 10 .. 10 + rect_width, from a 3-pixel-high image of
// a red cap, `middle` columns alternating green and blue, and a yellow cap (caps of 2).
std::vector<Gdiplus::ARGB> StretchedRow(int middle, int rect_width) {
  Gdiplus::Bitmap image(4 + middle, 3, PixelFormat32bppARGB);
  for (int x = 0; x < 4 + middle; ++x) {
    const Gdiplus::ARGB color = x < 2 ? kRed : x >= middle + 2 ? kYellow : x % 2 ? kBlue : kGreen;
    for (int y = 0; y < 3; ++y) image.SetPixel(x, y, Gdiplus::Color(color));
  }
  Canvas canvas(50, 20);
  canvas.graphics.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
  canvas.graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  Gdiplus::Rect rect(10, 5, rect_width, 12);
  CGraphicsHelper().StretchWidthImage(&canvas.graphics, &image, rect, 2);
  EXPECT_EQ(canvas.At(12, 8), kWhite) << "drawn at the image's height, not the rectangle's";
  std::vector<Gdiplus::ARGB> row;
  for (int x = 9; x <= 10 + rect_width; ++x) row.push_back(canvas.At(x, 6));
  return row;
}

TEST(StretchWidthImage, CapsOnceMiddleRepeatedAndNoHangOrMirroring) {
  // The last middle piece is squeezed into what is left (column 8): not checked.
  std::vector<Gdiplus::ARGB> row = StretchedRow(2, 11);
  row[9] = 0;
  EXPECT_EQ(row, (std::vector<Gdiplus::ARGB>{kWhite, kRed, kRed, kGreen, kBlue, kGreen, kBlue,
                                             kGreen, kBlue, 0, kYellow, kYellow, kWhite}));
  // An image of caps only once looped for ever.
  row = StretchedRow(0, 20);
  EXPECT_EQ(row[2], kRed);
  EXPECT_EQ(row[6], kWhite);
  EXPECT_EQ(row[19], kYellow);
  EXPECT_EQ(row[20], kYellow);
  // A rectangle narrower than both caps: the right cap ends at the rectangle's end.
  row = StretchedRow(2, 3);
  EXPECT_EQ(row[1], kRed);
  EXPECT_EQ(row[3], kYellow);
  EXPECT_EQ(row[4], kWhite);
}

}  // namespace
