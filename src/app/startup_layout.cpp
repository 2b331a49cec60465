#include "app/startup_layout.h"

#include <algorithm>
#include <cstdlib>

float DpiScaleFromLogPixels(int logical_pixels_per_inch) {
  return static_cast<float>(logical_pixels_per_inch) / 96.0f;
}

int ScaleLength(int design_length, float scale) {
  return static_cast<int>(static_cast<float>(design_length) * scale);
}

RECT MainFrameDefaultRect(float scale, int screen_width, int screen_height) {
  const int width = ScaleLength(kMainFrameDesignWidth, scale);
  const int height = ScaleLength(kMainFrameDesignHeight, scale);
  RECT rect;
  rect.left = std::abs(screen_width - width) / 2;
  rect.top = std::abs(screen_height - height) / 2;
  rect.right = rect.left + width;
  rect.bottom = rect.top + height;
  return rect;
}

uint32_t WorkerThreadCount(uint32_t processors) { return std::max<uint32_t>(processors, 4); }
