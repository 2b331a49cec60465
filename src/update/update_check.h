// The update flow: check (asked or in the background), the list of what is new, the
// download with its progress, and the hand-over to the installer. The network work runs on
// the worker pool; every result comes back to the main thread, where the dialogs live.
#pragma once

#include "host/module_api.h"

// Timer 2 and "LIBPLATFORM_COMMAND_CHECK_FOR_UPDATE". `record->value` non-zero: the user
// asked, so every outcome is reported; 0: a background check that reports only a find, by
// the sheet tip. A known update only shows its list again; a check or a download already
// under way makes the call do nothing. Safe from any thread: off the main thread it is
// queued there. `record->window` holds the view, owner of what the check opens.
void StartAutomaticUpdateCheck(TERObserveData1* record);
void StartRequestedUpdateCheck(TERObserveData1* record);
