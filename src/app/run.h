// The user-interface run: main frame, tray icon, hot keys and the message loop.
#pragma once

#include <windows.h>

// Returns the quit message's code, or 0 when the main frame cannot be created.
int Run(const wchar_t* command_line, int show_command);
