// The list view's arithmetic: the rows an owner should have ready after a scroll, row
// colours and the photo cell, as plain values.
#pragma once

#include <windows.h>

#include <algorithm>

namespace vantorel {

constexpr COLORREF kListRowColor = 0xFFFFFF;
constexpr COLORREF kListSecondColor = 0xF5F5F5;
constexpr COLORREF kListSelectedColor = 0xEEDBA1;
constexpr COLORREF kListHoverColor = 0xF5ECCD;
constexpr COLORREF kListStripeColor = 0xFAFAFA;
constexpr COLORREF kListGridColor = 0xDCDCDC;

inline int ScaleLength(int length, float scale) {
  return static_cast<int>(static_cast<float>(length) * scale);
}

struct RowScope {
  int first;
  int last;
};

// From a page above the scroll position to three pages below it, clamped to the rows.
inline RowScope ScrollScope(int position, int page, int rows) {
  const int first = std::max(position - page, 0);
  int last = position + 3 * page;
  if (last >= rows) last = rows - 1;
  return {first, last};
}

struct RowLook {
  int row;
  bool selected;
  bool hovered;
  bool stripes;
};

// Selection beats hover, hover beats stripes (odd rows).
inline COLORREF RowBackground(const RowLook& look, COLORREF row_color) {
  if (look.selected) return kListSelectedColor;
  if (look.hovered) return kListHoverColor;
  if (look.stripes && look.row % 2 == 1) return kListStripeColor;
  return row_color;
}

struct PhotoSize {
  int width;
  int height;
};

// The photo fills the cell's height less a 2-pixel (scaled) margin above and below, never
// more than its own scaled height, keeping its aspect ratio; a photo too wide for the cell is
// drawn square.
inline PhotoSize PhotoCellSize(int cell_width, int cell_height, int photo_width,
                               int photo_height, float scale) {
  if (photo_width <= 0 || photo_height <= 0) return {0, 0};
  const int height = std::max(0, std::min(cell_height - ScaleLength(4, scale),
                                          ScaleLength(photo_height, scale)));
  int width = photo_width * height / photo_height;
  if (width > cell_width) width = height;
  return {width, height};
}

}  // namespace vantorel
