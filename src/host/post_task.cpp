#include "host/post_task.h"

#include <memory>

#include "app/terrace_text.h"
#include "ter_task.h"

namespace {

struct TaskInfo {
  std::string name;
  int priority;
};

void ReleaseTaskInfo(void* value) { delete static_cast<std::shared_ptr<TaskInfo>*>(value); }

void InvokeFunction(void* opaque, IKvTask* task, IKvTaskData* data) {
  // Hold the running task and its data for the length of the call.
  DuplicateKvTask(task);
  if (data) DuplicateKvTaskData(data);
  (*static_cast<PostedTaskFunction*>(opaque))(task);
  if (data) DestroyKvTaskData(data);
  DestroyKvTask(task);
}

void ReleaseFunction(void* opaque) { delete static_cast<PostedTaskFunction*>(opaque); }

int64_t CompleteWithOne(IKvTask*, void*) { return 1; }

IKvTaskData* NewTaskData(const std::string& name, int priority) {
  IKvTaskData* data = CreateKvTaskData();
  if (!data) return nullptr;
  data->SetReleaseCallback(&ReleaseTaskInfo);
  data->Attach(new std::shared_ptr<TaskInfo>(std::make_shared<TaskInfo>(TaskInfo{name, priority})));
  return data;
}

}  // namespace

std::string PostTask(const std::string& name, int priority, PostedTaskFunction* function) {
  if (!function) return std::string();
  IKvTask* task = CreateKvTask();
  IKvTaskFunc* task_function = CreateKvTaskFunc();
  if (!task || !task_function) {
    if (task_function) DestroyKvTaskFunc(task_function);
    else delete function;
    if (task) DestroyKvTask(task);
    return std::string();
  }
  // From here the function object belongs to the task-function object.
  task_function->Bind(function, &InvokeFunction, &ReleaseFunction);

  {
    TerText context(TerUtilityApp()->TaskContext());
    task->SetContext(context.get());
  }
  if (IKvTaskData* data = NewTaskData(name, priority)) {
    task->SetData(data);
    DestroyKvTaskData(data);
  }
  task->SetFunction(task_function);
  DestroyKvTaskFunc(task_function);

  std::string identifier;
  IKvTaskData* package_data = NewTaskData(std::string(), 0);
  TerText package_id(TerUtilityApp()->NewIdentifier());
  IKvTaskPackage* package = CreateKvTaskPackage(package_id.get(), package_data);
  if (package_data) DestroyKvTaskData(package_data);
  if (package) {
    package->AddTask(task);
    package->SetCompletion(&CompleteWithOne, nullptr);
    TerText event_id(TerUtilityApp()->NewIdentifier());
    IKvTaskEvent* event = CreateKvTaskEvent(event_id.get());
    if (event) {
      event->BindPackage(package);
      event->SetCompletion(&CompleteWithOne, nullptr);
      DestroyKvTask(package);
      package = nullptr;
      if (TerTaskSchedular()->Schedule(event)) identifier = event->Identifier();
      DestroyKvTask(event);
    }
    if (package) DestroyKvTask(package);
  }
  DestroyKvTask(task);
  return identifier;
}
