#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "view/internal/fit_search.h"
#include "view/internal/frame_delays.h"
#include "view/path_helper.h"
#include "view/utils.h"

namespace {

using Size = std::pair<int, int>;

TEST(CalculateDrawSize, FitsKeepingTheAspectRatioAndNeverEnlarges) {
  EXPECT_EQ(Utils::CalculateDrawSize(100, 50, 200, 200), Size(100, 50));
  EXPECT_EQ(Utils::CalculateDrawSize(400, 100, 200, 200), Size(200, 50));
  EXPECT_EQ(Utils::CalculateDrawSize(100, 400, 200, 200), Size(50, 200));
  EXPECT_EQ(Utils::CalculateDrawSize(200, 200, 200, 200), Size(200, 200));
  EXPECT_EQ(Utils::CalculateDrawSize(300, 200, 100, 100), Size(100, 66)) << "truncated";
  EXPECT_EQ(Utils::CalculateDrawSize(1000, 999, 10, 1000), Size(10, 9));
}

TEST(CalculateDrawSize, EmptySidesDoNotDivideByZero) {
  EXPECT_EQ(Utils::CalculateDrawSize(0, 500, 100, 100), Size(0, 100));
  EXPECT_EQ(Utils::CalculateDrawSize(500, 0, 100, 100), Size(100, 0));
  EXPECT_EQ(Utils::CalculateDrawSize(0, 0, 0, 0), Size(0, 0));
}

struct Box {
  float x, y, size;
};

// Each corner of the figure is one 90-degree arc (a Bezier of four points); its box follows
// from where the arc starts and ends.
std::vector<Box> ArcBoxes(Gdiplus::GraphicsPath& path) {
  const int count = path.GetPointCount();
  std::vector<Gdiplus::PointF> points(count);
  path.GetPathPoints(points.data(), count);
  std::vector<Box> boxes;
  for (int i = 0; i + 3 < count; i += 4) {
    const Gdiplus::PointF& a = points[i];
    const Gdiplus::PointF& b = points[i + 3];
    const float size = 2 * std::max(std::fabs(a.X - b.X), std::fabs(a.Y - b.Y));
    // Corners clockwise from the top-left: the arc runs from one edge's middle to the next.
    switch (i / 4) {
      case 0:
        boxes.push_back({a.X, b.Y, size});
        break;
      case 1:
        boxes.push_back({a.X - size / 2, a.Y, size});
        break;
      case 2:
        boxes.push_back({b.X - size / 2, a.Y - size / 2, size});
        break;
      default:
        boxes.push_back({b.X, a.Y - size, size});
        break;
    }
  }
  return boxes;
}

void ExpectFigure(Gdiplus::RectF rect, int diameter, const std::vector<Box>& expected) {
  Gdiplus::GraphicsPath path;
  path.AddLine(0, 0, 5, 5);  // replaced: the path is reset first
  Utils::CreateRoundRect(&path, rect, diameter);
  ASSERT_EQ(path.GetPointCount(), 16) << "diameter " << diameter;
  std::vector<BYTE> types(16);
  path.GetPathTypes(types.data(), 16);
  EXPECT_TRUE(types[15] & Gdiplus::PathPointTypeCloseSubpath);
  const std::vector<Box> boxes = ArcBoxes(path);
  ASSERT_EQ(boxes.size(), expected.size());
  for (size_t i = 0; i < boxes.size(); ++i) {
    EXPECT_NEAR(boxes[i].x, expected[i].x, 0.01) << "diameter " << diameter << " arc " << i + 1;
    EXPECT_NEAR(boxes[i].y, expected[i].y, 0.01) << "diameter " << diameter << " arc " << i + 1;
    EXPECT_NEAR(boxes[i].size, expected[i].size, 0.01)
        << "diameter " << diameter << " arc " << i + 1;
  }
}

TEST(CreateRoundRect, DiameterTwentyUsesBoxesOfTwentyOneForTheLastThreeArcs) {
  const Gdiplus::RectF rect(10, 20, 100, 50);
  ExpectFigure(rect, 19, {{10, 20, 19}, {90, 20, 19}, {90, 50, 19}, {10, 50, 19}});
  ExpectFigure(rect, 20, {{10, 20, 20}, {88, 20, 21}, {88, 48, 21}, {10, 48, 21}});
  ExpectFigure(rect, 21, {{10, 20, 21}, {88, 20, 21}, {88, 48, 21}, {10, 48, 21}});
}

TEST(CreateRoundRect, DiameterIsClampedToTheWidthThenTheHeight) {
  ExpectFigure(Gdiplus::RectF(0, 0, 16, 40), 30,
               {{0, 0, 16}, {-1, 0, 16}, {-1, 23, 16}, {0, 23, 16}});
  ExpectFigure(Gdiplus::RectF(0, 0, 30, 12), 50,
               {{0, 0, 12}, {17, 0, 12}, {17, -1, 12}, {0, -1, 12}});
}

TEST(CreateRoundRect, PositionsAreTruncated) {
  ExpectFigure(Gdiplus::RectF(0.7f, 0.2f, 50.5f, 30.5f), 10,
               {{0, 0, 10}, {39, 0, 10}, {39, 19, 10}, {0, 19, 10}});
}

bool HasPoint(const std::vector<Gdiplus::PointF>& points, float x, float y) {
  for (const auto& point : points) {
    if (std::fabs(point.X - x) < 0.01 && std::fabs(point.Y - y) < 0.01) return true;
  }
  return false;
}

TEST(PathHelper, RoundRectSpansTheRectangleAndIsReplacedOnEachCall) {
  CPathHelper helper;
  helper.CreateRoundRect(Gdiplus::Rect(5, 5, 10, 10), 2);
  Gdiplus::GraphicsPath* path = helper.CreateRoundRect(Gdiplus::Rect(0, 0, 100, 50), 10);
  ASSERT_NE(path, nullptr);
  EXPECT_EQ(path->GetFillMode(), Gdiplus::FillModeAlternate);
  Gdiplus::RectF bounds;
  path->GetBounds(&bounds);
  EXPECT_NEAR(bounds.X, 0, 0.01);
  EXPECT_NEAR(bounds.Y, 0, 0.01);
  EXPECT_NEAR(bounds.Width, 100, 0.01);
  EXPECT_NEAR(bounds.Height, 50, 0.01);

  const int count = path->GetPointCount();
  std::vector<Gdiplus::PointF> points(count);
  path->GetPathPoints(points.data(), count);
  // Arc ends and the straight edges between them.
  for (const auto& point :
       {Gdiplus::PointF(0, 10), Gdiplus::PointF(10, 0), Gdiplus::PointF(80, 0),
        Gdiplus::PointF(100, 10), Gdiplus::PointF(100, 20), Gdiplus::PointF(100, 30),
        Gdiplus::PointF(90, 50), Gdiplus::PointF(20, 50), Gdiplus::PointF(0, 40),
        Gdiplus::PointF(0, 20)}) {
    EXPECT_TRUE(HasPoint(points, point.X, point.Y)) << point.X << ", " << point.Y;
  }
  helper.DeleteOldPath();
  helper.DeleteOldPath();  // twice is harmless
}

TEST(FitSearch, FindsTheLongestPrefixThatFits) {
  // Prefix widths 0, 3, 6, ... : with room for 10, three characters fit.
  const auto fits_in = [](int room) { return [room](int n) { return 3 * n <= room; }; };
  EXPECT_EQ(vantorel::LongestFittingPrefix(0, fits_in(10)), 0);
  EXPECT_EQ(vantorel::LongestFittingPrefix(8, fits_in(10)), 3);
  EXPECT_EQ(vantorel::LongestFittingPrefix(8, fits_in(100)), 8);
  EXPECT_EQ(vantorel::LongestFittingPrefix(8, fits_in(2)), 0);
  int calls = 0;
  vantorel::LongestFittingPrefix(1000, [&](int n) {
    ++calls;
    return n <= 517;
  });
  EXPECT_LE(calls, 11);
}

TEST(FrameDelays, HundredthsBecomeMillisecondsAndFramesWrap) {
  std::vector<UINT> delays = {7};
  const UINT values[] = {10, 20, 0};
  vantorel::AppendFrameDelays(values, 3, 3, delays);
  EXPECT_EQ(delays, (std::vector<UINT>{7, 100, 200, 0}));
  std::vector<UINT> short_property;
  vantorel::AppendFrameDelays(values, 1, 3, short_property);
  EXPECT_EQ(short_property, (std::vector<UINT>{100, 0, 0})) << "no read past the property";
  EXPECT_EQ(vantorel::NextFrameIndex(0, 3), 1u);
  EXPECT_EQ(vantorel::NextFrameIndex(2, 3), 0u);
  EXPECT_EQ(vantorel::NextFrameIndex(9, 3), 0u);
}

}  // namespace
