#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

#include "test_support.h"
#include "view/dispatch_queue.h"

namespace {

constexpr UINT kMessage = 2024;

// Counts the closures alive, wherever copies of them are made.
std::atomic<int> g_live_probes{0};
struct Probe {
  Probe() { ++g_live_probes; }
  Probe(const Probe&) { ++g_live_probes; }
  ~Probe() { --g_live_probes; }
};

// What the main frame does with message 2024: run the closure once and free it.
LRESULT CALLBACK ReceiverProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kMessage) {
    auto* closure = reinterpret_cast<std::function<void()>*>(wparam);
    if (closure && *closure) (*closure)();
    delete closure;
    return 0;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

// Before any DispatchQueueInit in this process: these run first (test order within a file).
TEST(DispatchBeforeInit, NoMainThreadAndNothingLeaks) {
  EXPECT_EQ(DispatchQueue::GetMainThreadId(), 0u);
  bool ran = false;
  DispatchQueue::DispatchAsync(DispatchQueue::DispatchGetMainQueue(),
                               new std::function<void()>([&ran, probe = Probe()] { ran = true; }));
  EXPECT_EQ(g_live_probes, 0) << "the closure that could not be posted is destroyed";
  MSG msg;
  EXPECT_FALSE(::PeekMessageW(&msg, nullptr, kMessage, kMessage, PM_REMOVE))
      << "no stray thread message to the caller";
  EXPECT_FALSE(ran);
}

class Dispatch : public ::testing::Test {
 protected:
  void SetUp() override {
    receiver_ = CreatePlainWindow(RECT{0, 0, 10, 10}, WS_POPUP, &ReceiverProc);
    ASSERT_NE(receiver_, nullptr);
    DispatchQueue::DispatchQueueInit(receiver_);
  }
  void TearDown() override {
    PumpPending();
    ::DestroyWindow(receiver_);
    EXPECT_EQ(g_live_probes, 0);
  }

  HWND receiver_ = nullptr;
};

TEST_F(Dispatch, RecordsAreFreshAndNameTheMainWindow) {
  EXPECT_EQ(DispatchQueue::GetMainThreadId(), ::GetCurrentThreadId());
  DispatchQueueObject1* first = DispatchQueue::DispatchGetMainQueue();
  DispatchQueueObject1* second = DispatchQueue::DispatchGetMainQueue();
  ASSERT_NE(first, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(first->thread_id, 0u);
  EXPECT_EQ(first->window, receiver_);
  EXPECT_EQ(first->message, kMessage);
  DispatchQueue::FreeDispatchMainQueue(first);
  bool ran = false;
  DispatchQueue::DispatchAsync(second, new std::function<void()>([&ran] { ran = true; }));
  EXPECT_TRUE(PumpUntil([&] { return ran; }));
}

TEST_F(Dispatch, OnTheUserInterfaceThreadTheClosureRunsLaterNotInside) {
  int runs = 0;
  DispatchQueue::DispatchAsync(DispatchQueue::DispatchGetMainQueue(),
                               new std::function<void()>([&runs, probe = Probe()] { ++runs; }));
  EXPECT_EQ(runs, 0) << "not run before DispatchAsync returns";
  EXPECT_EQ(g_live_probes, 1) << "the closure travels with the message";
  EXPECT_TRUE(PumpUntil([&] { return runs == 1; }));
  PumpFor(50);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(g_live_probes, 0) << "freed after it ran";
}

TEST_F(Dispatch, WorkerClosuresRunOnceInOrderOnTheUserInterfaceThread) {
  constexpr int kWorkers = 4;
  constexpr int kEach = 300;
  const DWORD ui_thread = ::GetCurrentThreadId();
  std::vector<std::vector<int>> seen(kWorkers);  // touched on the UI thread only
  int off_thread = 0;
  std::vector<std::thread> workers;
  for (int w = 0; w < kWorkers; ++w) {
    workers.emplace_back([&, w] {
      for (int i = 0; i < kEach; ++i) {
        ASSERT_NE(::GetCurrentThreadId(), DispatchQueue::GetMainThreadId());
        auto* closure = new std::function<void()>([&, w, i, probe = Probe()] {
          if (::GetCurrentThreadId() != ui_thread) ++off_thread;
          seen[w].push_back(i);
        });
        DispatchQueue::DispatchAsync(DispatchQueue::DispatchGetMainQueue(), closure);
      }
    });
  }
  for (auto& worker : workers) worker.join();
  auto total = [&] {
    size_t sum = 0;
    for (const auto& list : seen) sum += list.size();
    return sum;
  };
  ASSERT_TRUE(PumpUntil([&] { return total() == kWorkers * kEach; }, 10000)) << total();
  PumpFor(50);
  EXPECT_EQ(total(), static_cast<size_t>(kWorkers * kEach)) << "exactly once";
  EXPECT_EQ(off_thread, 0);
  for (int w = 0; w < kWorkers; ++w) {
    std::vector<int> expected(kEach);
    for (int i = 0; i < kEach; ++i) expected[i] = i;
    EXPECT_EQ(seen[w], expected) << "worker " << w;
  }
}

TEST_F(Dispatch, ThreadRecordsGoToThatThreadAsThreadMessages) {
  std::atomic<DWORD> worker_id{0};
  MSG received = {};
  DWORD ran_on = 0;
  std::thread worker([&] {
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // make the queue
    worker_id = ::GetCurrentThreadId();
    if (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
      received = msg;
      auto* closure = reinterpret_cast<std::function<void()>*>(msg.wParam);
      (*closure)();
      delete closure;
    }
  });
  while (worker_id == 0) ::Sleep(1);
  DispatchQueueObject1* queue = DispatchQueue::DispatchGetMainQueue();
  queue->thread_id = worker_id;
  auto* closure = new std::function<void()>([&ran_on] { ran_on = ::GetCurrentThreadId(); });
  DispatchQueue::DispatchAsync(queue, closure);
  worker.join();
  EXPECT_EQ(received.hwnd, nullptr);
  EXPECT_EQ(received.message, kMessage);
  EXPECT_EQ(received.wParam, reinterpret_cast<WPARAM>(closure));
  EXPECT_EQ(received.lParam, 0);
  EXPECT_EQ(ran_on, worker_id.load());
}

TEST_F(Dispatch, ClosureWhosePostFailsIsDestroyedUnrun) {
  bool ran = false;
  // A thread that has ended has no queue.
  DWORD gone = 0;
  std::thread([&gone] { gone = ::GetCurrentThreadId(); }).join();
  DispatchQueueObject1* to_thread = DispatchQueue::DispatchGetMainQueue();
  to_thread->thread_id = gone;
  DispatchQueue::DispatchAsync(to_thread,
                               new std::function<void()>([&ran, probe = Probe()] { ran = true; }));
  EXPECT_EQ(g_live_probes, 0);

  // A window that has been destroyed.
  HWND closed = CreatePlainWindow(RECT{0, 0, 10, 10}, WS_POPUP, &ReceiverProc);
  DispatchQueueObject1* to_window = DispatchQueue::DispatchGetMainQueue();
  to_window->window = closed;
  ::DestroyWindow(closed);
  DispatchQueue::DispatchAsync(to_window,
                               new std::function<void()>([&ran, probe = Probe()] { ran = true; }));
  EXPECT_EQ(g_live_probes, 0);
  PumpFor(30);
  EXPECT_FALSE(ran);
}

TEST_F(Dispatch, NullArgumentsAreHarmless) {
  DispatchQueue::DispatchAsync(nullptr, new std::function<void()>([probe = Probe()] {}));
  EXPECT_EQ(g_live_probes, 0);
  DispatchQueue::FreeDispatchMainQueue(nullptr);
}

}  // namespace
