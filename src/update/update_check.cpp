#include "update/update_check.h"

void StartAutomaticUpdateCheck(TERObserveData1*) {
  // The update client is not part of this build yet; the timer still fires once.
}
