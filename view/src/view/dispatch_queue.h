// Hands closures from any thread to the user-interface thread.
//
// A closure travels as the WPARAM of message 2024 posted to the main window; that window
// runs it once and deletes it (the receiving half lives with the window). Pattern:
//   if (GetCurrentThreadId() == DispatchQueue::GetMainThreadId()) work();
//   else DispatchQueue::DispatchAsync(DispatchQueue::DispatchGetMainQueue(),
//                                     new std::function<void()>(work));
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "view/vantorel_export.h"

// Names one target queue; allocated by the library, opaque to callers.
struct DispatchQueueObject1 {
  uint64_t thread_id;  // non-zero: post to this thread as a thread message
  HWND window;         // used when thread_id is zero
  uint64_t message;
};

class VANTOREL_API DispatchQueue {
 public:
  static constexpr UINT kMainQueueMessage = WM_USER + 1000;  // 2024

  // Binds the main queue to `window` and the calling thread. Call once, on the UI thread.
  static void DispatchQueueInit(HWND window);
  static DWORD GetMainThreadId();  // 0 before DispatchQueueInit
  // A fresh record for the main queue; hand it to exactly one of DispatchAsync or
  // FreeDispatchMainQueue.
  static DispatchQueueObject1* DispatchGetMainQueue();
  // Posts `closure` and releases `queue`. Never runs the closure itself. When the post fails
  // (the window or thread is gone, or DispatchQueueInit has not run yet) the closure is
  // deleted here, unrun.
  static void DispatchAsync(DispatchQueueObject1* queue, std::function<void()>* closure);
  static void FreeDispatchMainQueue(DispatchQueueObject1* queue);

  DispatchQueue() = delete;
};
