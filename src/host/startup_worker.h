// One thread that makes, while the window is built, what its first look-ups will ask for.
#pragma once

#include <system_error>
#include <thread>

class StartupWorker {
 public:
  // Runs `work` on the worker unless it ran already. With no thread to spare nothing runs,
  // and what it would have made is made on its first look-up instead.
  void Start(void (*work)()) {
    if (thread_.joinable()) return;
    try {
      thread_ = std::thread(work);
    } catch (const std::system_error&) {
    }
  }
  // Waits for the work: before what it uses (GDI+) shuts down.
  void Finish() {
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::thread thread_;
};
