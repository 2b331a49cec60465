#include "view/graphics_helper.h"

#include <algorithm>

void CGraphicsHelper::StretchWidthImage(Gdiplus::Graphics* graphics, Gdiplus::Image* image,
                                        Gdiplus::Rect& rect, int cap) {
  if (!graphics || !image || rect.Width <= 0 || cap <= 0) return;
  const INT image_width = static_cast<INT>(image->GetWidth());
  const INT image_height = static_cast<INT>(image->GetHeight());
  const INT middle = image_width - 2 * cap;

  graphics->DrawImage(image, Gdiplus::Rect(rect.X, rect.Y, cap, image_height), 0, 0, cap,
                      image_height, Gdiplus::UnitPixel);

  INT x = rect.X + cap;
  INT remaining = rect.Width - 2 * cap;
  if (middle > 0) {
    INT piece = std::min(middle, remaining);
    do {
      // A rectangle narrower than the caps leaves no room; a negative width would mirror.
      if (piece > 0) {
        graphics->DrawImage(image, Gdiplus::Rect(x, rect.Y, piece, image_height), cap, 0, middle,
                            image_height, Gdiplus::UnitPixel);
      }
      x += piece;
      remaining -= piece;
      piece = std::min(remaining, piece);
    } while (remaining > 0);
  } else {
    // No middle slice to tile (the image is only caps): tiling it would never advance.
    x += remaining;
  }

  graphics->DrawImage(image, Gdiplus::Rect(x, rect.Y, cap, image_height), image_width - cap, 0, cap,
                      image_height, Gdiplus::UnitPixel);
}
