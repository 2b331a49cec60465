// Small helpers shared by the window-layer tests.
#pragma once

#include <windows.h>

// Dispatches whatever is queued for this thread, without waiting.
void PumpPending();

// Runs a plain message pump until `done` turns true or `timeout_ms` passes; true if done.
bool PumpUntil(const bool& done, DWORD timeout_ms = 2000);

inline RECT MakeRect(int left, int top, int right, int bottom) {
  RECT rect = {left, top, right, bottom};
  return rect;
}
