#include "dialogs/sheet_layout.h"

#include <algorithm>

#include "app/startup_layout.h"

SheetGeometry SheetLayout(int width, float scale, SIZE close_button) {
  SheetGeometry geometry;
  geometry.full_height = ScaleLength(40, scale);
  const int left = ScaleLength(16, scale);
  const int top = ScaleLength(8, scale);
  geometry.link = {left, top, left + width - ScaleLength(20, scale),
                   top + geometry.full_height - ScaleLength(20, scale)};
  geometry.close = {width - ScaleLength(8, scale) - close_button.cx, ScaleLength(8, scale)};
  return geometry;
}

int SheetNextHeight(int height, int full_height) {
  if (height >= full_height) return full_height;
  const int step = std::max(1, full_height / kSheetSlideSteps);
  return std::min(full_height, height + step);
}

RECT SheetPlacement(const RECT& owner, int top_offset, int height) {
  const int top = owner.top + top_offset;
  return {owner.left, top, owner.right, top + height};
}
