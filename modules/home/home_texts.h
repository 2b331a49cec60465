// The home module's texts in the fifteen languages.
#pragma once

#include "module_texts.h"

ModuleTexts& HomeTexts();
const TextRow* HomeTextRows(size_t* count);  // for the catalogue test
