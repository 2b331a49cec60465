// Where the home view puts everything, as a pure function of the view's size, the DPI scale
// and the sizes the buttons measured for their texts.
#pragma once

#include <windows.h>

enum TitleButton {
  kSettingsButton,
  kAboutButton,
  kUpdateButton,
  kMinimizeButton,
  kMaximizeButton,
  kTrayButton,
  kExitButton,
  kTitleButtonCount
};

enum ActionButton {
  kScreenshotButton,
  kStartButton,
  kStopButton,
  kFolderButton,
  kActionButtonCount
};

struct HomeLayoutInput {
  int width;
  int height;
  float scale;
  SIZE actions[kActionButtonCount];  // each button's own size for its text
};

struct HomeLayout {
  RECT title_band;   // dragging here moves the window
  RECT product_name;
  RECT title_buttons[kTitleButtonCount];
  RECT actions[kActionButtonCount];
  RECT status;       // the line under the actions
};

int HomeScale(int length, float scale);  // trunc(length x scale)
HomeLayout LayoutHome(const HomeLayoutInput& input);
