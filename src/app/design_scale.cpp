#include "app/design_scale.h"

float DpiScaleFromLogPixels(int logical_pixels_per_inch) {
  return static_cast<float>(logical_pixels_per_inch) / 96.0f;
}

int ScaleLength(int design_length, float scale) {
  return static_cast<int>(static_cast<float>(design_length) * scale);
}
