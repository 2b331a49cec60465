// Start-up arithmetic: DPI scale, design lengths, the main frame's default place.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/design_scale.h"

constexpr int kMainFrameDesignWidth = 740;
constexpr int kMainFrameDesignHeight = 240;

// Centred on the screen when it fits; when larger it is shifted right and down by half the
// excess (the offsets are |screen − size| / 2), never to negative coordinates.
RECT MainFrameDefaultRect(float scale, int screen_width, int screen_height);
uint32_t WorkerThreadCount(uint32_t processors);
