#include <gtest/gtest.h>

#include <memory>

#include "test_support.h"
#include "view/graphics_helper.h"
#include "view/utils.h"

namespace {

constexpr Gdiplus::ARGB kWhite = 0xFFFFFFFF;
constexpr Gdiplus::ARGB kBlack = 0xFF000000;
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
    Utils::DrawRoundRect(&recorder, Gdiplus::RectF(5, 5, 50, 30), Gdiplus::Color(kBlack), 4,
                         border_width);
  }
  Canvas target(10, 10);
  int count = 0;
  target.graphics.EnumerateMetafile(&metafile, Gdiplus::PointF(0, 0), &CountDrawPaths, &count);
  return count;
}

// Consecutive ink pixels from (x, y) stepping by (dx, dy), after skipping leading fill.
int InkRun(Canvas& canvas, int x, int y, int dx, int dy) {
  while (!canvas.IsInk(x, y)) x += dx, y += dy;
  int run = 0;
  while (canvas.IsInk(x, y)) ++run, x += dx, y += dy;
  return run;
}

TEST(DrawRoundRect, BorderWidthOneDrawsOneOutlineAndThreeDrawsFive) {
  EXPECT_EQ(OutlinesDrawn(1), 1);
  EXPECT_EQ(OutlinesDrawn(3), 5);
}

TEST(DrawRoundRect, RingsMakeTheBorderAsWideAsAsked) {
  for (int width : {1, 3}) {
    Canvas canvas(60, 40);
    canvas.graphics.SetPageUnit(Gdiplus::UnitMillimeter);
    Utils::DrawRoundRect(&canvas.graphics, Gdiplus::RectF(5, 5, 50, 30), Gdiplus::Color(kBlack), 4,
                         width);
    EXPECT_EQ(canvas.graphics.GetPageUnit(), Gdiplus::UnitMillimeter) << "page unit restored";
    EXPECT_EQ(InkRun(canvas, 0, 20, 1, 0), width) << "left edge";
    EXPECT_EQ(InkRun(canvas, 59, 20, -1, 0), width) << "right edge";
    EXPECT_EQ(InkRun(canvas, 30, 0, 0, 1), width) << "top edge";
    EXPECT_EQ(InkRun(canvas, 30, 39, 0, -1), width) << "bottom edge";
    EXPECT_EQ(canvas.At(30, 20), kWhite) << "inside stays empty";
  }
}

TEST(FillRoundRect, FillsInsideOutlinesTheEdgeAndCutsTheCorners) {
  Canvas canvas(60, 40);
  Gdiplus::SolidBrush red{Gdiplus::Color(kRed)};
  Utils::FillRoundRect(&canvas.graphics, &red, Gdiplus::RectF(5, 5, 50, 30), Gdiplus::Color(kBlue),
                       6);
  EXPECT_EQ(canvas.At(30, 20), kRed);
  EXPECT_EQ(canvas.At(5, 20), kBlue);
  EXPECT_EQ(canvas.At(30, 5), kBlue);
  EXPECT_EQ(canvas.At(5, 5), kWhite) << "rounded corner";
  EXPECT_EQ(canvas.At(2, 20), kWhite);
}

// 6 x 3: a red cap, a green and a blue middle column, a yellow cap.
std::unique_ptr<Gdiplus::Bitmap> SlicedImage(int middle_columns) {
  const int width = 4 + middle_columns;
  auto image = std::make_unique<Gdiplus::Bitmap>(width, 3, PixelFormat32bppARGB);
  for (int x = 0; x < width; ++x) {
    const Gdiplus::ARGB color = x < 2 ? kRed : x >= width - 2 ? kYellow : (x % 2 ? kBlue : kGreen);
    for (int y = 0; y < 3; ++y) image->SetPixel(x, y, Gdiplus::Color(color));
  }
  return image;
}

std::unique_ptr<Canvas> StretchedCanvas(Gdiplus::Bitmap* image, int rect_width) {
  auto canvas = std::make_unique<Canvas>(50, 20);
  canvas->graphics.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
  canvas->graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  Gdiplus::Rect rect(10, 5, rect_width, 12);
  CGraphicsHelper().StretchWidthImage(&canvas->graphics, image, rect, 2);
  return canvas;
}

TEST(StretchWidthImage, CapsOnceMiddleRepeatedLastPieceSqueezed) {
  auto image = SlicedImage(2);
  auto stretched = StretchedCanvas(image.get(), 11);
  Canvas& canvas = *stretched;
  const Gdiplus::ARGB expected[] = {kRed,   kRed,  kGreen,         kBlue,   kGreen, kBlue,
                                    kGreen, kBlue, 0 /*squeezed*/, kYellow, kYellow};
  for (int i = 0; i < 11; ++i) {
    if (expected[i] != 0) {
      EXPECT_EQ(canvas.At(10 + i, 6), expected[i]) << "column " << i;
    }
  }
  EXPECT_EQ(canvas.At(9, 6), kWhite);
  EXPECT_EQ(canvas.At(21, 6), kWhite);
  EXPECT_EQ(canvas.At(12, 7), kGreen);
  EXPECT_EQ(canvas.At(12, 8), kWhite) << "natural height, not the rectangle's";
}

