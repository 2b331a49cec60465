// The command bus: named commands delivered synchronously to registered receivers.
//
// The receiver table is built on the UI thread while the main frame is created and then
// opened; from then on it is read-only, so a send takes no lock and allocates nothing.
// Sends that race with the building phase (a module's worker thread, say) see the
// receivers registered so far.
#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "host/module_api.h"

class CommandBus {
 public:
  explicit CommandBus(TERModuleId host_id);
  CommandBus(const CommandBus&) = delete;
  CommandBus& operator=(const CommandBus&) = delete;

  // The process-wide bus of the host; its host id is the executable's instance handle.
  static CommandBus& Host();

  TERModuleId host_id() const { return host_id_; }

  // Appends `channel` to the receivers of `name` (a name listed twice is appended twice).
  // Refused, with an error in the log, once the table is open.
  bool Register(const char* name, ModuleChannel* channel);
  // Appends a host registration {no send, handler, host id}.
  bool RegisterHandler(const char* name, TERReceiveFunction handler);
  void Open();
  bool IsOpen() const { return open_.load(std::memory_order_acquire); }

  // Delivers `record` as it is: to the one `target` registration, or to every registration
  // of another module than the sender, in registration order. Sender 0 reaches nobody.
  void Deliver(TERObserveData1* record) const;

  // Number of registrations for `name` (for diagnostics and tests).
  size_t ReceiverCount(std::string_view name) const;

 private:
  using ReceiverList = std::vector<ModuleChannel*>;
  static void DeliverTo(const ModuleChannel* const* first, size_t count,
                        TERObserveData1* record);

  const TERModuleId host_id_;
  std::atomic<bool> open_{false};
  mutable std::mutex building_lock_;
  std::map<std::string, ReceiverList, std::less<>> receivers_;
};

// The host's own send: sets `sender` to the host id, then delivers.
void SendCommand(TERObserveData1* record);
// The send function modules get in their channel: delivers the record unchanged.
void ModuleSendCommand(TERObserveData1* record);
// Registers a host handler on the process-wide bus.
bool RegisterCommandHandler(const char* name, TERReceiveFunction handler);
