#include "app/single_instance.h"

#include <windows.h>

#include "app/process_state.h"
#include "app/product_identity.h"

namespace {
HANDLE g_mutex = nullptr;
HANDLE g_notify_event = nullptr;
HANDLE g_stop_event = nullptr;
HANDLE g_listener = nullptr;

void CloseAndClear(HANDLE* handle) {
  if (*handle) ::CloseHandle(*handle);
  *handle = nullptr;
}

DWORD WINAPI ListenForActivation(void*) {
  const HANDLE waits[2] = {g_notify_event, g_stop_event};
  for (;;) {
    const DWORD woken = ::WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    if (woken != WAIT_OBJECT_0) return 0;  // stop event, or the wait failed
    // Before the frame exists this posts to nobody and the request is lost.
    ::PostMessageW(MainWindowHandle(), kActivationMessage, 0, 0);
    ::ResetEvent(g_notify_event);
  }
}
}  // namespace

SingleInstanceNames MakeSingleInstanceNames(const std::wstring& display_name) {
  const std::wstring base = L"Global_" + display_name;
  return {base + L"_Mutex", base + L"_NotifyEvent"};
}

SingleInstanceNames ProductSingleInstanceNames() {
  return MakeSingleInstanceNames(ProductDisplayNameWide());
}

bool IsFirstInstance(const SingleInstanceNames& names) {
  // One atomic step: between a failed open and a create, a second process could have made
  // the mutex too, and both would take themselves for the first.
  HANDLE mutex = ::CreateMutexW(nullptr, TRUE, names.mutex.c_str());
  const DWORD error = ::GetLastError();
  if (error == ERROR_ALREADY_EXISTS || (!mutex && error == ERROR_ACCESS_DENIED)) {
    if (mutex) ::CloseHandle(mutex);
    return false;  // held by a process of ours, or of another user in this session
  }
  g_mutex = mutex;
  g_notify_event = ::CreateEventW(nullptr, TRUE, FALSE, names.notify_event.c_str());
  return true;
}

void SignalFirstInstance(const SingleInstanceNames& names) {
  if (HANDLE event = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, names.notify_event.c_str())) {
    ::SetEvent(event);
    ::CloseHandle(event);
  }
}

bool StartActivationListener(const SingleInstanceNames& names) {
  // Opens the event made by IsFirstInstance; this handle is the one kept from now on.
  HANDLE notify = ::CreateEventW(nullptr, TRUE, FALSE, names.notify_event.c_str());
  CloseAndClear(&g_notify_event);
  g_notify_event = notify;
  g_stop_event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!g_notify_event || !g_stop_event) return false;
  g_listener = ::CreateThread(nullptr, 0, &ListenForActivation, nullptr, 0, nullptr);
  return g_listener != nullptr;
}

void StopActivationListener() {
  if (g_stop_event) ::SetEvent(g_stop_event);
  if (g_listener) {
    ::WaitForSingleObject(g_listener, 1000);
    CloseAndClear(&g_listener);
  }
  CloseAndClear(&g_notify_event);
  CloseAndClear(&g_stop_event);
  CloseAndClear(&g_mutex);
}
