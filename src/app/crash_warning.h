// The modal warning shown after a crash report was made.
#pragma once

#include <string>

// Shows `text` modally on the calling thread, parented to that thread's active window (the
// reporter's thread has none, which keeps the crashed user-interface thread out of it).
// Returns when the user closes it, whatever was pressed.
void ShowCrashWarning(const std::wstring& text);
