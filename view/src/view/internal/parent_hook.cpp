#include "view/internal/parent_hook.h"

#include <algorithm>
#include <vector>

#include "winlayer/thunk.h"

namespace vantorel {

struct ParentHook::Record {
  HWND parent;
  WNDPROC previous;
  ParentHookListener* listener;  // null once the hook is only a forwarder
  CWndProcThunk stub;
};

namespace {

// Every record still in some window's chain, so that a hook removed from the middle of a
// chain of ours can be spliced out instead of left behind.
SRWLOCK g_records_lock = SRWLOCK_INIT;
std::vector<ParentHook::Record*>& Records() {
  static auto* records = new std::vector<ParentHook::Record*>();
  return *records;
}

}  // namespace

LRESULT CALLBACK ParentHook::Forward(HWND self, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* record = reinterpret_cast<Record*>(self);
  const HWND parent = record->parent;
  const WNDPROC previous = record->previous;
  if (record->listener) record->listener->OnParentMessage(parent, message, wparam);
  // The parent may destroy the shadow, and with it this record, in the call below.
  return ::CallWindowProcW(previous, parent, message, wparam, lparam);
}

bool ParentHook::Install(HWND parent, ParentHookListener* listener) {
  Remove();
  DWORD process = 0;
  if (!::GetWindowThreadProcessId(parent, &process) || process != ::GetCurrentProcessId()) {
    return false;  // no window, or one whose procedure lives in another process
  }
  auto* record = new Record{parent, nullptr, listener, {}};
  if (!record->stub.Init(&Forward, record)) {
    delete record;
    return false;
  }
  AcquireSRWLockExclusive(&g_records_lock);
  record->previous = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(parent, GWLP_WNDPROC));
  const bool hooked = record->previous &&
                      ::SetWindowLongPtrW(parent, GWLP_WNDPROC,
                                          reinterpret_cast<LONG_PTR>(record->stub.GetWNDPROC()));
  if (hooked) Records().push_back(record);
  ReleaseSRWLockExclusive(&g_records_lock);
  if (!hooked) {
    delete record;
    return false;
  }
  record_ = record;
  return true;
}

void ParentHook::Remove() {
  Record* record = record_;
  if (!record) return;
  record_ = nullptr;
  const auto stub = reinterpret_cast<WNDPROC>(record->stub.GetWNDPROC());
  AcquireSRWLockExclusive(&g_records_lock);
  record->listener = nullptr;
  std::vector<Record*>& records = Records();
  bool unlinked = false;
  if (!::IsWindow(record->parent)) {
    unlinked = true;  // no window left that could call the stub
  } else if (::GetWindowLongPtrW(record->parent, GWLP_WNDPROC) ==
             reinterpret_cast<LONG_PTR>(stub)) {
    ::SetWindowLongPtrW(record->parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->previous));
    unlinked = true;
  } else {
    // Under another hook of ours: that one calls our previous procedure from now on.
    for (Record* above : records) {
      if (above->previous == stub) {
        above->previous = record->previous;
        unlinked = true;
        break;
      }
    }
  }
  // Otherwise a foreign hook holds our stub as its previous procedure: the record stays, for
  // good, as a plain forwarder.
  if (unlinked) records.erase(std::find(records.begin(), records.end(), record));
  ReleaseSRWLockExclusive(&g_records_lock);
  if (unlinked) delete record;
}

}  // namespace vantorel
