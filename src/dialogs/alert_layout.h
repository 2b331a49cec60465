// Where the parts of an alert, confirm or link alert go, from measured sizes alone.
#pragma once

#include <windows.h>

#include <functional>

struct AlertInput {
  SIZE client = {};        // the dialog's client size
  float scale = 1.0f;
  bool has_icon = false;
  SIZE icon_pixels = {};   // the picture's own size, scaled here
  SIZE sub_title = {};     // measured one line; {0, 0} for none
  // The wrapped message's size when at most `max_width` wide.
  std::function<SIZE(int max_width)> measure_message;
  SIZE primary = {};       // button sizes, from their texts and margins
  SIZE secondary = {};
  bool has_secondary = false;
  bool fit_to_content = false;
};

struct AlertLayout {
  RECT icon = {};
  RECT sub_title = {};
  RECT message = {};
  RECT primary = {};
  RECT secondary = {};      // placed even when the button is hidden
  int content_bottom = 0;   // the last button's bottom plus one gap
  int client_height = 0;    // the height to take: content_bottom with fit to content
};

AlertLayout LayoutAlert(const AlertInput& input);
