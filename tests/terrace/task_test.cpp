#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "ter_task.h"

namespace {

using std::chrono::milliseconds;

// Taken before any test can change it.
const uint32_t g_initial_thread_count = TerTaskPool()->ThreadCount();

// Counts up and lets a test wait for a number to be reached.
class Countdown {
 public:
  void Add() {
    std::lock_guard<std::mutex> guard(mutex_);
    ++count_;
    changed_.notify_all();
  }
  bool WaitFor(int count, milliseconds limit = milliseconds(5000)) {
    std::unique_lock<std::mutex> guard(mutex_);
    return changed_.wait_for(guard, limit, [&] { return count_ >= count; });
  }
  int count() {
    std::lock_guard<std::mutex> guard(mutex_);
    return count_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int count_ = 0;
};

// A completion step's value is stored once it has returned, just after it signalled.
bool ResultBecomes(IKvTask* task, int64_t expected) {
  for (int i = 0; i < 2500 && task->Result() != expected; ++i) {
    std::this_thread::sleep_for(milliseconds(2));
  }
  return task->Result() == expected;
}

// Keeps the pool size a test sets from leaking into the next one.
class TaskPoolTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = TerTaskPool()->ThreadCount(); }
  void TearDown() override { TerTaskPool()->SetThreadCount(saved_); }

 private:
  uint32_t saved_ = 0;
};

struct Probe {
  std::atomic<int> runs{0};
  std::atomic<DWORD> thread{0};
  IKvTaskData* data_seen = nullptr;
  IKvTask* task_seen = nullptr;
  Countdown* releases = nullptr;
  std::atomic<int>* running = nullptr;
  std::atomic<int>* most_running = nullptr;
  milliseconds hold{0};
};

void ProbeInvoke(void* opaque, IKvTask* task, IKvTaskData* data) {
  auto* probe = static_cast<Probe*>(opaque);
  probe->thread = ::GetCurrentThreadId();
  probe->task_seen = task;
  probe->data_seen = data;
  if (probe->running) {
    const int now = ++*probe->running;
    int seen = probe->most_running->load();
    while (now > seen && !probe->most_running->compare_exchange_weak(seen, now)) {
    }
  }
  if (probe->hold.count()) std::this_thread::sleep_for(probe->hold);
  if (probe->running) --*probe->running;
  ++probe->runs;
}

void ProbeRelease(void* opaque) {
  auto* probe = static_cast<Probe*>(opaque);
  if (probe->releases) probe->releases->Add();
}

// What the completion steps saw, for checking their order.
struct Completions {
  std::vector<Probe>* probes = nullptr;
  std::atomic<bool> all_ran_before_package{false};
  std::atomic<bool> package_before_event{false};
  std::atomic<DWORD> thread{0};
  std::atomic<int> package_done{0};
  Countdown event_done;
  Countdown released;  // function objects given back
};

int64_t PackageCompleted(IKvTask*, void* context) {
  auto* done = static_cast<Completions*>(context);
  bool all = true;
  for (Probe& probe : *done->probes) all = all && probe.runs == 1;
  done->all_ran_before_package = all;
  ++done->package_done;
  return 7;
}

int64_t EventCompleted(IKvTask*, void* context) {
  auto* done = static_cast<Completions*>(context);
  done->package_before_event = done->package_done == 1;
  done->thread = ::GetCurrentThreadId();
  done->event_done.Add();
  return 42;
}

// Builds event -> package -> one task per probe; the caller owns one reference to each
// of the returned event and package. Tests wait for `completions.released` before their
// probes go out of scope: the scheduler drops its references after the completion steps.
IKvTaskEvent* BuildEvent(std::vector<Probe>& probes, Completions& completions,
                         IKvTaskPackage** package_out) {
  IKvTaskPackage* package = CreateKvTaskPackage("package", nullptr);
  for (Probe& probe : probes) {
    probe.releases = &completions.released;
    IKvTaskFunc* function = CreateKvTaskFunc();
    function->Bind(&probe, ProbeInvoke, ProbeRelease);
    IKvTask* task = CreateKvTask();
    task->SetFunction(function);
    DestroyKvTaskFunc(function);
    package->AddTask(task);
    DestroyKvTask(task);
  }
  package->SetCompletion(PackageCompleted, &completions);
  IKvTaskEvent* event = CreateKvTaskEvent("event");
  event->BindPackage(package);
  event->SetCompletion(EventCompleted, &completions);
  completions.probes = &probes;
  *package_out = package;
  return event;
}

