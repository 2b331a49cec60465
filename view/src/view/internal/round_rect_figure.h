// Corner boxes of the library's rounded-rectangle figure (integer arcs).
#pragma once

#include <array>

namespace vantorel {

struct ArcBox {
  int x;
  int y;
  int size;
  float start_angle;
};

// The four corners clockwise from the top-left. A diameter of exactly 20 gives the last three
// corners a box of 21 and shrinks the figure by one, the shape the controls were drawn with.
inline std::array<ArcBox, 4> RoundRectArcs(float x, float y, float width, float height,
                                           int diameter) {
  int d = diameter;
  if (static_cast<float>(d) > width) d = static_cast<int>(width);
  if (static_cast<float>(d) > height) d = static_cast<int>(height);
  const int left = static_cast<int>(x);
  const int top = static_cast<int>(y);
  int box = d;
  if (d == 20) {
    box = 21;
    width -= 1.0f;
    height -= 1.0f;
  }
  const float span = width - static_cast<float>(d) - 1.0f;
  const int right = static_cast<int>(static_cast<float>(left) + span);
  const int bottom =
      static_cast<int>(height - static_cast<float>(d) - 1.0f + static_cast<float>(top));
  return {{{left, top, d, 180.0f},
           {right, top, box, 270.0f},
           {right, bottom, box, 0.0f},
           {static_cast<int>(static_cast<float>(right) - span), bottom, box, 90.0f}}};
}

}  // namespace vantorel
