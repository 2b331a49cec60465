// Small helpers of the controls' window procedures. A control used without a callback it
// needs does nothing and says so on the debugger's output, instead of throwing inside a window
// procedure.
#pragma once

#include <windows.h>

namespace vantorel {

// A mouse message's client point (signed: left of or above the window is negative).
inline POINT PointFromLParam(LPARAM lparam) {
  return POINT{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
}

inline void LogMisuse(const char* what) {
  ::OutputDebugStringA("Vantorel: ");
  ::OutputDebugStringA(what);
  ::OutputDebugStringA("\n");
}

}  // namespace vantorel
