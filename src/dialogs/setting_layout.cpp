#include "dialogs/setting_layout.h"

#include "app/startup_layout.h"

SettingLayout LayoutSetting(const SettingInput& input) {
  auto scaled = [&](int n) { return ScaleLength(n, input.scale); };
  const int width = input.client.cx;
  const int height = input.client.cy;
  SettingLayout layout;

  layout.cancel = {width - scaled(10) - input.cancel.cx, height - scaled(10) - input.cancel.cy,
                   width - scaled(10), height - scaled(10)};
  const int ok_right = layout.cancel.left - scaled(10);
  layout.ok = {ok_right - input.ok.cx, layout.cancel.top, ok_right, layout.cancel.bottom};

  layout.caption = Gdiplus::RectF(static_cast<float>(scaled(30)),
                                  static_cast<float>(input.title_height + scaled(16)),
                                  input.section_title.Width, input.section_title.Height);
  layout.tab = layout.caption;
  layout.tab.Inflate(static_cast<float>(scaled(6)), static_cast<float>(scaled(6)));

  const float section_top = layout.tab.GetBottom();
  layout.section = Gdiplus::RectF(layout.tab.X, section_top,
                                  static_cast<float>(width - 2 * scaled(20)),
                                  static_cast<float>(layout.cancel.top) - section_top -
                                      static_cast<float>(scaled(30)));

  const float in_x = static_cast<float>(scaled(16));
  const float in_y = static_cast<float>(scaled(24));
  layout.frame = Gdiplus::RectF(layout.section.X + in_x, layout.section.Y + in_y,
                                layout.section.Width - 2 * in_x, layout.section.Height - 2 * in_y);

  layout.language_caption = Gdiplus::RectF(
      layout.frame.X + static_cast<float>(scaled(10)),
      layout.frame.Y - input.language_caption.Height / 2, input.language_caption.Width,
      input.language_caption.Height);
  layout.frame_corner = scaled(4);

  const int list_left = static_cast<int>(layout.frame.X + static_cast<float>(scaled(24)));
  const int list_top = static_cast<int>(
      (layout.frame.Height - static_cast<float>(scaled(22))) * 0.5f + layout.frame.Y);
  layout.list = {list_left, list_top, list_left + scaled(240), list_top + scaled(22)};
  return layout;
}
