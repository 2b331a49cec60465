// The list and tree controls' arithmetic, without windows.
#include <gtest/gtest.h>

#include "view/internal/list_view_rules.h"
#include "view/internal/tree_item_layout.h"

namespace {

using namespace vantorel;

TEST(ListScrollScope, APageAboveToThreePagesBelowClampedToTheRows) {
  struct Case {
    int position, page, rows, first, last;
  } cases[] = {
      {10, 5, 100, 5, 25},  // the usual
      {0, 5, 100, 0, 15},   // nothing above the top
      {3, 5, 100, 0, 18},
      {95, 5, 100, 90, 99},  // near the end: the last row
      {90, 5, 105, 85, 104},
      {0, 5, 3, 0, 2},       // fewer rows than a page
      {0, 0, 0, 0, -1},      // empty list
  };
  for (const Case& c : cases) {
    const RowScope scope = ScrollScope(c.position, c.page, c.rows);
    EXPECT_EQ(scope.first, c.first) << c.position << "/" << c.page << "/" << c.rows;
    EXPECT_EQ(scope.last, c.last) << c.position << "/" << c.page << "/" << c.rows;
  }
}

TEST(ListRowBackground, SelectionBeatsHoverBeatsStripes) {
  struct Case {
    RowLook look;
    COLORREF color;
  } cases[] = {
      {{0, false, false, true}, 0xFFFFFF},  {{1, false, false, true}, 0xFAFAFA},
      {{1, false, false, false}, 0xFFFFFF}, {{3, false, true, true}, 0xF5ECCD},
      {{3, true, true, true}, 0xEEDBA1},    {{2, true, false, false}, 0xEEDBA1},
      {{2, false, true, false}, 0xF5ECCD},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RowBackground(c.look, kListRowColor), c.color) << "row " << c.look.row;
  }
  EXPECT_EQ(RowBackground({4, false, false, true}, 0x123456), 0x123456u) << "owner's colour";
}

TEST(ListPhotoCell, FillsTheHeightKeepingTheAspectNeverPastItsOwnSize) {
  struct Case {
    int cell_width, cell_height, photo_width, photo_height;
    float scale;
    int width, height;
  } cases[] = {
      {300, 60, 200, 100, 1.0f, 112, 56},  // cell height less 4
      {300, 90, 200, 100, 1.5f, 168, 84},  // less 6 at 1.5
      {200, 60, 40, 20, 1.0f, 40, 20},    // small photos stay small
      {200, 60, 40, 20, 1.5f, 60, 30},    // but grow with the scale
      {50, 60, 400, 100, 1.0f, 56, 56},   // too wide for the cell: square
      {200, 60, 0, 0, 1.0f, 0, 0},        // no picture
  };
  for (const Case& c : cases) {
    const PhotoSize size =
        PhotoCellSize(c.cell_width, c.cell_height, c.photo_width, c.photo_height, c.scale);
    EXPECT_EQ(size.width, c.width) << c.photo_width << "x" << c.photo_height;
    EXPECT_EQ(size.height, c.height) << c.photo_width << "x" << c.photo_height;
  }
}

TreeRowInput Row(int depth, bool has_children, SIZE image = {0, 0}) {
  TreeRowInput in = {};
  in.row = RECT{0, 40, 300, 80};
  in.depth = depth;
  in.x_margin = 4;
  in.has_children = has_children;
  in.collapsed = SIZE{20, 10};
  in.expanded_glyph = SIZE{10, 20};
  in.box = SIZE{16, 16};
  in.image = image;
  in.text_height = 14;
  return in;
}

TEST(TreeRowLayout, ChildrenIndentAndBoxesLineUp) {
  const TreeRowLayout root = LayoutTreeRow(Row(0, true));
  EXPECT_EQ(root.content_x, 4);
  EXPECT_EQ(root.glyph.left, 4);
  EXPECT_EQ(root.glyph.right, 24) << "collapsed glyph";
  EXPECT_EQ(root.glyph.top, 55) << "vertically centred";
  // The box follows the expanded glyph's width, with or without a glyph.
  EXPECT_EQ(root.check.left, 4 + 4 + 10);
  EXPECT_EQ(root.check.top, 52);
  EXPECT_EQ(LayoutTreeRow(Row(0, false)).check.left, root.check.left);
  EXPECT_EQ(LayoutTreeRow(Row(0, false)).glyph.right, 0) << "no glyph";
  EXPECT_EQ(root.text.left, root.check.right + 4);
  EXPECT_EQ(root.text.top, 40 + (40 - 15) / 2);
  EXPECT_EQ(root.text.bottom - root.text.top, 16);
  EXPECT_EQ(root.text.right, 300);

  TreeRowInput big_font = Row(0, false);
  big_font.text_height = 23;
  const TreeRowLayout tall = LayoutTreeRow(big_font);
  EXPECT_EQ(tall.text.bottom - tall.text.top, 23) << "descenders kept";
  EXPECT_EQ(tall.text.top, 40 + 9);

  const TreeRowLayout child = LayoutTreeRow(Row(1, false));
  EXPECT_EQ(child.content_x, root.content_x + 4 + 20) << "parent's x + margin + glyph";
  EXPECT_EQ(LayoutTreeRow(Row(2, false)).content_x, child.content_x + 24);

  const TreeRowLayout with_image = LayoutTreeRow(Row(0, false, SIZE{30, 24}));
  EXPECT_EQ(with_image.image.left, root.check.right + 4);
  EXPECT_EQ(with_image.image.top, 48);
  EXPECT_EQ(with_image.text.left, with_image.image.right + 4);
}

TEST(TreeRowLayout, BadgeHugsTheRightEdge) {
  const RECT badge = BadgeRect(RECT{0, 40, 300, 80}, SIZE{7, 12});
  EXPECT_EQ(badge.left, 300 - 7 - 16);
  EXPECT_EQ(badge.right, 292);
  EXPECT_EQ(badge.top, 40 + (40 - 16) / 2);
  EXPECT_EQ(badge.bottom - badge.top, 16);
}

TEST(TreeClickRules, GlyphTogglesElsewhereExpandsLeavesSelect) {
  struct Case {
    bool has_children, enabled;
    int x;
    TreeClick action;
  } cases[] = {
      {true, true, 10, TreeClick::kToggleExpansion},  // on the glyph (10..29)
      {true, true, 29, TreeClick::kToggleExpansion},
      {true, true, 30, TreeClick::kExpandAndSelect},
      {true, true, 9, TreeClick::kExpandAndSelect},
      {true, false, 10, TreeClick::kNothing},  // disabled items stay as they are
      {true, false, 80, TreeClick::kNothing},
      {false, true, 10, TreeClick::kSelect},
      {false, false, 80, TreeClick::kSelect},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClickOnItem(c.has_children, c.enabled, c.x, 10, 20), c.action) << c.x;
  }
}

}  // namespace