TEST(StretchWidthImage, ImageOfCapsOnlyAndNarrowRectanglesEnd) {
  auto caps_only = SlicedImage(0);
  auto spread_canvas = StretchedCanvas(caps_only.get(), 20);
  Canvas& spread = *spread_canvas;
  EXPECT_EQ(spread.At(11, 6), kRed);
  EXPECT_EQ(spread.At(15, 6), kWhite);
  EXPECT_EQ(spread.At(28, 6), kYellow);
  EXPECT_EQ(spread.At(29, 6), kYellow);

  auto image = SlicedImage(2);
  auto narrow_canvas = StretchedCanvas(image.get(), 3);
  Canvas& narrow = *narrow_canvas;
  EXPECT_EQ(narrow.At(10, 6), kRed);
  EXPECT_EQ(narrow.At(12, 6), kYellow) << "right cap ends at the rectangle's end";
  EXPECT_EQ(narrow.At(13, 6), kWhite);

  Canvas nothing(10, 10);
  Gdiplus::Rect rect(0, 0, 0, 5);
  CGraphicsHelper().StretchWidthImage(&nothing.graphics, image.get(), rect, 2);
  CGraphicsHelper().StretchWidthImage(&nothing.graphics, nullptr, rect, 2);
  EXPECT_EQ(nothing.At(0, 0), kWhite);
}

TEST(DrawImage, NaturalSizeAndScaledForms) {
  Gdiplus::Bitmap image(2, 2, PixelFormat32bppARGB);
  image.SetPixel(0, 0, Gdiplus::Color(kRed));
  image.SetPixel(1, 0, Gdiplus::Color(kGreen));
  image.SetPixel(0, 1, Gdiplus::Color(kBlue));
  image.SetPixel(1, 1, Gdiplus::Color(kYellow));
  Canvas canvas(60, 40);
  canvas.graphics.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
  canvas.graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);

  Utils::DrawImage(&canvas.graphics, &image, 1, 1);
  EXPECT_EQ(canvas.At(1, 1), kRed);
  EXPECT_EQ(canvas.At(2, 2), kYellow);
  EXPECT_EQ(canvas.At(3, 3), kWhite);

  Utils::DrawImage(&canvas.graphics, &image, 10, 10, 20, 20);
  EXPECT_EQ(canvas.At(15, 15), kRed);
  EXPECT_EQ(canvas.At(25, 15), kGreen);
  EXPECT_EQ(canvas.At(15, 25), kBlue);
  EXPECT_EQ(canvas.At(29, 29), kYellow);
  EXPECT_EQ(canvas.At(30, 30), kWhite);

  Utils::DrawImage(&canvas.graphics, &image, Gdiplus::Rect(40, 0, 10, 4));
  EXPECT_EQ(canvas.At(41, 0), kRed);
  EXPECT_EQ(canvas.At(48, 3), kYellow);
}

TEST(DrawTick, TwoStrokesFromTheGraphicsOriginAndModesRestored) {
  Canvas canvas(60, 40);
  canvas.graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighSpeed);
  canvas.graphics.SetInterpolationMode(Gdiplus::InterpolationModeBilinear);
  const RECT rect = {30, 0, 60, 40};  // only its height counts
  Utils::DrawTick(&canvas.graphics, rect, RGB(0, 0, 255));
  EXPECT_EQ(canvas.graphics.GetSmoothingMode(), Gdiplus::SmoothingModeHighSpeed);
  EXPECT_EQ(canvas.graphics.GetInterpolationMode(), Gdiplus::InterpolationModeBilinear);

  const int cx = ::GetSystemMetrics(SM_CXMENUCHECK);
  const int cy = ::GetSystemMetrics(SM_CYMENUCHECK);
  const int y0 = (40 - cy) / 2;
  // The corner of the tick, and the middle of the long stroke.
  const Gdiplus::ARGB corner = canvas.At(cx / 2, y0 + cy - 4);
  const Gdiplus::ARGB middle = canvas.At((cx / 2 + cx) / 2, (y0 + cy - 4 + y0) / 2);
  for (Gdiplus::ARGB ink : {corner, middle}) {
    Gdiplus::Color color(ink);
    EXPECT_GT(color.GetB(), color.GetR() + 60) << std::hex << ink;
  }
  for (int x = cx + 3; x < 60; ++x) {
    for (int y = 0; y < 40; ++y) ASSERT_EQ(canvas.At(x, y), kWhite) << x << ", " << y;
  }
}

TEST(CreateDropDown, ChevronOnATransparentBitmap) {
  std::unique_ptr<Gdiplus::Bitmap> chevron(Utils::CreateDropDown(RGB(255, 0, 0), 12, 10));
  ASSERT_NE(chevron, nullptr);
  EXPECT_EQ(chevron->GetWidth(), 12u);
  EXPECT_EQ(chevron->GetHeight(), 10u);
  EXPECT_EQ(chevron->GetPixelFormat(), PixelFormat32bppARGB);
  Gdiplus::Color color;
  chevron->GetPixel(0, 9, &color);
  EXPECT_EQ(color.GetA(), 0);
  chevron->GetPixel(6, 0, &color);
  EXPECT_EQ(color.GetA(), 0) << "above the tip's arms";
  // Both arms meet at (6, 7).
  int best_alpha = 0;
  for (int y = 6; y <= 7; ++y) {
    chevron->GetPixel(6, y, &color);
    if (color.GetA() > best_alpha) best_alpha = color.GetA();
    if (color.GetA() > 0) {
      EXPECT_GT(color.GetR(), color.GetG() + 100);
    }
  }
  EXPECT_GT(best_alpha, 128);
  chevron->GetPixel(3, 5, &color);
  EXPECT_GT(color.GetA(), 0) << "left arm";
  chevron->GetPixel(9, 5, &color);
  EXPECT_GT(color.GetA(), 0) << "right arm";
}

}  // namespace
