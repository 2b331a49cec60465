#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "ter_task.h"

namespace {

using std::chrono::milliseconds;

// Taken before any test can change it.
const uint32_t g_initial_thread_count = TerTaskPool()->ThreadCount();

// Polls `done` for up to five seconds.
template <class Condition>
bool WaitUntil(Condition done) {
  for (int i = 0; i < 2500 && !done(); ++i) std::this_thread::sleep_for(milliseconds(2));
  return done();
}

struct Probe {
  std::atomic<int> runs{0}, releases{0};
  std::atomic<DWORD> thread{0};
  IKvTaskData* data_seen = nullptr;
  std::atomic<int>* running = nullptr;  // with `most_running`: how many tasks run at once
  std::atomic<int>* most_running = nullptr;
};

void ProbeInvoke(void* opaque, IKvTask*, IKvTaskData* data) {
  auto* probe = static_cast<Probe*>(opaque);
  probe->thread = ::GetCurrentThreadId();
  probe->data_seen = data;
  if (probe->running) {
    const int now = ++*probe->running;
    int seen = probe->most_running->load();
    while (now > seen && !probe->most_running->compare_exchange_weak(seen, now)) {
    }
    std::this_thread::sleep_for(milliseconds(30));
    --*probe->running;
  }
  ++probe->runs;
}

void ProbeRelease(void* opaque) {
  ++static_cast<Probe*>(opaque)->releases;
}

bool EachReleasedOnce(const std::vector<Probe>& probes) {
  return std::all_of(probes.begin(), probes.end(),
                     [](const Probe& probe) { return probe.releases == 1; });
}

// What the completion steps saw, for checking their order.
struct Steps {
  std::vector<Probe>* probes = nullptr;
  std::atomic<bool> package_after_all_tasks{false}, event_after_package{false};
  std::atomic<DWORD> event_thread{0};
  std::atomic<int> package_runs{0}, event_runs{0};
};

int64_t PackageCompleted(IKvTask*, void* context) {
  auto* steps = static_cast<Steps*>(context);
  steps->package_after_all_tasks = std::all_of(steps->probes->begin(), steps->probes->end(),
                                               [](const Probe& probe) { return probe.runs == 1; });
  ++steps->package_runs;
  return 7;
}

int64_t EventCompleted(IKvTask*, void* context) {
  auto* steps = static_cast<Steps*>(context);
  steps->event_after_package = steps->package_runs == 1;
  steps->event_thread = ::GetCurrentThreadId();
  ++steps->event_runs;
  return 42;
}

// Builds event -> package -> one task per probe (each given `data`); the caller owns one
// reference to the event and one to *package_out, and lets the probes go only once released.
IKvTaskEvent* BuildEvent(std::vector<Probe>& probes, Steps& steps, IKvTaskPackage** package_out,
                         IKvTaskData* data = nullptr) {
  IKvTaskPackage* package = CreateKvTaskPackage("package", nullptr);
  for (Probe& probe : probes) {
    IKvTaskFunc* function = CreateKvTaskFunc();
    function->Bind(&probe, ProbeInvoke, ProbeRelease);
    IKvTask* task = CreateKvTask();
    task->SetFunction(function);
    if (data) task->SetData(data);
    DestroyKvTaskFunc(function);
    package->AddTask(task);
    DestroyKvTask(task);
  }
  package->SetCompletion(PackageCompleted, &steps);
  IKvTaskEvent* event = CreateKvTaskEvent("event");
  event->BindPackage(package);
  event->SetCompletion(EventCompleted, &steps);
  steps.probes = &probes;
  *package_out = package;
  return event;
}

TEST(TaskPool, EventRunsEachTaskOnceOnPoolThreadsThenTheCompletionSteps) {
  EXPECT_EQ(g_initial_thread_count, std::max(std::thread::hardware_concurrency(), 4u));
  std::vector<Probe> probes(24);
  Steps steps;
  IKvTaskPackage* package = nullptr;
  IKvTaskData* data = CreateKvTaskData();
  IKvTaskEvent* event = BuildEvent(probes, steps, &package, data);
  ASSERT_TRUE(TerTaskSchedular()->Schedule(event));
  ASSERT_TRUE(WaitUntil([&] { return steps.event_runs == 1; }));

  const DWORD caller = ::GetCurrentThreadId();
  for (Probe& probe : probes) {
    EXPECT_EQ(probe.runs, 1);
    EXPECT_NE(probe.thread, caller);
    EXPECT_EQ(probe.data_seen, data);
  }
  EXPECT_NE(steps.event_thread, caller);
  EXPECT_TRUE(steps.package_after_all_tasks);
  EXPECT_TRUE(steps.event_after_package);
  EXPECT_EQ(package->Result(), 7) << "stored before the event's step ran";
  // The event's value is stored once its step has returned, just after it counted.
  EXPECT_TRUE(WaitUntil([&] { return event->Result() == 42; }));
  DestroyKvTask(package);
  DestroyKvTask(event);
  DestroyKvTaskData(data);
  EXPECT_TRUE(WaitUntil([&] { return EachReleasedOnce(probes); }));

  // An event without a package still completes.
  Steps lonely_steps;
  IKvTaskEvent* lonely = CreateKvTaskEvent(nullptr);
  lonely->SetCompletion(EventCompleted, &lonely_steps);
  ASSERT_TRUE(TerTaskSchedular()->Schedule(lonely));
  EXPECT_TRUE(WaitUntil([&] { return lonely->Result() == 42; }));
  DestroyKvTask(lonely);
  EXPECT_FALSE(TerTaskSchedular()->Schedule(nullptr));
}

TEST(TaskPool, ThreadCountBoundsTheWorkAndTheSchedulerKeepsItAlive) {
  const uint32_t saved = TerTaskPool()->ThreadCount();
  TerTaskPool()->SetThreadCount(0);
  EXPECT_EQ(TerTaskPool()->ThreadCount(), 1u);
  TerTaskPool()->SetThreadCount(2);
  std::atomic<int> running{0}, most_running{0};
  std::vector<Probe> probes(6);
  for (Probe& probe : probes) {
    probe.running = &running;
    probe.most_running = &most_running;
  }
  Steps steps;
  IKvTaskPackage* package = nullptr;
  IKvTaskEvent* event = BuildEvent(probes, steps, &package);
  ASSERT_TRUE(TerTaskSchedular()->Schedule(event));
  DestroyKvTask(package);
  DestroyKvTask(event);  // only the scheduler's references are left
  ASSERT_TRUE(WaitUntil([&] { return steps.event_runs == 1; }));
  TerTaskPool()->SetThreadCount(saved);
  EXPECT_EQ(most_running, 2);
  for (Probe& probe : probes) EXPECT_EQ(probe.runs, 1);
  // The functions go with the scheduler's last references, each released once.
  EXPECT_TRUE(WaitUntil([&] { return EachReleasedOnce(probes); }));
  std::this_thread::sleep_for(milliseconds(20));
  EXPECT_TRUE(EachReleasedOnce(probes));
}

// Jobs that only finish together: each waits until all have started, or one gave up.
struct Gathering {
  int expected = 0;
  std::atomic<int> arrived{0};
  std::atomic<bool> gave_up{false};
  std::atomic<int> most_together{0};
};

void Gather(void* opaque, IKvTask*, IKvTaskData*) {
  auto* gathering = static_cast<Gathering*>(opaque);
  const int now = ++gathering->arrived;
  int seen = gathering->most_together.load();
  while (now > seen && !gathering->most_together.compare_exchange_weak(seen, now)) {
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (gathering->arrived < gathering->expected && !gathering->gave_up) {
    if (std::chrono::steady_clock::now() > deadline) gathering->gave_up = true;
    std::this_thread::sleep_for(milliseconds(1));
  }
}

// A batch of jobs is handed to idle workers all at once: waking one of them for the whole
// batch would leave the others asleep while jobs wait in the queue.
TEST(TaskPool, ABatchWakesAsManyIdleWorkersAsItHasJobs) {
  constexpr int kWorkers = 4;
  const uint32_t saved = TerTaskPool()->ThreadCount();
  TerTaskPool()->SetThreadCount(kWorkers);
  std::vector<Probe> warm_up(kWorkers);
  Steps warm_steps;
  IKvTaskPackage* warm_package = nullptr;
  IKvTaskEvent* warm = BuildEvent(warm_up, warm_steps, &warm_package);
  ASSERT_TRUE(TerTaskSchedular()->Schedule(warm));
  DestroyKvTask(warm_package);
  DestroyKvTask(warm);
  ASSERT_TRUE(WaitUntil([&] { return warm_steps.event_runs == 1; }));
  // Not needed for a correct pool; it lets every worker go back to sleep, so that a pool
  // that wakes too few cannot hide behind a worker that was still awake.
  std::this_thread::sleep_for(milliseconds(300));

  Gathering gathering;
  gathering.expected = kWorkers;
  IKvTaskPackage* package = CreateKvTaskPackage("gathering", nullptr);
  for (int i = 0; i < kWorkers; ++i) {
    IKvTaskFunc* function = CreateKvTaskFunc();
    function->Bind(&gathering, Gather, nullptr);
    IKvTask* task = CreateKvTask();
    task->SetFunction(function);
    DestroyKvTaskFunc(function);
    package->AddTask(task);
    DestroyKvTask(task);
  }
  IKvTaskEvent* event = CreateKvTaskEvent("gathering");
  event->BindPackage(package);
  Steps steps;
  event->SetCompletion(EventCompleted, &steps);
  ASSERT_TRUE(TerTaskSchedular()->Schedule(event));
  DestroyKvTask(package);
  DestroyKvTask(event);
  for (int i = 0; i < 2000 && steps.event_runs == 0; ++i) std::this_thread::sleep_for(milliseconds(20));
  TerTaskPool()->SetThreadCount(saved);
  ASSERT_EQ(steps.event_runs, 1);
  EXPECT_EQ(gathering.most_together, kWorkers);
  EXPECT_FALSE(gathering.gave_up);
}

std::atomic<int> g_value_releases{0};
void CountValueRelease(void*) {
  ++g_value_releases;
}

TEST(TaskObjects, ReleaseCallbacksRunExactlyOnce) {
  int first = 1, second = 2;
  IKvTaskData* data = CreateKvTaskData();
  data->SetReleaseCallback(CountValueRelease);
  data->Attach(&first);
  data->Attach(&second);
  EXPECT_EQ(g_value_releases, 1) << "the replaced value";
  data->Attach(&second);
  EXPECT_EQ(g_value_releases, 1) << "attaching the same value again keeps it";
  IKvTask* task = CreateKvTask();
  task->SetData(data);
  DestroyKvTaskData(data);
  EXPECT_EQ(g_value_releases, 1) << "the task still holds the data";
  DestroyKvTask(task);
  EXPECT_EQ(g_value_releases, 2);

  Probe first_binding, second_binding;
  IKvTaskFunc* function = CreateKvTaskFunc();
  function->Bind(&first_binding, ProbeInvoke, ProbeRelease);
  function->Bind(&second_binding, ProbeInvoke, ProbeRelease);
  EXPECT_EQ(first_binding.releases, 1) << "the first binding is given back";
  task = CreateKvTask();
  task->SetFunction(function);
  DestroyKvTaskFunc(function);
  EXPECT_EQ(second_binding.releases, 0) << "the task still holds the function";
  task->SetFunction(nullptr);
  EXPECT_EQ(second_binding.releases, 1) << "released although it never ran";
  DestroyKvTask(task);
  EXPECT_EQ(first_binding.releases + second_binding.releases, 2);
}

TEST(TaskObjects, ReferencesThroughTheBaseAndAPackageHoldingItself) {
  IKvTaskPackage* named = CreateKvTaskPackage("render-42", nullptr);
  // A package is a task: duplicating through the base keeps it alive after one destroy.
  EXPECT_EQ(DuplicateKvTask(named), static_cast<IKvTask*>(named));
  DestroyKvTask(named);
  EXPECT_STREQ(named->Identifier(), "render-42");
  named->AddTask(named);  // ignored: it would keep itself alive forever
  DestroyKvTask(named);
  EXPECT_EQ(DuplicateKvTask(nullptr), nullptr);
}

}  // namespace
