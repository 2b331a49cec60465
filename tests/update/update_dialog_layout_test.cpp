// The update list dialog's layout at the two scales the product meets most.
#include "update/update_dialog_layout.h"

#include <gtest/gtest.h>

namespace {

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(UpdateListLayout, ButtonsFromTheBottomRightNotesAndLinkFromTheLeft) {
  struct Case {
    float scale;
    SIZE client;
    RECT notes, link, remind, update;
    int band;
  } cases[] = {
      {1.0f, {500, 360}, {40, 80, 460, 230}, {40, 240, 160, 256}, {380, 308, 480, 340},
       {260, 308, 360, 340}, 280},
      {1.5f, {750, 540}, {60, 120, 690, 345}, {60, 360, 180, 376}, {620, 478, 720, 510},
       {490, 478, 590, 510}, 420},
  };
  for (const auto& c : cases) {
    const UpdateListLayout layout =
        LayOutUpdateList({c.client, c.scale, {120, 16}, {100, 32}, {100, 32}});
    EXPECT_TRUE(Same(layout.notes, c.notes)) << c.scale;
    EXPECT_TRUE(Same(layout.link, c.link)) << c.scale;
    EXPECT_TRUE(Same(layout.remind_button, c.remind)) << c.scale;
    EXPECT_TRUE(Same(layout.update_button, c.update)) << c.scale;
    EXPECT_EQ(layout.band_height, c.band);
  }
}

TEST(UpdateListLayout, ScrollBarOnlyPastNineScaledLines) {
  EXPECT_FALSE(NotesNeedScrollBar(9, 1.0f));
  EXPECT_TRUE(NotesNeedScrollBar(10, 1.0f));
  EXPECT_FALSE(NotesNeedScrollBar(13, 1.5f));
  EXPECT_TRUE(NotesNeedScrollBar(14, 1.5f));
}

}  // namespace
