// The native build tests documents in memory only: it has no file store to save them to.
#include "terrace/user_defaults.h"

bool terrace::UserDefaults::Save() { return false; }
