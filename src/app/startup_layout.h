// Start-up arithmetic: DPI scale, design lengths, the main frame's default place.
#pragma once

#include <windows.h>

#include <cstdint>

constexpr int kMainFrameDesignWidth = 740;
constexpr int kMainFrameDesignHeight = 240;

float DpiScaleFromLogPixels(int logical_pixels_per_inch);
// A design length in device pixels: trunc(length × scale).
int ScaleLength(int design_length, float scale);
// Centred on the screen when it fits; when larger it is shifted right and down by half the
// excess (the offsets are |screen − size| / 2), never to negative coordinates.
RECT MainFrameDefaultRect(float scale, int screen_width, int screen_height);
uint32_t WorkerThreadCount(uint32_t processors);