TEST_F(TaskPoolTest, ThreadCountDefaultsAndLimits) {
  const uint32_t hardware = std::thread::hardware_concurrency();
  EXPECT_EQ(g_initial_thread_count, std::max(hardware, 4u));
  TerTaskPool()->SetThreadCount(0);
  EXPECT_EQ(TerTaskPool()->ThreadCount(), 1u);
  TerTaskPool()->SetThreadCount(6);
  EXPECT_EQ(TerTaskPool()->ThreadCount(), 6u);
}

TEST_F(TaskPoolTest, EventRunsEachTaskOnceOnPoolThreadsThenCompletions) {
  std::vector<Probe> probes(24);
  Completions completions;
  IKvTaskPackage* package = nullptr;
  IKvTaskEvent* event = BuildEvent(probes, completions, &package);
  ASSERT_TRUE(TerTaskSchedular()->Schedule(event));
  ASSERT_TRUE(completions.event_done.WaitFor(1));

  const DWORD caller = ::GetCurrentThreadId();
  for (Probe& probe : probes) {
    EXPECT_EQ(probe.runs, 1);
    EXPECT_NE(probe.thread, caller);
    EXPECT_EQ(probe.data_seen, nullptr);
  }
  EXPECT_NE(completions.thread, caller);
  EXPECT_TRUE(completions.all_ran_before_package);
  EXPECT_TRUE(completions.package_before_event);
  EXPECT_EQ(package->Result(), 7) << "stored before the event's step ran";
  EXPECT_TRUE(ResultBecomes(event, 42));
  DestroyKvTask(package);
  DestroyKvTask(event);
  EXPECT_TRUE(completions.released.WaitFor(24));
}

TEST_F(TaskPoolTest, PoolSizeBoundsHowManyTasksRunAtOnce) {
  for (uint32_t size : {3u, 1u}) {
    TerTaskPool()->SetThreadCount(size);
    std::atomic<int> running{0};
    std::atomic<int> most_running{0};
    std::vector<Probe> probes(6);
    for (Probe& probe : probes) {
      probe.running = &running;
      probe.most_running = &most_running;
      probe.hold = milliseconds(40);
    }
    Completions completions;
    IKvTaskPackage* package = nullptr;
    IKvTaskEvent* event = BuildEvent(probes, completions, &package);
    ASSERT_TRUE(TerTaskSchedular()->Schedule(event));
    ASSERT_TRUE(completions.event_done.WaitFor(1));
    EXPECT_EQ(most_running, static_cast<int>(size)) << "pool of " << size;
    std::set<DWORD> threads;
    for (Probe& probe : probes) threads.insert(probe.thread);
    EXPECT_LE(threads.size(), size);
    DestroyKvTask(package);
    DestroyKvTask(event);
    EXPECT_TRUE(completions.released.WaitFor(6));
  }
}

TEST_F(TaskPoolTest, SchedulerKeepsWorkAliveAfterTheCallerLetsGo) {
  std::vector<Probe> probes(5);
  for (Probe& probe : probes) probe.hold = milliseconds(10);
  Completions completions;
  IKvTaskPackage* package = nullptr;
  IKvTaskEvent* event = BuildEvent(probes, completions, &package);
  ASSERT_TRUE(TerTaskSchedular()->Schedule(event));
  DestroyKvTask(package);
  DestroyKvTask(event);  // only the scheduler's references are left
  ASSERT_TRUE(completions.event_done.WaitFor(1));
  for (Probe& probe : probes) EXPECT_EQ(probe.runs, 1);
  // The functions go with the scheduler's last references, each released once.
  EXPECT_TRUE(completions.released.WaitFor(5));
  std::this_thread::sleep_for(milliseconds(20));
  EXPECT_EQ(completions.released.count(), 5);
}

