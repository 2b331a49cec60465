#include "host/post_task.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

template <typename Condition>
bool WaitFor(Condition condition) {
  for (int i = 0; i < 500 && !condition(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return condition();
}

TEST(PostTask, RunsTheFunctionOnceOnAPoolThreadAndFreesIt) {
  std::atomic<int> runs{0};
  std::atomic<DWORD> thread{0};
  auto alive = std::make_shared<int>(0);
  std::weak_ptr<int> watch = alive;
  const std::string identifier =
      PostTask("", 0, new PostedTaskFunction([&, alive](IKvTask* task) {
                 EXPECT_NE(task, nullptr);
                 thread = ::GetCurrentThreadId();
                 ++runs;
               }));
  alive.reset();
  EXPECT_FALSE(identifier.empty());
  ASSERT_TRUE(WaitFor([&] { return runs.load() == 1; }));
  EXPECT_NE(thread.load(), ::GetCurrentThreadId());
  // The function object (and what it captured) is released once the task is done.
  EXPECT_TRUE(WaitFor([&] { return watch.expired(); }));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(runs.load(), 1);
}

TEST(PostTask, ManyTasksEachRunExactlyOnce) {
  std::atomic<int> runs{0};
  for (int i = 0; i < 200; ++i)
    PostTask("", 0, new PostedTaskFunction([&](IKvTask*) { ++runs; }));
  ASSERT_TRUE(WaitFor([&] { return runs.load() == 200; }));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(runs.load(), 200);
}

}  // namespace

