// Runs work once on the service library's worker pool.
#pragma once

#include <functional>
#include <string>

class IKvTask;

using PostedTaskFunction = std::function<void(IKvTask* running_task)>;

// Takes ownership of `function` (heap-allocated) and runs it once on a pool thread, never
// on the caller's. Returns the identifier of the scheduled event; empty when nothing could
// be scheduled (the function is then destroyed unrun).
std::string PostTask(const std::string& name, int priority, PostedTaskFunction* function);
