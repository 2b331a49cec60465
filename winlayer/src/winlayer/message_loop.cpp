#include "winlayer/message_loop.h"

#include <algorithm>

template <class T>
BOOL CMessageLoop::Registry<T>::Add(T* item) {
  if (!item) return FALSE;
  items.push_back(item);
  return TRUE;
}

template <class T>
BOOL CMessageLoop::Registry<T>::Remove(T* item) {
  auto found = std::find(items.begin(), items.end(), item);
  if (!item || found == items.end()) return FALSE;
  if (passes > 0) {
    // Erasing would shift the entries a running pass is about to visit.
    *found = nullptr;
    holes = true;
  } else {
    items.erase(found);
  }
  return TRUE;
}

template <class T>
void CMessageLoop::Registry<T>::EndPass() {
  if (--passes == 0 && holes) {
    items.erase(std::remove(items.begin(), items.end(), nullptr), items.end());
    holes = false;
  }
}

BOOL CMessageLoop::AddMessageFilter(CMessageFilter* filter) { return filters_.Add(filter); }
BOOL CMessageLoop::RemoveMessageFilter(CMessageFilter* filter) {
  return filters_.Remove(filter);
}
BOOL CMessageLoop::AddIdleHandler(CIdleHandler* handler) { return idle_handlers_.Add(handler); }
BOOL CMessageLoop::RemoveIdleHandler(CIdleHandler* handler) {
  return idle_handlers_.Remove(handler);
}

int CMessageLoop::Run() {
  bool idle_allowed = true;
  int idle_count = 0;
  for (;;) {
    while (idle_allowed && !::PeekMessageW(&m_msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(idle_count++)) idle_allowed = false;
    }
    const BOOL got = ::GetMessageW(&m_msg, nullptr, 0, 0);
    if (got == -1) continue;
    if (!got) break;
    if (!PreTranslateMessage(&m_msg)) {
      ::TranslateMessage(&m_msg);
      ::DispatchMessageW(&m_msg);
    }
    if (IsIdleMessage(&m_msg)) {
      idle_allowed = true;
      idle_count = 0;
    }
  }
  return static_cast<int>(m_msg.wParam);
}

BOOL CMessageLoop::OnIdle(int /*idle_count*/) {
  ++idle_handlers_.passes;
  const size_t count = idle_handlers_.items.size();  // handlers added now wait for next time
  for (size_t i = 0; i < count; ++i) {
    if (CIdleHandler* handler = idle_handlers_.items[i]) handler->OnIdle();
  }
  idle_handlers_.EndPass();
  return FALSE;
}

BOOL CMessageLoop::PreTranslateMessage(MSG* msg) {
  ++filters_.passes;
  BOOL handled = FALSE;
  for (size_t i = filters_.items.size(); i > 0 && !handled; --i) {
    if (CMessageFilter* filter = filters_.items[i - 1]) handled = filter->PreTranslateMessage(msg);
  }
  filters_.EndPass();
  return handled;
}

BOOL CMessageLoop::IsIdleMessage(MSG* msg) {
  switch (msg->message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_PAINT:
    case 0x0118:  // WM_SYSTIMER: caret blink
      return FALSE;
    default:
      return TRUE;
  }
}
