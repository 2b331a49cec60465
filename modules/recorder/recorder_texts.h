// The recorder's texts in the fifteen languages (alerts, tips, the progress title).
#pragma once

#include "module_texts.h"

// The language is set once the module can ask the host for it.
ModuleTexts& RecorderTexts();
const TextRow* RecorderTextRows(size_t* count);  // for the catalogue test
