#include "shell/tray_menu.h"

#include <algorithm>

#include "shell/language.h"

POINT ClampIntoWorkArea(POINT point, const RECT& work_area) {
  point.x = std::max<LONG>(work_area.left, std::min<LONG>(point.x, work_area.right));
  return point;
}

UINT TrackTrayMenu(HWND owner) {
  POINT cursor = {};
  ::GetCursorPos(&cursor);
  HMENU menu = ::CreatePopupMenu();
  if (!menu) return 0;
  ::AppendMenuW(menu, MF_STRING, kTrayMenuShowWindow, Translate(L"show-window").c_str());
  ::AppendMenuW(menu, MF_STRING, kTrayMenuExit, Translate(L"exit").c_str());
  ::SetForegroundWindow(owner);

  if (!::MonitorFromPoint(cursor, MONITOR_DEFAULTTONULL)) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (::GetMonitorInfoW(::MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST), &monitor))
      cursor = ClampIntoWorkArea(cursor, monitor.rcWork);
  }
  const UINT chosen = static_cast<UINT>(
      ::TrackPopupMenu(menu, TPM_RETURNCMD, cursor.x, cursor.y, 0, owner, nullptr));
  ::DestroyMenu(menu);
  return chosen;
}
