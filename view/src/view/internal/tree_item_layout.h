// Where the parts of one check-box tree row go, the count badge, and what a click does: plain
// arithmetic over the row rectangle and image sizes.
#pragma once

#include <windows.h>

#include <algorithm>

namespace vantorel {

struct TreeRowInput {
  RECT row;          // the whole line
  int depth;         // 0 for a root item
  int x_margin;
  bool has_children;
  bool expanded;
  SIZE collapsed;    // glyph sizes
  SIZE expanded_glyph;
  SIZE box;          // check box
  SIZE image;        // 0 x 0: no image
  int text_height;   // the font's line height
};

struct TreeRowLayout {
  int content_x;  // where the glyph starts; children indent from their parent's
  RECT glyph;     // empty without children
  RECT check;
  RECT image;     // empty without an image
  RECT text;      // a band of 16 pixels (or the font's height) to the row's right edge
};

inline RECT CentredBox(const RECT& row, int x, SIZE size) {
  const int top = row.top + (row.bottom - row.top - size.cy) / 2;
  return RECT{x, top, x + size.cx, top + size.cy};
}

inline TreeRowLayout LayoutTreeRow(const TreeRowInput& in) {
  TreeRowLayout out = {};
  int x = in.row.left + in.x_margin + in.depth * (in.x_margin + in.collapsed.cx);
  out.content_x = x;
  if (in.has_children) {
    out.glyph = CentredBox(in.row, x, in.expanded ? in.expanded_glyph : in.collapsed);
  }
  // Items with and without children line their boxes up.
  x += in.x_margin + in.expanded_glyph.cx;
  out.check = CentredBox(in.row, x, in.box);
  x += in.x_margin + in.box.cx;
  if (in.image.cx > 0 && in.image.cy > 0) {
    out.image = CentredBox(in.row, x, in.image);
    x += in.x_margin + in.image.cx;
  }
  // A font taller than the band would lose its descenders.
  const int band = std::max(16, in.text_height);
  const int band_top = in.row.top + (in.row.bottom - in.row.top - band + 1) / 2;
  out.text = RECT{x, band_top, in.row.right, band_top + band};
  return out;
}

// The badge around a count of `text` size, 8 pixels in from the row's right edge.
inline RECT BadgeRect(const RECT& row, SIZE text) {
  const int height = text.cy + 4;
  const int top = row.top + (row.bottom - row.top - height) / 2;
  return RECT{row.right - text.cx - 16, top, row.right - 8, top + height};
}

enum class TreeClick { kNothing, kSelect, kToggleExpansion, kExpandAndSelect };

// After any check toggle: what a left click at `x` does to the item.
inline TreeClick ClickOnItem(bool has_children, bool enabled, int x, int content_x,
                             int glyph_width) {
  if (!has_children) return TreeClick::kSelect;
  if (!enabled) return TreeClick::kNothing;
  if (x >= content_x && x < content_x + glyph_width) return TreeClick::kToggleExpansion;
  return TreeClick::kExpandAndSelect;
}

}  // namespace vantorel
