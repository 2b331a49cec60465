#include "terrace/task_objects.h"

#include <new>
#include <utility>

#include "terrace/text.h"

namespace terrace {

// ---- TaskData ----

TaskData* TaskData::From(IKvTaskData* data) {
  return dynamic_cast<TaskData*>(data);
}

// The release callback runs outside the lock: it is the host's code and may call back in.
void TaskData::Attach(void* value) {
  void* previous;
  void (*release)(void*);
  {
    std::lock_guard<std::mutex> guard(mutex_);
    previous = value_;
    release = release_;
    value_ = value;
  }
  // Attaching the same value again keeps it; releasing it would leave us holding freed memory.
  if (previous && previous != value && release) release(previous);
}

void* TaskData::Get() {
  std::lock_guard<std::mutex> guard(mutex_);
  return value_;
}

void TaskData::SetReleaseCallback(void (*release)(void*)) {
  std::lock_guard<std::mutex> guard(mutex_);
  release_ = release;
}

TaskData::~TaskData() {
  if (value_ && release_) release_(value_);
}

// ---- TaskFunc ----

TaskFunc* TaskFunc::From(IKvTaskFunc* function) {
  return dynamic_cast<TaskFunc*>(function);
}

// Binding again hands the earlier opaque back to its own release callback, so each opaque
// is released exactly once (unless the new binding keeps the same opaque).
void TaskFunc::Bind(void* opaque, KvTaskInvoke invoke, KvTaskRelease release) {
  void* previous;
  KvTaskRelease previous_release;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    previous = opaque_;
    previous_release = release_;
    opaque_ = opaque;
    invoke_ = invoke;
    release_ = release;
  }
  if (previous_release && previous != opaque) previous_release(previous);
}

void TaskFunc::Invoke(IKvTask* task, IKvTaskData* data) {
  void* opaque;
  KvTaskInvoke invoke;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    opaque = opaque_;
    invoke = invoke_;
  }
  if (invoke) invoke(opaque, task, data);
}

TaskFunc::~TaskFunc() {
  if (release_) release_(opaque_);
}

// ---- TaskCore ----

TaskCore* TaskCore::From(IKvTask* task) {
  return dynamic_cast<TaskCore*>(task);
}

TaskCore::~TaskCore() {
  if (function_) function_->ReleaseRef();
  if (data_) data_->ReleaseRef();
}

void TaskCore::Run() {
  TaskFunc* function;
  TaskData* data;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    function = function_;
    data = data_;
    if (function) function->AddRef();
    if (data) data->AddRef();
  }
  if (function) {
    function->Invoke(Self(), data);
    function->ReleaseRef();
  }
  if (data) data->ReleaseRef();
}

void TaskCore::Complete() {
  KvTaskCompletion completion;
  void* context;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    completion = completion_;
    context = completion_context_;
  }
  if (completion) result_.store(completion(Self(), context));
}

void TaskCore::SetFunctionImpl(IKvTaskFunc* function) {
  TaskFunc* added = TaskFunc::From(function);
  if (added) added->AddRef();
  TaskFunc* previous;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    previous = function_;
    function_ = added;
  }
  if (previous) previous->ReleaseRef();
}

void TaskCore::SetDataImpl(IKvTaskData* data) {
  TaskData* added = TaskData::From(data);
  if (added) added->AddRef();
  TaskData* previous;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    previous = data_;
    data_ = added;
  }
  if (previous) previous->ReleaseRef();
}

void TaskCore::SetContextImpl(const char* context) {
  try {
    std::lock_guard<std::mutex> guard(mutex_);
    contexts_.emplace_back(context ? context : "");
  } catch (const std::bad_alloc&) {
  }
}

const char* TaskCore::ContextImpl() {
  std::lock_guard<std::mutex> guard(mutex_);
  return contexts_.empty() ? "" : contexts_.back().c_str();
}

void TaskCore::SetCompletionImpl(KvTaskCompletion completion, void* context) {
  std::lock_guard<std::mutex> guard(mutex_);
  completion_ = completion;
  completion_context_ = context;
}

// ---- TaskPackage ----

void TaskPackage::AddTask(IKvTask* task) {
  TaskCore* core = TaskCore::From(task);
  // A package holding itself would never be freed.
  if (!core || core == this) return;
  try {
    std::lock_guard<std::mutex> guard(mutex_);
    tasks_.push_back(core);
    core->AddRef();
  } catch (const std::bad_alloc&) {
  }
}

std::vector<TaskCore*> TaskPackage::TakeSnapshot() {
  std::lock_guard<std::mutex> guard(mutex_);
  std::vector<TaskCore*> snapshot(tasks_);
  for (TaskCore* task : snapshot) task->AddRef();
  return snapshot;
}

TaskPackage::~TaskPackage() {
  for (TaskCore* task : tasks_) task->ReleaseRef();
}

// ---- TaskEvent ----

void TaskEvent::BindPackage(IKvTaskPackage* package) {
  auto* added = dynamic_cast<TaskPackage*>(package);
  if (added) added->AddRef();
  TaskPackage* previous;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    previous = package_;
    package_ = added;
  }
  if (previous) previous->ReleaseRef();
}

TaskPackage* TaskEvent::TakePackage() {
  std::lock_guard<std::mutex> guard(mutex_);
  if (package_) package_->AddRef();
  return package_;
}

TaskEvent::~TaskEvent() {
  if (package_) package_->ReleaseRef();
}

}  // namespace terrace

// ---- Exported factory and reference functions ----

namespace {

std::string IdentifierOrFresh(const char* identifier) {
  return identifier ? std::string(identifier) : terrace::NewGuidText();
}

}  // namespace

extern "C" {

TERRACE_API IKvTask* CreateKvTask() {
  try {
    return new terrace::TaskObject<IKvTask>(terrace::NewGuidText());
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

TERRACE_API IKvTaskData* CreateKvTaskData() {
  return new (std::nothrow) terrace::TaskData;
}

TERRACE_API IKvTaskFunc* CreateKvTaskFunc() {
  return new (std::nothrow) terrace::TaskFunc;
}

TERRACE_API IKvTaskPackage* CreateKvTaskPackage(const char* identifier, IKvTaskData* data) {
  try {
    auto* package = new terrace::TaskPackage(IdentifierOrFresh(identifier));
    package->SetData(data);
    return package;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

TERRACE_API IKvTaskEvent* CreateKvTaskEvent(const char* identifier) {
  try {
    return new terrace::TaskEvent(IdentifierOrFresh(identifier));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

TERRACE_API IKvTask* DuplicateKvTask(IKvTask* task) {
  terrace::TaskCore* core = terrace::TaskCore::From(task);
  if (!core) return nullptr;
  core->AddRef();
  return task;
}

TERRACE_API IKvTaskData* DuplicateKvTaskData(IKvTaskData* data) {
  terrace::TaskData* object = terrace::TaskData::From(data);
  if (!object) return nullptr;
  object->AddRef();
  return data;
}

TERRACE_API void DestroyKvTask(IKvTask* task) {
  if (terrace::TaskCore* core = terrace::TaskCore::From(task)) core->ReleaseRef();
}

TERRACE_API void DestroyKvTaskData(IKvTaskData* data) {
  if (terrace::TaskData* object = terrace::TaskData::From(data)) object->ReleaseRef();
}

TERRACE_API void DestroyKvTaskFunc(IKvTaskFunc* function) {
  if (terrace::TaskFunc* object = terrace::TaskFunc::From(function)) object->ReleaseRef();
}

}  // extern "C"
