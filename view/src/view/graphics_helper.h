// Drawing of three-slice images (left cap, tiled middle, right cap).
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include "view/vantorel_export.h"

class VANTOREL_API CGraphicsHelper {
 public:
  // Spreads `image` across `rect`'s width at the image's natural height, from rect's top: the
  // left and right `cap` pixels drawn once, the middle repeated at its natural width and the
  // last repeat squeezed into what is left. Nothing without an image, width or cap.
  void StretchWidthImage(Gdiplus::Graphics* graphics, Gdiplus::Image* image, Gdiplus::Rect& rect,
                         int cap);
};
