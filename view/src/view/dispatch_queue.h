// Hands closures from any thread to the user-interface thread.
//
// A closure travels as the WPARAM of message 2024 posted to the main window; that window
// claims it (ClaimClosure), runs it once and deletes it. Any process on the desktop can post
// 2024 with any number in it, so the receiver runs only what this process posted. Pattern:
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

  // Receiving half: the closure carried by `wparam` when this process posted it and nobody
  // has claimed it yet, else null (a stray or forged message, never dereferenced). The
  // caller runs and deletes what it gets.
  static std::function<void()>* ClaimClosure(WPARAM wparam);

  DispatchQueue() = delete;
};
