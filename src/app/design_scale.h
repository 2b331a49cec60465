// Design lengths and the DPI scale: plain arithmetic, shared by every layout.
#pragma once

float DpiScaleFromLogPixels(int logical_pixels_per_inch);
// A design length in device pixels: trunc(length × scale).
int ScaleLength(int design_length, float scale);
