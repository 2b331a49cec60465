#include "dialogs/main_thread.h"

#include <windows.h>

#include "view/dispatch_queue.h"

bool OnMainThread() {
  const DWORD main = DispatchQueue::GetMainThreadId();
  return main != 0 && ::GetCurrentThreadId() == main;
}

void RunOnMainThreadLater(std::function<void()> work) {
  DispatchQueue::DispatchAsync(DispatchQueue::DispatchGetMainQueue(),
                               new std::function<void()>(std::move(work)));
}

void RunOnMainThread(std::function<void()> work) {
  if (OnMainThread()) {
    work();
  } else {
    RunOnMainThreadLater(std::move(work));
  }
}
