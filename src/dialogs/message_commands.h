// The platform commands that open message dialogs. Alerts and link alerts always run later
// on the main thread; a confirm runs at once on the main thread and answers in `value`, and
// from any other thread runs later and answers through the callback in `object`.
#pragma once

#include <windows.h>

#include <string>

#include "host/module_api.h"

void OpenAlertMessageCommand(TERObserveData1* record);
void OpenConfirmMessageCommand(TERObserveData1* record);
void OpenLinkAlertMessageCommand(TERObserveData1* record);

// Runs an alert (one button) or a confirm (two) modally, fitted to its message; the end code.
int RunMessageDialog(const std::wstring& message, int width, bool confirm);

// Narrower or lower dialogs could not show their buttons, and a modal dialog that cannot be
// closed blocks the program.
SIZE BoundedMessageDialogSize(int width, int height, float scale);
