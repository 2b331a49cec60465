// Where the parts of a progress dialog go for its size and scale.
#pragma once

#include <windows.h>

struct ProgressInput {
  SIZE dialog = {};        // cx × cy, the collapsed size
  float scale = 1.0f;
  SIZE expander = {};      // button sizes
  SIZE cancel = {};
  SIZE open_folder = {};
  bool has_logo = false;
  SIZE logo_pixels = {};   // the picture's own size, scaled here
};

struct ProgressLayout {
  RECT expander = {};
  RECT cancel = {};
  RECT open_folder = {};
  RECT logo = {};
  RECT bar = {};
  RECT text = {};          // the band above the bar: description and count
  RECT bar_fill = {};      // the bar's inside; the fill takes a share of its width
  int description_top = 0; // the line that holds the description and the count
  int details_height = 0;  // what the failure box adds below cy
};

ProgressLayout LayoutProgress(const ProgressInput& input);

// The description's right edge: clear of the count text.
int ProgressDescriptionRight(int content_right, int count_width, float scale);
