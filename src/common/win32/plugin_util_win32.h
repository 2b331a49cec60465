// Loads one module: picks its best loadable version, calls its RegisterModule and enters
// it in the module table with its receive names on the bus.
#pragma once

#include <string>

struct ModuleRecord;

// `folder` is the module's folder (UTF-8, ending with "\"). Answers the new record, or null
// when the module is loaded already or no version could be loaded.
const ModuleRecord* LoadModule(const std::string& folder);
