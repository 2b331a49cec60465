/* A module that imports from a DLL shipped beside it. */
#include "host/module_api.h"

__declspec(dllimport) int ProbeDepValue(void);

static void Receive(TERObserveData1* record) { record->value = ProbeDepValue(); }

TER_MODULE_EXPORT int RegisterModule(ModuleChannel* channel) {
  channel->receive = &Receive;
  return 1;
}

TER_MODULE_EXPORT int DependencyValue(void) { return ProbeDepValue(); }
