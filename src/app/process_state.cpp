#include "app/process_state.h"

#include <glog/logging.h>

#include <atomic>

namespace {
std::atomic<float> g_dpi_scale{1.0f};
std::atomic<HWND> g_main_window{nullptr};
std::atomic<bool> g_logging_shut_down{false};
std::atomic<bool> g_teardown_finished{false};
}  // namespace

float DpiScale() { return g_dpi_scale.load(std::memory_order_relaxed); }
void SetDpiScale(float scale) { g_dpi_scale.store(scale, std::memory_order_relaxed); }

HWND MainWindowHandle() { return g_main_window.load(std::memory_order_acquire); }
void SetMainWindowHandle(HWND window) { g_main_window.store(window, std::memory_order_release); }

bool ShutDownLoggingOnce() {
  if (g_logging_shut_down.exchange(true)) return false;
  google::ShutdownGoogleLogging();
  return true;
}

bool LoggingShutDown() { return g_logging_shut_down.load(); }

void MarkTeardownFinished() { g_teardown_finished.store(true); }
bool TeardownFinished() { return g_teardown_finished.load(); }
