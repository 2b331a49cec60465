#include "app/startup_layout.h"

#include <algorithm>
#include <cstdlib>

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
