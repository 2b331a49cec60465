// The modal warning shown after a crash report was made.
#pragma once

#include <string>

// The alert with `text` and an "open" button, run modally on the calling thread with that
// thread's active window as parent: the reporter's thread has none, which keeps the crashed
// user-interface thread out of it. Returns when the user closes it, whatever was pressed.
void ShowCrashWarning(const std::wstring& text);
