#include "shell/hot_keys.h"

#include "host/command_bus.h"

namespace {
struct HotKey {
  int identifier;
  UINT virtual_key;
  const char* command;
};

constexpr HotKey kHotKeys[] = {
    {kHotKeyScreenCapture, 'X', "LIBRECORDER_COMMAND_START_SCREEN_CAPTURE"},
    {kHotKeyStartRecording, 'C', "LIBRECORDER_COMMAND_START_SCREEN_RECORDER"},
    {kHotKeyStopRecording, 'Z', "LIBRECORDER_COMMAND_STOP_SCREEN_RECORDER"},
};
}  // namespace

void RegisterHotKeys(HWND window) {
  for (const HotKey& key : kHotKeys)
    ::RegisterHotKey(window, key.identifier, MOD_ALT | MOD_SHIFT, key.virtual_key);
}

void UnregisterHotKeys(HWND window) {
  for (const HotKey& key : kHotKeys) ::UnregisterHotKey(window, key.identifier);
}

const char* HotKeyCommand(int identifier) {
  for (const HotKey& key : kHotKeys)
    if (key.identifier == identifier) return key.command;
  return nullptr;
}

void SendHotKeyCommand(int identifier) {
  const char* command = HotKeyCommand(identifier);
  if (!command) return;
  TERObserveData1 record = {};
  record.name = command;
  SendCommand(&record);
}
