// The sheet tip's geometry: its place under the owner's top edge, the slide-down steps and
// where the text and close button sit once it is fully down.
#pragma once

#include <windows.h>

constexpr int kSheetSlideSteps = 5;  // the tip grows by a fifth of its height per tick

struct SheetGeometry {
  int full_height = 0;
  RECT link = {};          // client coordinates
  POINT close = {};        // the close button's top-left
};

SheetGeometry SheetLayout(int width, float scale, SIZE close_button);
// The height after one slide tick; equal to `full_height` once there.
int SheetNextHeight(int height, int full_height);
// The tip's window rectangle under an owner whose window rectangle is `owner`.
RECT SheetPlacement(const RECT& owner, int top_offset, int height);
