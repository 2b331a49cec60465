#include "app/startup_layout.h"

#include <gtest/gtest.h>

namespace {

TEST(StartupLayout, FrameIsCentredAtNinetySixDpi) {
  const float scale = DpiScaleFromLogPixels(96);
  EXPECT_FLOAT_EQ(scale, 1.0f);
  const RECT rect = MainFrameDefaultRect(scale, 1920, 1080);
  EXPECT_EQ(rect.left, 590);
  EXPECT_EQ(rect.top, 420);
  EXPECT_EQ(rect.right - rect.left, 740);
  EXPECT_EQ(rect.bottom - rect.top, 240);
}

TEST(StartupLayout, FrameGrowsWithTheScaleAndStaysCentred) {
  const float scale = DpiScaleFromLogPixels(144);
  EXPECT_FLOAT_EQ(scale, 1.5f);
  const RECT rect = MainFrameDefaultRect(scale, 1920, 1080);
  EXPECT_EQ(rect.right - rect.left, 1110);
  EXPECT_EQ(rect.bottom - rect.top, 360);
  EXPECT_EQ(rect.left, 405);
  EXPECT_EQ(rect.top, 360);
}

TEST(StartupLayout, FrameWiderThanTheScreenIsShiftedRightNotLeft) {
  const RECT rect = MainFrameDefaultRect(1.5f, 1024, 768);
  EXPECT_EQ(rect.left, 43);
  EXPECT_EQ(rect.right, 43 + 1110);
  EXPECT_EQ(rect.top, (768 - 360) / 2);
}

TEST(StartupLayout, DesignLengthsAreTruncated) {
  EXPECT_EQ(ScaleLength(740, 1.25f), 925);
  EXPECT_EQ(ScaleLength(3, 1.25f), 3);     // 3.75
  EXPECT_EQ(ScaleLength(-3, 1.5f), -4);    // toward zero: -4.5 -> -4
  EXPECT_EQ(ScaleLength(2, DpiScaleFromLogPixels(120)), 2);
}

TEST(StartupLayout, WorkerPoolHasAtLeastFourThreads) {
  EXPECT_EQ(WorkerThreadCount(1), 4u);
  EXPECT_EQ(WorkerThreadCount(2), 4u);
  EXPECT_EQ(WorkerThreadCount(4), 4u);
  EXPECT_EQ(WorkerThreadCount(12), 12u);
}

}  // namespace
