/* The module-author header must compile as plain C, layout checks included. */
#include "host/module_api.h"

int module_api_compiles_as_c(void) {
  TERObserveData1 record = {0};
  ModuleChannel channel = {0};
  record.name = "X";
  return (int)(sizeof(record) + sizeof(channel));
}
