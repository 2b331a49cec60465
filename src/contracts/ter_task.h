// Worker pool, scheduler and reference-counted task objects of the service library.
// Create*() hands out one reference; Duplicate*() adds one; Destroy*() drops one. An object
// is freed when its last reference goes, so the scheduler keeps what it still runs alive.
#pragma once

#include <stdint.h>

#include "terrace_export.h"

class IKvTask;
class IKvTaskData;

class IKvTaskData {
 public:
  virtual void Attach(void* value) = 0;  // replaces (and releases) the previous value
  virtual void* Get() = 0;
  // Called with the attached value when the data object is freed or the value replaced.
  virtual void SetReleaseCallback(void (*release)(void* value)) = 0;

 protected:
  ~IKvTaskData() = default;
};

typedef void (*KvTaskInvoke)(void* opaque, IKvTask* task, IKvTaskData* data);
typedef void (*KvTaskRelease)(void* opaque);

class IKvTaskFunc {
 public:
  // `invoke` runs when the pool runs the task; `release` runs once when the function object
  // is freed (whether or not it ever ran).
  virtual void Bind(void* opaque, KvTaskInvoke invoke, KvTaskRelease release) = 0;

 protected:
  ~IKvTaskFunc() = default;
};

// Completion step of a package or event: runs once, on a pool thread, after its work is done;
// the value it returns is kept as the object's result.
typedef int64_t (*KvTaskCompletion)(IKvTask* self, void* context);

class IKvTask {
 public:
  virtual void SetFunction(IKvTaskFunc* function) = 0;  // takes its own reference
  virtual void SetData(IKvTaskData* data) = 0;          // takes its own reference
  virtual const char* Identifier() = 0;                 // borrowed; lives as long as the task
  virtual void SetContext(const char* context) = 0;
  virtual const char* Context() = 0;
  virtual void SetCompletion(KvTaskCompletion completion, void* context) = 0;
  virtual int64_t Result() = 0;  // what the completion step returned; 0 before

 protected:
  ~IKvTask() = default;
};

class IKvTaskPackage : public IKvTask {
 public:
  virtual void AddTask(IKvTask* task) = 0;  // takes its own reference

 protected:
  ~IKvTaskPackage() = default;
};

class IKvTaskEvent : public IKvTask {
 public:
  virtual void BindPackage(IKvTaskPackage* package) = 0;  // takes its own reference

 protected:
  ~IKvTaskEvent() = default;
};

class ITerTaskPool {
 public:
  virtual void SetThreadCount(uint32_t count) = 0;  // 0 is taken as 1
  virtual uint32_t ThreadCount() = 0;

 protected:
  ~ITerTaskPool() = default;
};

class ITerTaskSchedular {
 public:
  // Runs the event's package's tasks on the pool (each task's function once), then the
  // package's and the event's completion steps. Takes its own reference on the event.
  virtual bool Schedule(IKvTaskEvent* event) = 0;

 protected:
  ~ITerTaskSchedular() = default;
};

extern "C" {
TERRACE_API ITerTaskPool* TerTaskPool();
TERRACE_API ITerTaskSchedular* TerTaskSchedular();

TERRACE_API IKvTask* CreateKvTask();
TERRACE_API IKvTaskData* CreateKvTaskData();
TERRACE_API IKvTaskFunc* CreateKvTaskFunc();
// A null identifier gets a fresh one.
TERRACE_API IKvTaskPackage* CreateKvTaskPackage(const char* identifier, IKvTaskData* data);
TERRACE_API IKvTaskEvent* CreateKvTaskEvent(const char* identifier);

TERRACE_API IKvTask* DuplicateKvTask(IKvTask* task);  // packages and events are tasks too
TERRACE_API IKvTaskData* DuplicateKvTaskData(IKvTaskData* data);
TERRACE_API void DestroyKvTask(IKvTask* task);
TERRACE_API void DestroyKvTaskData(IKvTaskData* data);
TERRACE_API void DestroyKvTaskFunc(IKvTaskFunc* function);
}
