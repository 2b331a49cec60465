// Closures per second from one worker thread to the user-interface thread through the dispatch
// queue, next to raw PostMessageW of an integer to the same window in the same run.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <thread>

#include "view/dispatch_queue.h"

namespace {

constexpr UINT kClosureMessage = DispatchQueue::kMainQueueMessage;
constexpr UINT kIntegerMessage = WM_APP + 1;
constexpr int kItems = 20000;
constexpr int kRounds = 5;
// Windows drops posts beyond 10000 queued messages; stay well below.
constexpr int kMaxInFlight = 2000;

std::atomic<int> g_received{0};
volatile long long g_sink = 0;

LRESULT CALLBACK ReceiverProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kClosureMessage) {
    // As the main frame does: only closures this process posted are run.
    if (std::function<void()>* closure = DispatchQueue::ClaimClosure(wparam)) {
      (*closure)();
      delete closure;
    }
    return 0;
  }
  if (message == kIntegerMessage) {
    g_sink = g_sink + static_cast<long long>(wparam);
    g_received.fetch_add(1, std::memory_order_relaxed);
    return 0;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

HWND CreateReceiver() {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = ReceiverProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"DispatchBenchReceiver";
  ::RegisterClassExW(&wc);
  return ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                           wc.hInstance, nullptr);
}

void WaitForRoom(int sent) {
  while (sent - g_received.load(std::memory_order_relaxed) >= kMaxInFlight) ::Sleep(0);
}

// Seconds from the worker's first post until the UI thread has handled every item.
template <typename Post>
double TimeRun(Post post) {
  g_received = 0;
  LARGE_INTEGER frequency, start, stop;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&start);
  std::thread worker([&post] {
    for (int i = 0; i < kItems; ++i) {
      WaitForRoom(i);
      post(i);
    }
  });
  MSG msg;
  while (g_received.load(std::memory_order_relaxed) < kItems &&
         ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::DispatchMessageW(&msg);
  }
  ::QueryPerformanceCounter(&stop);
  worker.join();
  return double(stop.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

// Without a display Wine never delivers the messages; say so instead of waiting forever.
void ExitUnlessAnsweredWithin(DWORD milliseconds, HANDLE answered) {
  std::thread([=] {
    if (::WaitForSingleObject(answered, milliseconds) == WAIT_OBJECT_0) return;
    std::printf("dispatch_bench: no window messages arrived in %lu s; it needs a display "
                "(scripts/bench starts a private one)\n",
                static_cast<unsigned long>(milliseconds / 1000));
    std::fflush(stdout);
    ::ExitProcess(2);
  }).detach();
}

}  // namespace

int main() {
  HANDLE answered = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ExitUnlessAnsweredWithin(20000, answered);
  HWND receiver = CreateReceiver();
  if (!receiver) {
    std::printf("dispatch_bench: no window could be created (error %lu)\n", ::GetLastError());
    return 2;
  }
  DispatchQueue::DispatchQueueInit(receiver);

  auto raw = [receiver](int i) { ::PostMessageW(receiver, kIntegerMessage, i, 0); };
  auto dispatch = [](int i) {
    DispatchQueue::DispatchAsync(DispatchQueue::DispatchGetMainQueue(),
                                 new std::function<void()>([i] {
                                   g_sink = g_sink + i;
                                   g_received.fetch_add(1, std::memory_order_relaxed);
                                 }));
  };

  TimeRun(raw);  // warm-up
  ::SetEvent(answered);
  TimeRun(dispatch);
  double best_raw = 1e30, best_dispatch = 1e30;
  for (int round = 0; round < kRounds; ++round) {
    best_raw = std::min(best_raw, TimeRun(raw));
    best_dispatch = std::min(best_dispatch, TimeRun(dispatch));
  }
  const double raw_rate = kItems / best_raw;
  const double dispatch_rate = kItems / best_dispatch;
  std::printf("dispatch queue: %d items from one worker to the UI thread (best of %d)\n", kItems,
              kRounds);
  std::printf(
      "baseline PostMessageW(int) = %.0f msg/s  dispatch = %.0f closures/s  "
      "ratio (time per closure / time per post) = %.2f\n",
      raw_rate, dispatch_rate, raw_rate / dispatch_rate);
  ::DestroyWindow(receiver);
  return 0;
}
