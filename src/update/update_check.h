// The update check: started in the background two seconds after the main window appears.
#pragma once

#include "host/module_api.h"

// `record` carries the view in `window`, the owner of any window the check opens.
void StartAutomaticUpdateCheck(TERObserveData1* record);
// "LIBPLATFORM_COMMAND_CHECK_FOR_UPDATE": a check the user asked for; `record` carries the
// view in `window`.
void StartRequestedUpdateCheck(TERObserveData1* record);
