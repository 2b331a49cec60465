#include "terrace/task_pool.h"

#include <windows.h>

#include <algorithm>
#include <new>
#include <thread>

namespace terrace {

TaskPool* TaskPool::Instance() {
  // Never destroyed: workers are still blocked in it while the process exits, and joining
  // them at DLL unload would hang under the loader lock.
  static TaskPool* pool = new (std::nothrow) TaskPool;
  return pool;
}

TaskPool::TaskPool() : wanted_(std::max(std::thread::hardware_concurrency(), 4u)) {}

void TaskPool::SetThreadCount(uint32_t count) {
  std::lock_guard<std::mutex> guard(mutex_);
  wanted_ = count == 0 ? 1 : count;
  StartWorkers();
  if (running_ > wanted_) wake_.notify_all();
}

uint32_t TaskPool::ThreadCount() {
  std::lock_guard<std::mutex> guard(mutex_);
  return wanted_;
}

// Native threads, not detached std::threads: the runtime's thread library can give the record
// of a detached thread that is just ending to two later threads, and one of them then starts
// without its argument and crashes.
void TaskPool::StartWorkers() {
  while (running_ < wanted_) {
    HANDLE thread = ::CreateThread(nullptr, 0, &TaskPool::RunWorker, this, 0, nullptr);
    if (!thread) return;
    ::CloseHandle(thread);
    ++running_;
  }
}

unsigned long __stdcall TaskPool::RunWorker(void* pool) {
  static_cast<TaskPool*>(pool)->WorkerLoop();
  return 0;
}

bool TaskPool::Submit(std::vector<std::function<void()>>& jobs) {
  std::lock_guard<std::mutex> guard(mutex_);
  StartWorkers();
  if (running_ == 0) return false;
  size_t queued = 0;
  try {
    for (auto& job : jobs) {
      jobs_.push_back(std::move(job));
      ++queued;
    }
  } catch (const std::bad_alloc&) {
    for (; queued > 0; --queued) jobs_.pop_back();
    return false;
  }
  if (queued == 1) {
    wake_.notify_one();
  } else {
    wake_.notify_all();
  }
  return true;
}

void TaskPool::WorkerLoop() {
  std::unique_lock<std::mutex> guard(mutex_);
  for (;;) {
    if (running_ > wanted_) {
      --running_;
      return;
    }
    if (jobs_.empty()) {
      wake_.wait(guard);
      continue;
    }
    std::function<void()> job = std::move(jobs_.front());
    jobs_.pop_front();
    guard.unlock();
    // A throwing callback must not take the worker down with it. What the job holds is
    // dropped before the lock is taken again: releasing it may run the host's callbacks.
    try {
      job();
    } catch (...) {
    }
    try {
      job = nullptr;
    } catch (...) {
    }
    guard.lock();
  }
}

}  // namespace terrace

extern "C" TERRACE_API ITerTaskPool* TerTaskPool() {
  return terrace::TaskPool::Instance();
}
