#include "dialogs/alert_layout.h"

#include <algorithm>

#include "app/startup_layout.h"

namespace {
constexpr int kSubTitleGap = 16;  // a fixed pixel gap, unscaled
}

AlertLayout LayoutAlert(const AlertInput& input) {
  const float scale = input.scale;
  const int gap = ScaleLength(10, scale);
  const int side = ScaleLength(20, scale);
  const int content_top = ScaleLength(40, scale);
  AlertLayout layout;

  int x = side;
  int icon_bottom = 0;
  if (input.has_icon) {
    const int width = ScaleLength(input.icon_pixels.cx, scale);
    const int height = ScaleLength(input.icon_pixels.cy, scale);
    layout.icon = {side, content_top, side + width, content_top + height};
    icon_bottom = layout.icon.bottom;
    x = 2 * side + width;
  }

  int y = content_top;
  if (input.sub_title.cx > 0 || input.sub_title.cy > 0) {
    layout.sub_title = {x, content_top, x + input.sub_title.cx, content_top + input.sub_title.cy};
    y = layout.sub_title.bottom + kSubTitleGap;
  }

  const int right = input.client.cx - side;
  const SIZE message =
      input.measure_message ? input.measure_message(std::max(0, right - x)) : SIZE{0, 0};
  // The measurement may narrow the rectangle to its longest line, never widen it.
  layout.message = {x, y, std::min(right, x + static_cast<int>(message.cx)), y + message.cy};

  layout.content_bottom = std::max(icon_bottom, static_cast<int>(layout.message.bottom));

  auto button_rows = [&](SIZE size, int right_edge) {
    RECT rect;
    rect.right = right_edge;
    rect.left = right_edge - size.cx;
    if (input.fit_to_content) {
      rect.top = layout.content_bottom + gap;
      rect.bottom = rect.top + size.cy;
    } else {
      rect.bottom = input.client.cy - gap;
      rect.top = rect.bottom - size.cy;
    }
    return rect;
  };
  layout.secondary = button_rows(input.secondary, input.client.cx - gap);
  const int anchor = input.has_secondary ? layout.secondary.left : input.client.cx;
  layout.primary = button_rows(input.primary, anchor - gap);
  layout.primary.top = layout.secondary.top;  // one row, even for buttons of unequal height
  layout.primary.bottom = layout.secondary.bottom;

  layout.content_bottom = layout.secondary.bottom + gap;
  layout.client_height = input.fit_to_content ? layout.content_bottom : input.client.cy;
  return layout;
}
