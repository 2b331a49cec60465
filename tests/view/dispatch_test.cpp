#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
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

// Claims the closure of a message 2024, runs it once and frees it, as the main frame does.
void RunAndFree(WPARAM wparam) {
  std::function<void()>* closure = DispatchQueue::ClaimClosure(wparam);
  ASSERT_NE(closure, nullptr);
  (*closure)();
  delete closure;
}

LRESULT CALLBACK ReceiverProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != kMessage) return ::DefWindowProcW(window, message, wparam, lparam);
  RunAndFree(wparam);
  return 0;
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
    EXPECT_EQ(g_live_probes, 0) << "every closure freed";
  }

  HWND receiver_ = nullptr;
};

TEST_F(Dispatch, OnTheUserInterfaceThreadTheClosureRunsLaterNotInside) {
  int runs = 0;
  DispatchQueue::DispatchAsync(DispatchQueue::DispatchGetMainQueue(),
                               new std::function<void()>([&runs, probe = Probe()] { ++runs; }));
  EXPECT_EQ(runs, 0) << "not run before DispatchAsync returns";
  EXPECT_TRUE(PumpUntil([&] { return runs == 1; }));
  PumpFor(50);
  EXPECT_EQ(runs, 1);
}

TEST_F(Dispatch, WorkerClosuresRunOnceInOrderOnTheUserInterfaceThread) {
  constexpr int kWorkers = 4;
  constexpr int kEach = 300;
  const DWORD ui_thread = ::GetCurrentThreadId();
  std::vector<std::vector<int>> seen(kWorkers);  // touched on the UI thread only
  int total = 0;
  int off_thread = 0;
  std::vector<std::thread> workers;
  for (int w = 0; w < kWorkers; ++w) {
    workers.emplace_back([&, w] {
      for (int i = 0; i < kEach; ++i) {
        DispatchQueue::DispatchAsync(DispatchQueue::DispatchGetMainQueue(),
                                     new std::function<void()>([&, w, i, probe = Probe()] {
                                       if (::GetCurrentThreadId() != ui_thread) ++off_thread;
                                       seen[w].push_back(i);
                                       ++total;
                                     }));
      }
    });
  }
  for (auto& worker : workers) worker.join();
  ASSERT_TRUE(PumpUntil([&] { return total == kWorkers * kEach; }, 10000)) << total;
  PumpFor(50);
  EXPECT_EQ(total, kWorkers * kEach) << "exactly once";
  EXPECT_EQ(off_thread, 0);
  std::vector<int> in_order(kEach);
  for (int i = 0; i < kEach; ++i) in_order[i] = i;
  for (int w = 0; w < kWorkers; ++w) EXPECT_EQ(seen[w], in_order) << "worker " << w;
}

TEST_F(Dispatch, ThreadRecordsGoToThatThreadAsThreadMessages) {
  std::atomic<DWORD> worker_id{0};
  MSG received = {};
  DWORD ran_on = 0;
  std::thread worker([&] {
    ::PeekMessageW(&received, nullptr, 0, 0, PM_NOREMOVE);  // make the queue
    worker_id = ::GetCurrentThreadId();
    if (::GetMessageW(&received, nullptr, 0, 0) > 0) RunAndFree(received.wParam);
  });
  while (worker_id == 0) ::Sleep(1);
  DispatchQueueObject1* queue = DispatchQueue::DispatchGetMainQueue();
  queue->thread_id = worker_id;
  DispatchQueue::DispatchAsync(queue,
                               new std::function<void()>([&] { ran_on = ::GetCurrentThreadId(); }));
  worker.join();
  EXPECT_EQ(received.hwnd, nullptr);
  EXPECT_EQ(received.message, kMessage);
  EXPECT_EQ(ran_on, worker_id.load());
}

TEST_F(Dispatch, ClosureWhosePostFailsIsDestroyedUnrun) {
  bool ran = false;
  DWORD ended = 0;  // a thread that has ended has no queue
  std::thread([&ended] { ended = ::GetCurrentThreadId(); }).join();
  DispatchQueueObject1* to_thread = DispatchQueue::DispatchGetMainQueue();
  to_thread->thread_id = ended;
  DispatchQueue::DispatchAsync(to_thread,
                               new std::function<void()>([&ran, probe = Probe()] { ran = true; }));
  EXPECT_EQ(g_live_probes, 0);

  DispatchQueueObject1* to_window = DispatchQueue::DispatchGetMainQueue();
  to_window->window = CreatePlainWindow(RECT{0, 0, 10, 10}, WS_POPUP, &ReceiverProc);
  ::DestroyWindow(to_window->window);
  DispatchQueue::DispatchAsync(to_window,
                               new std::function<void()>([&ran, probe = Probe()] { ran = true; }));
  EXPECT_EQ(g_live_probes, 0);
  PumpFor(30);
  EXPECT_FALSE(ran);
}

// Any process may post 2024 with any number; only what this process posted, and not yet
// claimed, is handed out.
TEST_F(Dispatch, OnlyClosuresThisProcessPostedAreClaimedAndEachOnlyOnce) {
  int runs = 0;
  auto* closure = new std::function<void()>([&runs, probe = Probe()] { ++runs; });
  const WPARAM posted = reinterpret_cast<WPARAM>(closure);
  std::function<void()> on_the_stack = [] {};
  for (WPARAM forged : {WPARAM(0), WPARAM(0x1234), WPARAM(~WPARAM(0)),
                        reinterpret_cast<WPARAM>(&on_the_stack)}) {
    EXPECT_EQ(DispatchQueue::ClaimClosure(forged), nullptr) << forged;
  }
  EXPECT_EQ(DispatchQueue::ClaimClosure(posted), nullptr) << "not posted yet";

  // A forged copy of a real message in flight: whichever comes first gets the closure, the
  // other finds nothing; it runs once either way.
  DispatchQueue::DispatchAsync(DispatchQueue::DispatchGetMainQueue(), closure);
  ::PostMessageW(receiver_, kMessage, posted, 0);
  MSG message;
  int claimed = 0, refused = 0;
  const DWORD start = ::GetTickCount();
  while (claimed + refused < 2 && ::GetTickCount() - start < 10000) {
    if (!::PeekMessageW(&message, receiver_, kMessage, kMessage, PM_REMOVE)) {
      ::Sleep(5);
      continue;
    }
    std::function<void()>* got = DispatchQueue::ClaimClosure(message.wParam);
    if (!got) {
      ++refused;
      continue;
    }
    ++claimed;
    (*got)();
    delete got;
  }
  EXPECT_EQ(claimed, 1);
  EXPECT_EQ(refused, 1);
  EXPECT_EQ(runs, 1);
}

// A receiver written before claiming existed runs and frees closures without claiming them;
// the addresses come round again and must not be taken for closures still in flight.
TEST_F(Dispatch, AReceiverThatDoesNotClaimStillGetsEveryClosure) {
  int runs = 0;
  for (int i = 0; i < 200; ++i) {
    DispatchQueue::DispatchAsync(DispatchQueue::DispatchGetMainQueue(),
                                 new std::function<void()>([&runs] { ++runs; }));
    MSG message;
    if (!::PeekMessageW(&message, receiver_, kMessage, kMessage, PM_REMOVE)) continue;
    auto* closure = reinterpret_cast<std::function<void()>*>(message.wParam);
    (*closure)();
    delete closure;
  }
  EXPECT_EQ(runs, 200);
}

}  // namespace
