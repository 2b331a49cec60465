#include "home_layout.h"

namespace {
// Design lengths at scale 1.
constexpr int kTitleHeight = 40;
constexpr int kIconButton = 28;
constexpr int kIconGap = 4;
constexpr int kGroupGap = 16;   // between the app buttons and the window buttons
constexpr int kEdge = 8;
constexpr int kNameLeft = 16;
constexpr int kActionGap = 12;
constexpr int kStatusGap = 18;
constexpr int kStatusHeight = 24;
}  // namespace

int HomeScale(int length, float scale) { return static_cast<int>(length * scale); }

HomeLayout LayoutHome(const HomeLayoutInput& in) {
  auto s = [&](int length) { return HomeScale(length, in.scale); };
  HomeLayout out = {};
  const int title = s(kTitleHeight);
  out.title_band = {0, 0, in.width, title};

  // Window buttons from the right edge, then the application's own after a wider gap.
  const int size = s(kIconButton);
  const int top = (title - size) / 2;
  int right = in.width - s(kEdge);
  for (int i = kTitleButtonCount - 1; i >= 0; --i) {
    out.title_buttons[i] = {right - size, top, right, top + size};
    right -= size + (i == kMinimizeButton ? s(kGroupGap) : s(kIconGap));
  }
  out.product_name = {s(kNameLeft), 0, out.title_buttons[kSettingsButton].left - s(kGroupGap),
                      title};
  if (out.product_name.right < out.product_name.left) out.product_name.right = out.product_name.left;

  // The actions in one centred row in the body, the status line under them.
  int row_width = 0;
  int row_height = 0;
  for (const SIZE& button : in.actions) {
    row_width += button.cx;
    if (button.cy > row_height) row_height = button.cy;
  }
  row_width += s(kActionGap) * (kActionButtonCount - 1);
  const int body_height = in.height - title;
  const int block = row_height + s(kStatusGap) + s(kStatusHeight);
  const int row_top = title + (body_height - block) / 2;
  int x = (in.width - row_width) / 2;
  for (int i = 0; i < kActionButtonCount; ++i) {
    const SIZE& button = in.actions[i];
    const int y = row_top + (row_height - button.cy) / 2;
    out.actions[i] = {x, y, x + button.cx, y + button.cy};
    x += button.cx + s(kActionGap);
  }
  const int status_top = row_top + row_height + s(kStatusGap);
  out.status = {s(kEdge), status_top, in.width - s(kEdge), status_top + s(kStatusHeight)};
  return out;
}
