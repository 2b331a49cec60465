#include "dialogs/progress_layout.h"

#include "app/startup_layout.h"

ProgressLayout LayoutProgress(const ProgressInput& input) {
  const float scale = input.scale;
  const int cx = input.dialog.cx;
  const int cy = input.dialog.cy;
  const int side = ScaleLength(20, scale);
  const int logo_gap = ScaleLength(12, scale);
  ProgressLayout layout;

  const int expander_bottom = cy - ScaleLength(2, scale);
  const int expander_left = (cx - input.expander.cx) / 2;
  layout.expander = {expander_left, expander_bottom - input.expander.cy,
                     expander_left + input.expander.cx, expander_bottom};

  const int buttons_bottom = layout.expander.top - ScaleLength(10, scale);
  layout.cancel = {cx - side - input.cancel.cx, buttons_bottom - input.cancel.cy, cx - side,
                   buttons_bottom};
  const int open_right = layout.cancel.left - side;
  layout.open_folder = {open_right - input.open_folder.cx, layout.cancel.top, open_right,
                        layout.cancel.bottom};

  int bar_left = side;
  if (input.has_logo) {
    const int width = ScaleLength(input.logo_pixels.cx, scale);
    const int height = ScaleLength(input.logo_pixels.cy, scale);
    const int top = ScaleLength(44, scale);
    layout.logo = {logo_gap, top, logo_gap + width, top + height};
    bar_left = width + 2 * logo_gap;
  }
  const int bar_top = ScaleLength(70, scale);
  layout.bar = {bar_left, bar_top, cx - side, bar_top + logo_gap};
  layout.text = {layout.bar.left, 0, layout.bar.right, layout.bar.top};
  layout.bar_fill = {layout.bar.left + ScaleLength(4, scale), layout.bar.top + ScaleLength(2, scale),
                     layout.bar.right - ScaleLength(4, scale),
                     layout.bar.bottom - ScaleLength(2, scale)};
  layout.description_top = ScaleLength(50, scale);
  layout.details_height = ScaleLength(160, scale);
  return layout;
}

int ProgressDescriptionRight(int content_right, int count_width, float scale) {
  return content_right - count_width - ScaleLength(40, scale);
}
