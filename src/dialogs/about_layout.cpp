#include "dialogs/about_layout.h"

#include "app/startup_layout.h"

AboutLayout LayoutAbout(const AboutInput& input) {
  auto scaled = [&](int n) { return static_cast<float>(ScaleLength(n, input.scale)); };
  const int logo_size = ScaleLength(96, input.scale);
  const int logo_top = ScaleLength(28, input.scale);
  const float width = static_cast<float>(input.client.cx);
  AboutLayout layout;

  const int logo_left = (input.client.cx - logo_size) / 2;
  layout.logo = {logo_left, logo_top, logo_left + logo_size, logo_top + logo_size};
  layout.band_height = ScaleLength(196, input.scale);

  layout.name = Gdiplus::RectF(0, scaled(136), width, input.name_height);
  layout.version =
      Gdiplus::RectF(0, layout.name.GetBottom() + scaled(16), width, input.version_height);
  layout.more_info =
      Gdiplus::RectF(0, layout.version.GetBottom() + scaled(40), width, input.more_info_height);
  layout.rights =
      Gdiplus::RectF(0, layout.more_info.GetBottom() + scaled(40), width, input.rights_height);

  const int link_left = (input.client.cx - input.link.cx) / 2;
  const int link_top = static_cast<int>(layout.more_info.GetBottom() + scaled(8));
  layout.link = {link_left, link_top, link_left + input.link.cx, link_top + input.link.cy};
  return layout;
}
