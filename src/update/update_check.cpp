#include "update/update_check.h"

void StartAutomaticUpdateCheck(TERObserveData1*) {
  // The update client is not part of this build yet; the timer still fires once.
}

void StartRequestedUpdateCheck(TERObserveData1*) {
  // Answered by the update client once it is part of the build.
}
