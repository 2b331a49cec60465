// Small helpers shared by the window-layer tests.
#pragma once

#include <windows.h>

// Dispatches whatever is queued for this thread, without waiting.
inline void PumpPending() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

inline RECT MakeRect(int left, int top, int right, int bottom) {
  return RECT{left, top, right, bottom};
}
