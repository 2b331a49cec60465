#include <atomic>
#include <functional>
#include <memory>
#include <new>
#include <vector>

#include "ter_task.h"
#include "terrace/task_objects.h"
#include "terrace/task_pool.h"

namespace terrace {
namespace {

// One Schedule() call: holds its references until the last of its jobs is done.
struct ScheduledRun {
  ScheduledRun() = default;
  ScheduledRun(const ScheduledRun&) = delete;
  ScheduledRun& operator=(const ScheduledRun&) = delete;

  ~ScheduledRun() {
    for (TaskCore* task : tasks) task->ReleaseRef();
    if (package) package->ReleaseRef();
    if (event) event->ReleaseRef();
  }

  void Finish() {
    if (package) package->Complete();
    event->Complete();
  }

  TaskCore* event = nullptr;
  TaskCore* package = nullptr;
  std::vector<TaskCore*> tasks;
  std::atomic<size_t> remaining{0};
};

class TaskScheduler final : public ITerTaskSchedular {
 public:
  bool Schedule(IKvTaskEvent* event) override {
    auto* target = dynamic_cast<TaskEvent*>(event);
    TaskPool* pool = TaskPool::Instance();
    if (!target || !pool) return false;
    try {
      auto run = std::make_shared<ScheduledRun>();
      target->AddRef();
      run->event = target;
      TaskPackage* package = target->TakePackage();
      run->package = package;
      if (package) run->tasks = package->TakeSnapshot();
      run->remaining = run->tasks.size();

      std::vector<std::function<void()>> jobs;
      if (run->tasks.empty()) {
        jobs.emplace_back([run] { run->Finish(); });
      }
      for (size_t i = 0; i < run->tasks.size(); ++i) {
        // Whichever task ends last runs the completion steps, even after a throwing one.
        jobs.emplace_back([run, i] {
          try {
            run->tasks[i]->Run();
          } catch (...) {
          }
          if (run->remaining.fetch_sub(1) == 1) run->Finish();
        });
      }
      return pool->Submit(jobs);
    } catch (const std::bad_alloc&) {
      return false;
    }
  }
};

}  // namespace
}  // namespace terrace

extern "C" TERRACE_API ITerTaskSchedular* TerTaskSchedular() {
  static terrace::TaskScheduler instance;
  return &instance;
}
