// Saves a 32-bit top-down picture as PNG through the Windows Imaging Component.
#pragma once

#include <cstdint>

#include "output_file.h"

// Writes through `file` (whose Commit the caller makes); COM must be initialised on the
// calling thread. False when encoding or writing failed; `file.error()` says which.
bool WritePng(const uint8_t* pixels, int width, int height, int stride, OutputFile* file);
