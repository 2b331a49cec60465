// Where the about dialog's logo, texts and website link go.
#pragma once

#include <windows.h>
#include <gdiplus.h>

struct AboutInput {
  SIZE client = {};
  float scale = 1.0f;
  float name_height = 0;       // each text measured on one line with its font
  float version_height = 0;
  float more_info_height = 0;
  float rights_height = 0;
  SIZE link = {};              // the website link, measured
};

struct AboutLayout {
  RECT logo = {};
  int band_height = 0;         // the coloured band behind logo, name and version
  // Full client width each, so the text is drawn centred.
  Gdiplus::RectF name;
  Gdiplus::RectF version;
  Gdiplus::RectF more_info;
  Gdiplus::RectF rights;
  RECT link = {};
};

AboutLayout LayoutAbout(const AboutInput& input);
