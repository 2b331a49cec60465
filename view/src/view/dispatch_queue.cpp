#include "view/dispatch_queue.h"

#include <cstdlib>
#include <new>
#include <unordered_set>

namespace {
// Written once on the UI thread before any worker can dispatch; read-only afterwards.
HWND g_main_window = nullptr;
DWORD g_main_thread_id = 0;

// Closures posted and not yet claimed. Entered before the post, so the receiver can never
// see a closure that is not in it yet. A slim reader/writer lock: the posting thread and the
// UI thread meet on it at every closure, and a contended runtime mutex would cost a trip
// through the kernel each time.
class InFlight {
 public:
  // An address already in the set belonged to a closure that a receiver ran and freed
  // without claiming it; it is this one's now.
  bool Enter(const void* closure) {
    Locked locked(&lock_);
    try {
      closures_.insert(closure);
      return true;
    } catch (const std::bad_alloc&) {
      return false;
    }
  }
  bool Leave(const void* closure) {
    Locked locked(&lock_);
    return closures_.erase(closure) == 1;
  }

 private:
  class Locked {
   public:
    explicit Locked(SRWLOCK* lock) : lock_(lock) { ::AcquireSRWLockExclusive(lock_); }
    ~Locked() { ::ReleaseSRWLockExclusive(lock_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

   private:
    SRWLOCK* lock_;
  };

  SRWLOCK lock_ = SRWLOCK_INIT;
  std::unordered_set<const void*> closures_;
};

InFlight& Posted() {
  // Never destroyed: closures may still be posted while the process exits.
  static auto* posted = new InFlight;
  return *posted;
}
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
  if (!closure || !Posted().Enter(closure)) {
    // Nothing to carry, or no room to remember it: the receiver would refuse it anyway.
  } else if (queue->thread_id != 0) {
    posted = ::PostThreadMessageW(static_cast<DWORD>(queue->thread_id), message, wparam, 0);
  } else if (queue->window) {
    // A null window would make this a thread message to the caller, which nobody runs.
    posted = ::PostMessageW(queue->window, message, wparam, 0);
  }
  std::free(queue);
  if (!posted) {
    // Nobody will ever receive it. Left behind in the set it could be claimed by a forged
    // message carrying the same number, after its memory went to something else.
    Posted().Leave(closure);
    delete closure;
  }
}

void DispatchQueue::FreeDispatchMainQueue(DispatchQueueObject1* queue) { std::free(queue); }

std::function<void()>* DispatchQueue::ClaimClosure(WPARAM wparam) {
  auto* closure = reinterpret_cast<std::function<void()>*>(wparam);
  return closure && Posted().Leave(closure) ? closure : nullptr;
}
