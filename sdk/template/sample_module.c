/* A minimal module: answers one command of its own and asks the host for a service.
 *
 *   SAMPLE_COMMAND_HELLO   answers `text` = "Hello from <product name>" (malloc'ed; the
 *                          sender frees it) and `value` = the number of greetings so far.
 *
 * Copy this folder, rename the command family and the module id, and grow it from here.
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "host/module_api.h"

static ModuleChannel* g_channel = NULL;
static long g_greetings = 0;

/* Asks the host for its product name. The answer is a fresh copy that we must free. */
static char* ProductName(void) {
  TERObserveData1 record;
  memset(&record, 0, sizeof(record));
  record.name = "LIBPLATFORM_COMMAND_GET_PRODUCT_ALIAS";
  record.sender = g_channel->id;
  g_channel->send(&record);
  return record.text; /* null when nobody answered */
}

static void Hello(TERObserveData1* record) {
  char* product = ProductName();
  const char* who = product ? product : "the host";
  size_t size = strlen("Hello from ") + strlen(who) + 1;
  char* answer = (char*)malloc(size);
  if (answer) snprintf(answer, size, "Hello from %s", who);
  free(product);
  record->text = answer; /* ownership passes to the sender */
  record->value = ++g_greetings;
}

/* Called on the sender's thread for every command named in "command-recv". */
static void Receive(TERObserveData1* record) {
  if (!record || !record->name) return;
  if (strcmp(record->name, "SAMPLE_COMMAND_HELLO") == 0) Hello(record);
}

TER_MODULE_EXPORT int RegisterModule(ModuleChannel* channel) {
  g_channel = channel; /* lives as long as the process */
  channel->receive = &Receive;
  return 1;
}
