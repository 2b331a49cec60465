// One running instance per logon session; a later start brings the first one forward.
#pragma once

#include <string>

constexpr unsigned kActivationMessage = 0x8002;  // WM_APP + 2, posted to the main frame

struct SingleInstanceNames {
  std::wstring mutex;
  std::wstring notify_event;
};
// "Global_" + display name + "_Mutex" / "_NotifyEvent"; the prefix is literal, so the
// objects live in the session's own namespace.
SingleInstanceNames MakeSingleInstanceNames(const std::wstring& display_name);

// The product's names; tests pass their own so they never meet a running product.
SingleInstanceNames ProductSingleInstanceNames();

bool IsFirstInstance(const SingleInstanceNames& names = ProductSingleInstanceNames());
void SignalFirstInstance(const SingleInstanceNames& names = ProductSingleInstanceNames());
bool StartActivationListener(const SingleInstanceNames& names = ProductSingleInstanceNames());
// Stops the listener (waiting at most 1000 ms) and closes every handle.
void StopActivationListener();
