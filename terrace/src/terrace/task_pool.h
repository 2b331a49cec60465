// The worker pool that runs scheduled work; never on the caller's thread.
#pragma once

#include <stdint.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "ter_task.h"

namespace terrace {

class TaskPool final : public ITerTaskPool {
 public:
  // Null only when the pool itself cannot be allocated.
  static TaskPool* Instance();

  // Grows at once; surplus workers leave after the job they are running.
  void SetThreadCount(uint32_t count) override;
  uint32_t ThreadCount() override;

  // Queues every job or none of them; false when out of memory or without any worker.
  bool Submit(std::vector<std::function<void()>>& jobs);

 private:
  TaskPool();
  void StartWorkers();  // with mutex_ held
  static unsigned long __stdcall RunWorker(void* pool);
  void WorkerLoop();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> jobs_;
  uint32_t wanted_;
  uint32_t running_ = 0;
};

}  // namespace terrace
