// The tray icon's two-item menu.
#pragma once

#include <windows.h>

constexpr UINT kTrayMenuShowWindow = 10001;
constexpr UINT kTrayMenuExit = 10002;

// Shows the menu at the cursor, owned by `owner`; answers the chosen item or 0.
UINT TrackTrayMenu(HWND owner);
// A point on no monitor keeps its y and has its x pulled into `work_area`.
POINT ClampIntoWorkArea(POINT point, const RECT& work_area);
