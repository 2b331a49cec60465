// A module for tests: logs every command it receives and answers a few probe commands.
// Tests reach its state through the exported Probe* functions.
#include <cstdio>
#include <string>

#include "host/module_api.h"

namespace {
ModuleChannel* g_channel = nullptr;
std::string g_log;
bool g_create_child = false;
HWND g_child = nullptr;

void Append(const TERObserveData1* record) {
  char window[32];
  std::snprintf(window, sizeof(window), "%p", static_cast<void*>(record->window));
  g_log += std::string(record->name) + "|" + (record->text ? record->text : "") + "|" + window +
           "\n";
}

void Receive(TERObserveData1* record) {
  Append(record);
  const std::string name = record->name;
  if (name == "PROBE_PING") {
    ++record->value;
  } else if (name == "PROBE_CREATE" && g_create_child && record->window) {
    g_child = ::CreateWindowExW(0, L"STATIC", L"probe", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                record->window, nullptr, nullptr, nullptr);
    record->window = g_child;
  }
}
}  // namespace

TER_MODULE_EXPORT int RegisterModule(ModuleChannel* channel) {
  g_channel = channel;
  channel->receive = &Receive;
#ifdef PROBE_SEND_ON_REGISTER
  TERObserveData1 record = {};
  record.name = "PROBE_PING";
  record.sender = channel->id;
  channel->send(&record);
  g_log += "register-ping-answers:" + std::to_string(record.value) + "\n";
#endif
  return 1;
}

TER_MODULE_EXPORT const char* ProbeLog() { return g_log.c_str(); }
TER_MODULE_EXPORT void ProbeClear() { g_log.clear(); }
TER_MODULE_EXPORT ModuleChannel* ProbeChannel() { return g_channel; }
TER_MODULE_EXPORT void ProbeCreateChild(int enable) { g_create_child = enable != 0; }

// Sends `name` from this module to `target` (0 = broadcast); answers the record's value.
TER_MODULE_EXPORT int64_t ProbeSend(const char* name, TERModuleId target) {
  TERObserveData1 record = {};
  record.name = name;
  record.sender = g_channel->id;
  record.target = target;
  g_channel->send(&record);
  return record.value;
}
