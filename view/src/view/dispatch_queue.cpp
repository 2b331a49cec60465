#include "view/dispatch_queue.h"

#include <cstdlib>
#include <new>

namespace {
// Written once on the UI thread before any worker can dispatch; read-only afterwards.
HWND g_main_window = nullptr;
DWORD g_main_thread_id = 0;
}  // namespace

void DispatchQueue::DispatchQueueInit(HWND window) {
  g_main_window = window;
  g_main_thread_id = ::GetCurrentThreadId();
}

DWORD DispatchQueue::GetMainThreadId() { return g_main_thread_id; }

DispatchQueueObject1* DispatchQueue::DispatchGetMainQueue() {
  // Runtime heap, so that any module may hand the record back to us.
  auto* queue = static_cast<DispatchQueueObject1*>(std::malloc(sizeof(DispatchQueueObject1)));
  if (queue) {
    queue->thread_id = 0;
    queue->window = g_main_window;
    queue->message = kMainQueueMessage;
  }
  return queue;
}

void DispatchQueue::DispatchAsync(DispatchQueueObject1* queue, std::function<void()>* closure) {
  if (!queue) {
    delete closure;
    return;
  }
  const auto message = static_cast<UINT>(queue->message);
  const auto wparam = reinterpret_cast<WPARAM>(closure);
  BOOL posted = FALSE;
  if (queue->thread_id != 0) {
    posted = ::PostThreadMessageW(static_cast<DWORD>(queue->thread_id), message, wparam, 0);
  } else if (queue->window) {
    // A null window would make this a thread message to the caller, which nobody runs.
    posted = ::PostMessageW(queue->window, message, wparam, 0);
  }
  std::free(queue);
  if (!posted) delete closure;  // nobody will ever receive it
}

void DispatchQueue::FreeDispatchMainQueue(DispatchQueueObject1* queue) { std::free(queue); }
