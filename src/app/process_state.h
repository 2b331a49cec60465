// Process-wide values set during start-up and read everywhere afterwards.
#pragma once

#include <windows.h>

// Horizontal logical pixels per inch / 96; 1.0 until Run measures the screen.
float DpiScale();
void SetDpiScale(float scale);

// The main frame's window: target of the activation message, tray icon and hot keys.
HWND MainWindowHandle();
void SetMainWindowHandle(HWND window);

// glog is shut down at most once, by shutdown or by the crash-warning path.
// Returns true when this call did it.
bool ShutDownLoggingOnce();
bool LoggingShutDown();

// Set as the very last step of shutdown; a crash after it warns nobody.
void MarkTeardownFinished();
bool TeardownFinished();
