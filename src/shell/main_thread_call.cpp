#include "shell/main_thread_call.h"

#include <windows.h>

#include <glog/logging.h>

#include <atomic>
#include <memory>
#include <new>

#include "view/dispatch_queue.h"

namespace {

// Manual reset, set while the main thread takes no calls (also before it first does).
HANDLE StoppedEvent() {
  static const HANDLE stopped = ::CreateEventW(nullptr, TRUE, TRUE, nullptr);
  return stopped;
}

bool Stopped() { return ::WaitForSingleObject(StoppedEvent(), 0) != WAIT_TIMEOUT; }

// Shared by the caller and the closure: whichever lets go last frees it, so a caller that
// stopped waiting leaves nothing dangling behind.
struct Call {
  explicit Call(std::function<void()> job)
      : work(std::move(job)), done(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Call() {
    if (done) ::CloseHandle(done);
  }
  Call(const Call&) = delete;
  Call& operator=(const Call&) = delete;

  std::function<void()> work;
  std::atomic<bool> ran{false};
  const HANDLE done;
};

// Goes with the closure: also a closure deleted unrun (its post failed) ends the wait.
struct Finisher {
  explicit Finisher(std::shared_ptr<Call> of) : call(std::move(of)) {}
  ~Finisher() { ::SetEvent(call->done); }
  Finisher(const Finisher&) = delete;
  Finisher& operator=(const Finisher&) = delete;

  const std::shared_ptr<Call> call;
};

enum class Waited { kDone, kStopped, kOutOfPatience };

// Like SendMessage, answers what other threads send to this thread's windows meanwhile: the
// work may well resize a window this thread owns.
Waited WaitFor(const Call& call, unsigned patience_ms) {
  const HANDLE waits[2] = {call.done, StoppedEvent()};
  const DWORD start = ::GetTickCount();
  for (;;) {
    const DWORD spent = ::GetTickCount() - start;
    if (spent >= patience_ms) return Waited::kOutOfPatience;
    const DWORD woken =
        ::MsgWaitForMultipleObjectsEx(2, waits, patience_ms - spent, QS_SENDMESSAGE, 0);
    if (woken == WAIT_OBJECT_0) return Waited::kDone;
    if (woken == WAIT_OBJECT_0 + 1) {
      return ::WaitForSingleObject(call.done, 0) == WAIT_OBJECT_0 ? Waited::kDone
                                                                  : Waited::kStopped;
    }
    if (woken == WAIT_OBJECT_0 + 2) {
      MSG message;
      ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
      continue;
    }
    if (woken != WAIT_TIMEOUT) ::Sleep(1);  // a failed wait: retry until out of patience
  }
}

}  // namespace

bool CallOnMainThread(std::function<void()> work, unsigned patience_ms) {
  if (!work || Stopped()) return false;
  if (::GetCurrentThreadId() == DispatchQueue::GetMainThreadId()) {
    work();
    return true;
  }
  std::shared_ptr<Call> call;
  std::function<void()>* closure = nullptr;
  try {
    call = std::make_shared<Call>(std::move(work));
    if (!call->done) return false;
    auto finisher = std::make_shared<Finisher>(call);
    closure = new std::function<void()>([finisher] {
      Call& call = *finisher->call;
      if (Stopped()) return;
      call.work();
      call.ran = true;
    });
  } catch (const std::bad_alloc&) {
    return false;
  }
  DispatchQueue::DispatchAsync(DispatchQueue::DispatchGetMainQueue(), closure);
  switch (WaitFor(*call, patience_ms)) {
    case Waited::kDone:
      return call->ran;
    case Waited::kStopped:
      return false;
    case Waited::kOutOfPatience:
      break;
  }
  LOG(ERROR) << "The main thread did not take a window command within " << patience_ms
             << " ms; the sender goes on and the command runs when the main thread is free";
  return false;
}

void StartMainThreadCalls() { ::ResetEvent(StoppedEvent()); }

void StopMainThreadCalls() { ::SetEvent(StoppedEvent()); }
