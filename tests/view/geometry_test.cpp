#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "view/internal/frame_delays.h"
#include "view/utils.h"

namespace {

using Size = std::pair<int, int>;

TEST(CalculateDrawSize, FitsKeepingTheAspectRatioAndNeverEnlarges) {
  EXPECT_EQ(Utils::CalculateDrawSize(100, 50, 200, 200), Size(100, 50));
  EXPECT_EQ(Utils::CalculateDrawSize(400, 100, 200, 200), Size(200, 50));
  EXPECT_EQ(Utils::CalculateDrawSize(100, 400, 200, 200), Size(50, 200));
  EXPECT_EQ(Utils::CalculateDrawSize(300, 200, 100, 100), Size(100, 66)) << "truncated";
  EXPECT_EQ(Utils::CalculateDrawSize(0, 500, 100, 100), Size(0, 100)) << "no division by 0";
  EXPECT_EQ(Utils::CalculateDrawSize(0, 0, 0, 0), Size(0, 0));
}

struct Box {
  float x, y, size;
};

// The figure is four 90-degree arcs (Beziers of four points), clockwise from the top-left;
// each arc's box follows from where it starts and ends. The path replaces what was there.
void ExpectFigure(Gdiplus::RectF rect, int diameter, const std::vector<Box>& expected) {
  Gdiplus::GraphicsPath path;
  path.AddLine(0, 0, 5, 5);
  Utils::CreateRoundRect(&path, rect, diameter);
  ASSERT_EQ(path.GetPointCount(), 16) << "diameter " << diameter;
  Gdiplus::PointF p[16];
  path.GetPathPoints(p, 16);
  for (int i = 0; i < 4; ++i) {
    const Gdiplus::PointF& a = p[4 * i];
    const Gdiplus::PointF& b = p[4 * i + 3];
    const float size = 2 * std::max(std::fabs(a.X - b.X), std::fabs(a.Y - b.Y));
    const Box by_corner[4] = {{a.X, b.Y, size},
                              {a.X - size / 2, a.Y, size},
                              {b.X - size / 2, a.Y - size / 2, size},
                              {b.X, a.Y - size, size}};
    EXPECT_NEAR(by_corner[i].x, expected[i].x, 0.01) << "diameter " << diameter << " arc " << i;
    EXPECT_NEAR(by_corner[i].y, expected[i].y, 0.01) << "diameter " << diameter << " arc " << i;
    EXPECT_NEAR(by_corner[i].size, expected[i].size, 0.01)
        << "diameter " << diameter << " arc " << i;
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

TEST(FrameDelays, ShortPropertyIsNotReadPast) {
  const UINT values[] = {10, 20, 0};
  std::vector<UINT> delays;
  vantorel::AppendFrameDelays(values, 1, 3, delays);
  EXPECT_EQ(delays, (std::vector<UINT>{100, 0, 0}));
}

}  // namespace
