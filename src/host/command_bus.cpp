#include "host/command_bus.h"

#include <glog/logging.h>

#include <cstdlib>

CommandBus::CommandBus(TERModuleId host_id) : host_id_(host_id) {}

CommandBus& CommandBus::Host() {
  static CommandBus bus(::GetModuleHandleW(nullptr));
  return bus;
}

bool CommandBus::Register(const char* name, ModuleChannel* channel) {
  if (!name || !channel) return false;
  std::lock_guard<std::mutex> lock(building_lock_);
  if (IsOpen()) {
    LOG(ERROR) << "Command registration after start-up refused: " << name;
    return false;
  }
  auto found = receivers_.find(std::string_view(name));
  if (found == receivers_.end()) found = receivers_.emplace(name, ReceiverList()).first;
  found->second.push_back(channel);
  return true;
}

bool CommandBus::RegisterHandler(const char* name, TERReceiveFunction handler) {
  // Host registrations live as long as the process, like the modules' channels.
  auto* channel = static_cast<ModuleChannel*>(std::calloc(1, sizeof(ModuleChannel)));
  if (!channel) return false;
  channel->receive = handler;
  channel->id = host_id_;
  if (!Register(name, channel)) {
    std::free(channel);
    return false;
  }
  return true;
}

void CommandBus::Open() {
  std::lock_guard<std::mutex> lock(building_lock_);
  open_.store(true, std::memory_order_release);
}

void CommandBus::DeliverTo(const ModuleChannel* const* first, size_t count,
                           TERObserveData1* record) {
  const TERModuleId target = record->target;
  const TERModuleId sender = record->sender;
  for (size_t i = 0; i < count; ++i) {
    const ModuleChannel* channel = first[i];
    if (target) {
      if (channel->id != target) continue;
      // A module that never filled in its receive function is skipped, not called.
      if (channel->receive) channel->receive(record);
      return;
    }
    if (channel->id == sender || !channel->receive) continue;
    channel->receive(record);
  }
}

void CommandBus::Deliver(TERObserveData1* record) const {
  if (!record || !record->sender || !record->name) return;
  const std::string_view name(record->name);
  if (IsOpen()) {
    auto found = receivers_.find(name);
    if (found == receivers_.end()) return;
    DeliverTo(found->second.data(), found->second.size(), record);
    return;
  }
  // Still being built: deliver to a snapshot so registrations made meanwhile (even by a
  // receiver) can't pull the list from under us.
  ReceiverList snapshot;
  {
    std::lock_guard<std::mutex> lock(building_lock_);
    auto found = receivers_.find(name);
    if (found == receivers_.end()) return;
    snapshot = found->second;
  }
  DeliverTo(snapshot.data(), snapshot.size(), record);
}

size_t CommandBus::ReceiverCount(std::string_view name) const {
  std::lock_guard<std::mutex> lock(building_lock_);
  auto found = receivers_.find(name);
  return found == receivers_.end() ? 0 : found->second.size();
}

void SendCommand(TERObserveData1* record) {
  if (!record) return;
  CommandBus& bus = CommandBus::Host();
  record->sender = bus.host_id();
  bus.Deliver(record);
}

void ModuleSendCommand(TERObserveData1* record) { CommandBus::Host().Deliver(record); }

bool RegisterCommandHandler(const char* name, TERReceiveFunction handler) {
  return CommandBus::Host().RegisterHandler(name, handler);
}
