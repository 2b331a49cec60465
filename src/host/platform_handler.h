// The host's one receiver for every platform command: a table from command name to the
// function that answers it. Adding a command is one entry in that table.
#pragma once

#include "host/module_api.h"

// Registered under every platform command name; names without an entry do nothing.
void PlatformHandler(TERObserveData1* record);
