#include <gtest/gtest.h>

#include <vector>

#include "test_support.h"
#include "view/utils.h"

namespace {

TEST(AnimatedImage, DelaysOfEveryFrameAreAppendedInMillisecondsAndOneFrameIsNotAnimated) {
  auto three = BitmapFromBytes(MakeAnimatedGif({10, 20, 0}));
  auto one = BitmapFromBytes(MakeAnimatedGif({30}));
  ASSERT_EQ(three->GetLastStatus(), Gdiplus::Ok);
  ASSERT_EQ(one->GetLastStatus(), Gdiplus::Ok);
  std::vector<UINT> delays = {5};
  EXPECT_TRUE(Utils::StoreGifInternal(three.get(), delays));
  EXPECT_FALSE(Utils::StoreGifInternal(one.get(), delays));
  EXPECT_EQ(delays, (std::vector<UINT>{5, 100, 200, 0}));
}

TEST(AnimatedImage, NextFrameSelectsItAndWrapsAfterTheLast) {
  auto gif = BitmapFromBytes(MakeAnimatedGif({10, 20, 0}));
  std::vector<UINT> delays;
  ASSERT_TRUE(Utils::StoreGifInternal(gif.get(), delays));
  UINT index = 0;
  // Each step answers the delay of the frame it selects.
  const struct { UINT index, delay; } steps[] = {{1, 200}, {2, 0}, {0, 100}};
  for (const auto& step : steps) {
    EXPECT_EQ(Utils::NextActiveFrameInternal(gif.get(), index, delays), step.delay);
    EXPECT_EQ(index, step.index);
    Gdiplus::Color shown;
    gif->GetPixel(0, 0, &shown);
    EXPECT_EQ(shown.GetValue(), kGifFrameColors[step.index]) << "frame " << step.index;
  }
}

}  // namespace
