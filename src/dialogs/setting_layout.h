// Where the parts of the settings dialog go: the "general" tab, its box, the language frame
// with its caption on the top edge, the drop-down list and the two buttons.
#pragma once

#include <windows.h>
#include <gdiplus.h>

struct SettingInput {
  SIZE client = {};
  float scale = 1.0f;
  int title_height = 0;
  SIZE ok = {};                     // button sizes
  SIZE cancel = {};
  Gdiplus::SizeF section_title;     // measured "general", bold
  Gdiplus::SizeF language_caption;  // measured "language", normal
};

struct SettingLayout {
  RECT ok = {};
  RECT cancel = {};
  Gdiplus::RectF caption;           // the section title's text
  Gdiplus::RectF tab;
  Gdiplus::RectF section;
  Gdiplus::RectF frame;
  Gdiplus::RectF language_caption;
  RECT list = {};                   // the drop-down list, closed
  int frame_corner = 0;
};

SettingLayout LayoutSetting(const SettingInput& input);
