// Reference-counted task objects behind the IKvTask* interfaces.
#pragma once

#include <atomic>
#include <list>
#include <mutex>
#include <string>
#include <vector>

#include "ter_task.h"

namespace terrace {

class RefCounted {
 public:
  RefCounted() = default;
  RefCounted(const RefCounted&) = delete;
  RefCounted& operator=(const RefCounted&) = delete;

  void AddRef() { references_.fetch_add(1, std::memory_order_relaxed); }
  void ReleaseRef() {
    if (references_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
  }

 protected:
  virtual ~RefCounted() = default;

 private:
  std::atomic<long> references_{1};
};

class TaskData final : public IKvTaskData, public RefCounted {
 public:
  void Attach(void* value) override;
  void* Get() override;
  void SetReleaseCallback(void (*release)(void* value)) override;

  static TaskData* From(IKvTaskData* data);

 private:
  ~TaskData() override;

  std::mutex mutex_;
  void* value_ = nullptr;
  void (*release_)(void*) = nullptr;
};

class TaskFunc final : public IKvTaskFunc, public RefCounted {
 public:
  void Bind(void* opaque, KvTaskInvoke invoke, KvTaskRelease release) override;
  void Invoke(IKvTask* task, IKvTaskData* data);

  static TaskFunc* From(IKvTaskFunc* function);

 private:
  ~TaskFunc() override;

  std::mutex mutex_;
  void* opaque_ = nullptr;
  KvTaskInvoke invoke_ = nullptr;
  KvTaskRelease release_ = nullptr;
};

// What every task, package and event shares; the scheduler works on this.
class TaskCore : public RefCounted {
 public:
  explicit TaskCore(std::string identifier) : identifier_(std::move(identifier)) {}

  virtual IKvTask* Self() = 0;
  // Calls the bound function, if any, with this task and its data.
  void Run();
  // Calls the completion step, if any, and keeps what it returns as the result.
  void Complete();

  static TaskCore* From(IKvTask* task);

 protected:
  ~TaskCore() override;

  void SetFunctionImpl(IKvTaskFunc* function);
  void SetDataImpl(IKvTaskData* data);
  void SetContextImpl(const char* context);
  const char* ContextImpl();
  void SetCompletionImpl(KvTaskCompletion completion, void* context);

  std::mutex mutex_;
  TaskFunc* function_ = nullptr;
  TaskData* data_ = nullptr;
  const std::string identifier_;
  // Earlier contexts stay alive with the task: a caller may still hold one from Context().
  std::list<std::string> contexts_;
  KvTaskCompletion completion_ = nullptr;
  void* completion_context_ = nullptr;
  std::atomic<int64_t> result_{0};
};

template <class Interface>
class TaskObject : public Interface, public TaskCore {
 public:
  using TaskCore::TaskCore;

  IKvTask* Self() override { return this; }
  void SetFunction(IKvTaskFunc* function) override { SetFunctionImpl(function); }
  void SetData(IKvTaskData* data) override { SetDataImpl(data); }
  const char* Identifier() override { return identifier_.c_str(); }
  void SetContext(const char* context) override { SetContextImpl(context); }
  const char* Context() override { return ContextImpl(); }
  void SetCompletion(KvTaskCompletion completion, void* context) override {
    SetCompletionImpl(completion, context);
  }
  int64_t Result() override { return result_.load(); }
};

class TaskPackage final : public TaskObject<IKvTaskPackage> {
 public:
  using TaskObject::TaskObject;
  void AddTask(IKvTask* task) override;
  // The current tasks, each with a reference of its own for the caller.
  std::vector<TaskCore*> TakeSnapshot();

 private:
  ~TaskPackage() override;
  std::vector<TaskCore*> tasks_;
};

class TaskEvent final : public TaskObject<IKvTaskEvent> {
 public:
  using TaskObject::TaskObject;
  void BindPackage(IKvTaskPackage* package) override;
  TaskPackage* TakePackage();  // with a reference for the caller; null when none is bound

 private:
  ~TaskEvent() override;
  TaskPackage* package_ = nullptr;
};

}  // namespace terrace
