// The platform commands that drive the standing progress dialog (entry 4 of the host's
// dialog table). Start runs on the main thread only; the rest on any thread.
#pragma once

#include "host/module_api.h"

void StartProgressCommand(TERObserveData1* record);
void NotifyProgressCommand(TERObserveData1* record);
void NotifyProgressFinishCommand(TERObserveData1* record);
void CancelProgressCommand(TERObserveData1* record);
void ChangeProgressLogoCommand(TERObserveData1* record);
