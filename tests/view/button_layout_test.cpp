// Button layout arithmetic and mouse state machines, without windows.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "view/internal/button_layout.h"
#include "view/internal/button_state.h"

namespace {

using namespace vantorel;

TEST(ButtonPlacement, NegativeCoordinatesCountFromTheFarEdges) {
  struct Case {
    int x, y;
    POINT expected;
  } cases[] = {
      {-8, 10, {242, 10}},   // right edge 8 pixels inside the parent's
      {10, -5, {10, 175}},   // bottom edge 5 pixels up
      {-8, -8, {242, 172}},
      {0, 0, {0, 0}},
  };
  for (const Case& c : cases) {
    const POINT at = AnchoredPosition(c.x, c.y, {50, 20}, {300, 200});
    EXPECT_EQ(at.x, c.expected.x) << c.x << "," << c.y;
    EXPECT_EQ(at.y, c.expected.y) << c.x << "," << c.y;
  }
}

TEST(ImgButtonLayout, SizeByAlignmentLogoAndFixedWidth) {
  ImgButtonInput in;
  in.image = {20, 16};
  EXPECT_EQ(ImgButtonSize(in).cx, 20) << "no text: the image's size";
  EXPECT_EQ(ImgButtonSize(in).cy, 16);

  in.has_text = true;
  in.text = {50.7f, 14.2f};
  in.left_margin = 4;
  in.right_margin = 6;
  EXPECT_EQ(ImgButtonSize(in).cx, 60) << "text over the image: widest plus margins";
  EXPECT_EQ(ImgButtonSize(in).cy, 16);
  in.text = {10.0f, 30.9f};
  EXPECT_EQ(ImgButtonSize(in).cx, 30);
  EXPECT_EQ(ImgButtonSize(in).cy, 30);

  in.alignment = 1;
  in.text = {50.7f, 14.2f};
  in.logo = {12, 12};
  in.logo_gap = 3;
  in.logo_text_gap = 5;
  EXPECT_EQ(ImgButtonSize(in).cx, 100) << "12 + 50.7 + 6 + 4 + 20 + 3 + 5, truncated once";
  EXPECT_EQ(ImgButtonWidth(in), 100);

  // The logo's requested height wins only above the image; the logo and text heights too.
  in.logo = {12, 18};
  EXPECT_EQ(ImgButtonSizeWithLogo(in, {0, 0}).cy, 18);
  EXPECT_EQ(ImgButtonSizeWithLogo(in, {0, 24}).cy, 24);
  in.text = {50.7f, 27.5f};
  EXPECT_EQ(ImgButtonSizeWithLogo(in, {0, 24}).cy, 27);

  EXPECT_FLOAT_EQ(ImgButtonWrapWidth(in, 100), 100 - 20 - 6 - 4 - 5 - 3 - 12);
  const SIZE wrapped = ImgButtonFixWidthSize({106, 16}, 80, {48.0f, 33.4f});
  EXPECT_EQ(wrapped.cx, 80);
  EXPECT_EQ(wrapped.cy, 33);
  const SIZE wider = ImgButtonFixWidthSize({106, 40}, 200, {48.0f, 16.0f});
  EXPECT_EQ(wider.cx, 106) << "a wider fixed width never grows the button";
  EXPECT_EQ(wider.cy, 40);
}

TEST(SwitchButtonLayout, TextPlusTwoMargins) {
  const SIZE size = SwitchButtonSize({40.6f, 14.5f}, 10, 6);
  EXPECT_EQ(size.cx, 60);
  EXPECT_EQ(size.cy, 26);
}

TEST(SwitchImageLayout, ImageAboveOrLeftOfTextAndTheDeleteGlyph) {
  SwitchImageInput in;
  in.image = {20, 20};
  in.h_margin = 10;
  in.v_margin = 5;
  in.gap = 4;
  SwitchImageLayout out;

  in.text = {41, 12};  // wider than the image: the image is centred over it
  ASSERT_TRUE(LayOutSwitchImage(in, &out));
  EXPECT_EQ(out.image.x, 20);
  EXPECT_EQ(out.image.y, 5);
  EXPECT_EQ(out.text.x, 10);
  EXPECT_EQ(out.text.y, 29);
  EXPECT_FLOAT_EQ(out.size.width, 61);
  EXPECT_FLOAT_EQ(out.size.height, 46);

  in.text = {9, 12};  // narrower: the text is centred under the image
  ASSERT_TRUE(LayOutSwitchImage(in, &out));
  EXPECT_EQ(out.image.x, 10);
  EXPECT_EQ(out.text.x, 15);
  EXPECT_FLOAT_EQ(out.size.width, 40);

  in.alignment = 2;
  in.text = {30, 12};  // shorter than the image: centred beside it
  ASSERT_TRUE(LayOutSwitchImage(in, &out));
  EXPECT_EQ(out.image.x, 10);
  EXPECT_EQ(out.text.x, 34);
  EXPECT_EQ(out.text.y, 9);
  EXPECT_FLOAT_EQ(out.size.width, 74);
  EXPECT_FLOAT_EQ(out.size.height, 30);
  in.text = {30, 26};  // taller: the text sets the height
  ASSERT_TRUE(LayOutSwitchImage(in, &out));
  EXPECT_EQ(out.text.y, 5);
  EXPECT_FLOAT_EQ(out.size.height, 36);

  in.glyph = {12, 12};
  in.scale = 1.5f;
  ASSERT_TRUE(LayOutSwitchImage(in, &out));
  EXPECT_EQ(out.glyph.left, 56) << "74 - 12 - 6";
  EXPECT_EQ(out.glyph.top, 3);
  EXPECT_EQ(out.glyph.right, 68);
  EXPECT_EQ(out.glyph.bottom, 15);

  in.alignment = 3;
  SwitchImageLayout kept = out;
  EXPECT_FALSE(LayOutSwitchImage(in, &kept));
  EXPECT_EQ(kept.text.x, out.text.x);
}

// A text 40 x 12 that wraps into a narrower box line by line.
SectionMeasure FakeText(float width = 40, float height = 12) {
  return [=](float box_width, float) -> SizeF {
    if (box_width <= 0 || width <= box_width) return {width, height};
    return {box_width, height * std::ceil(width / box_width)};
  };
}

struct SectionCase {
  const char* name;
  SectionLayoutType type;
  bool fix_width, fix_height, centre, image, text;
  SIZE size;
  POINT image_at;
  PointF text_at;
  float text_width;
};

TEST(SectionLayout, ThreeTypesWithAndWithoutFixedSizeAndCentre) {
  using T = SectionLayoutType;
  const SectionCase cases[] = {
      {"above", T::kImageAboveText, false, false, false, true, true, {60, 42}, {10, 5}, {10, 25}, 40},
      {"above centred", T::kImageAboveText, false, false, true, true, true, {60, 42}, {20, 5}, {10, 25}, 40},
      {"above fixed", T::kImageAboveText, true, true, false, true, true, {100, 60}, {10, 5}, {10, 25}, 80},
      {"above fixed centred", T::kImageAboveText, true, true, true, true, true, {100, 60}, {40, 14}, {10, 34}, 80},
      {"above, no text", T::kImageAboveText, false, false, false, true, false, {40, 26}, {10, 5}, {10, 5}, 0},
      {"left", T::kImageLeft, false, false, false, true, true, {84, 26}, {10, 5}, {34, 7}, 40},
      {"left centred", T::kImageLeft, false, false, true, true, true, {84, 26}, {10, 5}, {34, 7}, 40},
      {"left fixed width", T::kImageLeft, true, false, false, true, true, {100, 26}, {10, 5}, {34, 7}, 40},
      {"left fixed centred", T::kImageLeft, true, false, true, true, true, {100, 26}, {18, 5}, {42, 7}, 40},
      {"left, no image", T::kImageLeft, false, false, false, false, true, {60, 22}, {0, 0}, {10, 5}, 40},
      {"left, no image centred", T::kImageLeft, true, false, true, false, true, {100, 22}, {30, 11}, {30, 5}, 40},
      {"right", T::kImageRight, false, false, false, true, true, {84, 26}, {54, 5}, {10, 7}, 40},
      {"right fixed centred", T::kImageRight, true, false, true, true, true, {100, 26}, {62, 5}, {18, 7}, 40},
  };
  for (const SectionCase& c : cases) {
    SectionInput in;
    in.type = c.type;
    in.client = {100, 60};
    in.image = c.image ? SIZE{20, 16} : SIZE{0, 0};
    in.has_text = c.text;
    in.h_margin = 10;
    in.v_margin = 5;
    in.gap = 4;
    in.fix_width = c.fix_width;
    in.fix_height = c.fix_height;
    in.centre = c.centre;
    const SectionLayout out = LayOutSection(in, c.text ? FakeText() : FakeText(0, 0));
    EXPECT_EQ(out.size.cx, c.size.cx) << c.name;
    EXPECT_EQ(out.size.cy, c.size.cy) << c.name;
    EXPECT_EQ(out.image.left, c.image_at.x) << c.name;
    EXPECT_EQ(out.image.top, c.image_at.y) << c.name;
    EXPECT_FLOAT_EQ(out.text.x, c.text_at.x) << c.name;
    EXPECT_FLOAT_EQ(out.text.y, c.text_at.y) << c.name;
    EXPECT_FLOAT_EQ(out.text.width, c.text_width) << c.name;
  }
}

TEST(SectionLayout, FixedWidthWrapsTheTextAndTruncatesWhereReloadRoundsUp) {
  SectionInput in;
  in.client = {50, 60};
  in.image = {20, 16};
  in.has_text = true;
  in.h_margin = 10;
  in.v_margin = 5;
  in.gap = 4;
  in.fix_width = true;
  const SectionLayout wrapped = LayOutSection(in, FakeText());
  EXPECT_FLOAT_EQ(wrapped.text.width, 30);
  EXPECT_EQ(wrapped.size.cy, 54) << "two lines of 12 under the image";

  in.fix_width = false;
  EXPECT_EQ(LayOutSection(in, FakeText(40.5f, 12)).size.cx, 60);
  EXPECT_EQ(LayOutSectionWithin(in, 0, 0, FakeText(40.5f, 12)).size.cx, 61);
}

TEST(SectionLayout, ReloadWithinALimit) {
  SectionInput in;
  in.client = {77, 33};
  in.image = {20, 16};
  in.h_margin = 10;
  in.v_margin = 5;
  in.gap = 4;
  EXPECT_EQ(LayOutSectionWithin(in, 0, 0, FakeText()).size.cx, 40) << "no text";
  EXPECT_EQ(LayOutSectionWithin(in, 0, 0, FakeText()).size.cy, 26);
  in.image = {0, 0};
  EXPECT_EQ(LayOutSectionWithin(in, 0, 0, FakeText()).size.cx, 77) << "nothing: as it is";

  in.image = {20, 16};
  in.has_text = true;
  SectionLayout out = LayOutSectionWithin(in, 0, 0, FakeText());
  EXPECT_EQ(out.size.cx, 60);
  EXPECT_EQ(out.size.cy, 42);
  EXPECT_EQ(out.image.left, 20);
  EXPECT_FLOAT_EQ(out.text.x, 10);
  EXPECT_FLOAT_EQ(out.text.y, 25);

  in.type = SectionLayoutType::kImageLeft;
  out = LayOutSectionWithin(in, 60, 0, FakeText());
  EXPECT_EQ(out.size.cx, 60) << "the text wraps into 16 pixels";
  EXPECT_EQ(out.size.cy, 46);
  EXPECT_EQ(out.image.left, 10);
  EXPECT_EQ(out.image.top, 15);
  EXPECT_FLOAT_EQ(out.text.x, 34);
  EXPECT_FLOAT_EQ(out.text.y, 5);

  in.type = SectionLayoutType::kImageRight;
  out = LayOutSectionWithin(in, 0, 0, FakeText());
  EXPECT_EQ(out.size.cx, 84);
  EXPECT_EQ(out.image.left, 54);
  EXPECT_FLOAT_EQ(out.text.x, 10);
}

// Feeds events to a machine and collects the states it goes through.
template <class Machine>
std::vector<int> States(Machine machine, const std::vector<MouseEvent>& events) {
  std::vector<int> states;
  for (MouseEvent e : events) states.push_back(React(machine, e).state);
  return states;
}

using E = MouseEvent;

TEST(ButtonStates, ImageButtonPushAndCheckBox) {
  ImgButtonMachine push;
  EXPECT_EQ(States(push, {E::kHover, E::kDown, E::kUpInside, E::kHover, E::kLeave}),
            (std::vector<int>{2, 1, 0, 2, 0}));
  Reaction up = React(push, E::kUpOutside);
  EXPECT_FALSE(up.pass_on) << "released outside: no click";
  EXPECT_TRUE(up.release_capture);

  ImgButtonMachine box;
  box.kind = 1;
  const Reaction down = React(box, E::kDown);
  EXPECT_TRUE(box.checked);
  EXPECT_EQ(down.repaint, Repaint::kCheckRect);
  EXPECT_EQ(React(box, E::kHover).repaint, Repaint::kNone) << "a check box does not light up";
  React(box, E::kDown);
  EXPECT_FALSE(box.checked);

  ImgButtonMachine disabled;
  disabled.state = kStateDisabled;
  EXPECT_EQ(States(disabled, {E::kHover, E::kLeave}), (std::vector<int>{3, 3}));
}

TEST(ButtonStates, SwitchButtonRadioStaysSelected) {
  SwitchButtonMachine radio;
  EXPECT_EQ(States(radio, {E::kHover, E::kDown, E::kUpInside, E::kLeave, E::kHover}),
            (std::vector<int>{2, 1, 1, 1, 1}));
  SwitchButtonMachine plain;
  plain.radio = false;
  EXPECT_EQ(States(plain, {E::kDown, E::kUpInside, E::kLeave}), (std::vector<int>{1, 1, 0}));

  SwitchButtonMachine dragged;
  React(dragged, E::kHover);
  React(dragged, E::kDown);
  const Reaction up = React(dragged, E::kUpOutside);
  EXPECT_FALSE(up.pass_on);
  EXPECT_EQ(up.state, kStateHover) << "released outside: back to before the press";
  EXPECT_EQ(React(dragged, E::kLeave).state, kStateNormal);

  SwitchButtonMachine disabled;
  disabled.state = kStateDisabled;
  EXPECT_EQ(States(disabled, {E::kHover, E::kLeave}), (std::vector<int>{3, 3}));
  SwitchButtonMachine idle;
  EXPECT_TRUE(React(idle, E::kUpInside).pass_on);
  EXPECT_EQ(idle.state, kStateNormal) << "a release without a press changes nothing";
}

TEST(ButtonStates, SwitchImageButtonSecondPressOnlyOnTheDeleteGlyph) {
  SwitchImageMachine item;
  EXPECT_EQ(States(item, {E::kHover, E::kDown, E::kUpInside, E::kLeave}),
            (std::vector<int>{2, 1, 1, 1}));
  item.state = kStatePressed;
  item.click_completed = true;
  item.delete_hit = false;
  EXPECT_FALSE(React(item, E::kDown).pass_on);
  item.delete_hit = true;
  EXPECT_TRUE(React(item, E::kDown).pass_on);
  EXPECT_EQ(React(item, E::kUpInside).state, kStatePressed);

  SwitchImageMachine plain;
  plain.radio = false;
  EXPECT_EQ(States(plain, {E::kDown, E::kUpInside}), (std::vector<int>{1, 0}));
  SwitchImageMachine no_hover;
  no_hover.hover = false;
  EXPECT_EQ(React(no_hover, E::kHover).state, kStateNormal);
  SwitchImageMachine held;  // pressed, pointer gone before the release
  React(held, E::kDown);
  EXPECT_EQ(React(held, E::kLeave).state, kStateNormal);
  SwitchImageMachine disabled;
  disabled.state = kStateDisabled;
  EXPECT_EQ(States(disabled, {E::kHover, E::kLeave}), (std::vector<int>{3, 3}));
}

TEST(ButtonStates, SectionButtonCheckStyleKeepsItsPress) {
  SectionMachine plain;
  EXPECT_EQ(States(plain, {E::kHover, E::kDown, E::kUpInside, E::kLeave}),
            (std::vector<int>{2, 1, 0, 0}));
  SectionMachine check;
  check.check_style = true;
  EXPECT_EQ(States(check, {E::kHover, E::kDown, E::kUpInside, E::kLeave, E::kHover}),
            (std::vector<int>{2, 1, 1, 1, 1}));
  SectionMachine disabled;
  disabled.state = kStateDisabled;
  EXPECT_EQ(States(disabled, {E::kHover, E::kLeave}), (std::vector<int>{3, 3}));
}

}  // namespace
