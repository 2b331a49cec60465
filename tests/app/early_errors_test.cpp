#include "app/early_errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace {

bool Kept(const std::string& message) {
  const std::vector<std::string> kept = KeptErrors();
  return std::find(kept.begin(), kept.end(), message) != kept.end();
}

// The data files load before the log exists; their errors wait for it, in order, from any
// thread, and nothing is kept once the log is open.
TEST(EarlyErrors, KeptUntilTheLogOpensThenWrittenInOrder) {
  LogError("first early error");
  std::thread([] { LogError("second early error"); }).join();
  const std::vector<std::string> kept = KeptErrors();
  const auto first = std::find(kept.begin(), kept.end(), "first early error");
  ASSERT_NE(first, kept.end());
  ASSERT_NE(first + 1, kept.end());
  EXPECT_EQ(*(first + 1), "second early error");

  testing::internal::CaptureStderr();
  WriteEarlyErrors();
  LogError("late error");
  const std::string written = testing::internal::GetCapturedStderr();
  EXPECT_LT(written.find("first early error"), written.find("second early error"));
  EXPECT_LT(written.find("second early error"), written.find("late error"));
  EXPECT_NE(written.find("late error"), std::string::npos);
  EXPECT_TRUE(KeptErrors().empty());
  EXPECT_FALSE(Kept("late error"));
}

}  // namespace
