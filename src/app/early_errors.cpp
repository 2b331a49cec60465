#include "app/early_errors.h"

#include <glog/logging.h>

#include <mutex>

namespace {
std::mutex g_lock;
bool g_log_open = false;

std::vector<std::string>& Kept() {
  static auto* kept = new std::vector<std::string>();
  return *kept;
}
}  // namespace

void LogError(const std::string& message) {
  std::lock_guard<std::mutex> lock(g_lock);
  if (g_log_open) {
    LOG(ERROR) << message;
    return;
  }
  Kept().push_back(message);
}

void WriteEarlyErrors() {
  std::lock_guard<std::mutex> lock(g_lock);
  for (const std::string& message : Kept()) LOG(ERROR) << message;
  Kept().clear();
  g_log_open = true;
}

std::vector<std::string> KeptErrors() {
  std::lock_guard<std::mutex> lock(g_lock);
  return Kept();
}