TEST_F(TaskPoolTest, TaskGetsItsOwnDataAndEventWithoutPackageStillCompletes) {
  Probe probe;
  IKvTaskFunc* function = CreateKvTaskFunc();
  function->Bind(&probe, ProbeInvoke, nullptr);
  IKvTaskData* data = CreateKvTaskData();
  static int value = 5;
  data->Attach(&value);
  IKvTask* task = CreateKvTask();
  task->SetFunction(function);
  task->SetData(data);
  IKvTaskPackage* package = CreateKvTaskPackage(nullptr, nullptr);
  package->AddTask(task);
  std::vector<Probe> none;
  Completions completions;
  completions.probes = &none;
  IKvTaskEvent* event = CreateKvTaskEvent(nullptr);
  event->BindPackage(package);
  event->SetCompletion(EventCompleted, &completions);
  ASSERT_TRUE(TerTaskSchedular()->Schedule(event));
  ASSERT_TRUE(completions.event_done.WaitFor(1));
  EXPECT_EQ(probe.runs, 1);
  EXPECT_EQ(probe.task_seen, task);
  EXPECT_EQ(probe.data_seen, data);
  EXPECT_EQ(data->Get(), &value);

  IKvTaskEvent* lonely = CreateKvTaskEvent("lonely");
  Completions lonely_done;
  lonely_done.probes = &none;
  lonely->SetCompletion(EventCompleted, &lonely_done);
  ASSERT_TRUE(TerTaskSchedular()->Schedule(lonely));
  ASSERT_TRUE(lonely_done.event_done.WaitFor(1));
  EXPECT_TRUE(ResultBecomes(lonely, 42));
  EXPECT_FALSE(TerTaskSchedular()->Schedule(nullptr));

  for (IKvTask* object : {static_cast<IKvTask*>(task), static_cast<IKvTask*>(package),
                          static_cast<IKvTask*>(event), static_cast<IKvTask*>(lonely)}) {
    DestroyKvTask(object);
  }
  DestroyKvTaskFunc(function);
  DestroyKvTaskData(data);
}

std::atomic<int> g_value_releases{0};
void CountValueRelease(void*) {
  ++g_value_releases;
}

TEST(TaskObjects, DataReleasesEachValueOnceWhenReplacedOrFreed) {
  g_value_releases = 0;
  int first = 1, second = 2;
  IKvTaskData* data = CreateKvTaskData();
  data->SetReleaseCallback(CountValueRelease);
  data->Attach(&first);
  data->Attach(&second);
  EXPECT_EQ(g_value_releases, 1) << "the replaced value";
  data->Attach(&second);
  EXPECT_EQ(g_value_releases, 1) << "attaching the same value again keeps it";
  EXPECT_EQ(data->Get(), &second);

  EXPECT_EQ(DuplicateKvTaskData(data), data);
  IKvTask* task = CreateKvTask();
  task->SetData(data);
  DestroyKvTaskData(data);
  DestroyKvTaskData(data);
  EXPECT_EQ(g_value_releases, 1) << "the task still holds the data";
  DestroyKvTask(task);
  EXPECT_EQ(g_value_releases, 2);
}

TEST(TaskObjects, FunctionReleaseRunsOnceEvenIfNeverRunOrRebound) {
  Countdown releases;
  Probe first, second;
  first.releases = &releases;
  second.releases = &releases;
  IKvTaskFunc* function = CreateKvTaskFunc();
  function->Bind(&first, ProbeInvoke, ProbeRelease);
  function->Bind(&second, ProbeInvoke, ProbeRelease);
  EXPECT_EQ(releases.count(), 1) << "the first binding is given back";
  IKvTask* task = CreateKvTask();
  task->SetFunction(function);
  DestroyKvTaskFunc(function);
  EXPECT_EQ(releases.count(), 1);
  task->SetFunction(nullptr);
  EXPECT_EQ(releases.count(), 2);
  EXPECT_EQ(first.runs + second.runs, 0);
  DestroyKvTask(task);
  EXPECT_EQ(releases.count(), 2);
}

TEST(TaskObjects, IdentifiersContextsAndDuplicates) {
  IKvTaskPackage* named = CreateKvTaskPackage("render-42", nullptr);
  EXPECT_STREQ(named->Identifier(), "render-42");
  IKvTask* first = CreateKvTask();
  IKvTask* second = CreateKvTask();
  EXPECT_GT(std::string(first->Identifier()).size(), 0u);
  EXPECT_STRNE(first->Identifier(), second->Identifier());
  IKvTaskEvent* event = CreateKvTaskEvent(nullptr);
  EXPECT_STRNE(event->Identifier(), first->Identifier());

  EXPECT_STREQ(first->Context(), "");
  first->SetContext("terrace_tests/1");
  const char* old_context = first->Context();
  first->SetContext("terrace_tests/2");
  EXPECT_STREQ(first->Context(), "terrace_tests/2");
  EXPECT_STREQ(old_context, "terrace_tests/1");
  EXPECT_EQ(first->Result(), 0);

  // A package is a task: duplicating through the base keeps it alive after one destroy.
  EXPECT_EQ(DuplicateKvTask(named), static_cast<IKvTask*>(named));
  DestroyKvTask(named);
  EXPECT_STREQ(named->Identifier(), "render-42");
  named->AddTask(named);  // ignored: it would keep itself alive forever
  DestroyKvTask(named);
  EXPECT_EQ(DuplicateKvTask(nullptr), nullptr);
  DestroyKvTask(nullptr);
  DestroyKvTask(first);
  DestroyKvTask(second);
  DestroyKvTask(event);
}

}  // namespace
