// The dialogs' arithmetic, without windows: where each part goes at scale 1.0 and 1.5, and
// the progress numbers a user reads.
#include <gtest/gtest.h>

#include <string>

#include "dialogs/about_layout.h"
#include "dialogs/alert_layout.h"
#include "dialogs/bounded_text.h"
#include "dialogs/progress_layout.h"
#include "dialogs/progress_state.h"
#include "dialogs/setting_layout.h"
#include "dialogs/sheet_layout.h"

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// A message of `lines` lines of `line_width` pixels, each 18 high, whatever the space.
AlertInput Alert(int width, int lines, bool fit, bool secondary, float scale = 1.0f) {
  AlertInput input;
  input.client = {width, 200};
  input.scale = scale;
  input.has_icon = true;
  input.icon_pixels = {32, 32};
  input.measure_message = [lines](int max_width) { return SIZE{std::min(max_width, 300), 18 * lines}; };
  input.primary = {60, 30};
  input.secondary = {80, 30};
  input.has_secondary = secondary;
  input.fit_to_content = fit;
  return input;
}

TEST(AlertLayout, FitToContentHeightIsContentPlusButtonRow) {
  struct Case {
    int lines;
    float scale;
    int icon_bottom, text_bottom;
  };
  // Icon at content top 40 (60 at 1.5), 32 (48) high; text 18 per line from content top.
  for (const Case& c : {Case{1, 1.0f, 72, 58}, Case{3, 1.0f, 72, 94}, Case{5, 1.5f, 108, 150}}) {
    const AlertLayout layout = LayoutAlert(Alert(400, c.lines, true, true, c.scale));
    const int gap = static_cast<int>(10 * c.scale);
    const int content = std::max(c.icon_bottom, c.text_bottom);
    EXPECT_EQ(layout.icon.bottom, c.icon_bottom);
    EXPECT_EQ(layout.message.bottom, c.text_bottom);
    EXPECT_EQ(layout.secondary.top, content + gap) << c.lines;
    EXPECT_EQ(layout.client_height, content + gap + 30 + gap) << c.lines;
    EXPECT_EQ(layout.primary.top, layout.secondary.top);
  }
}

TEST(AlertLayout, ButtonsSitOneGapFromTheRightAndFromEachOther) {
  const AlertLayout single = LayoutAlert(Alert(400, 1, true, false));
  EXPECT_EQ(single.primary.right, 400 - 10);
  EXPECT_EQ(Width(single.primary), 60);

  const AlertLayout both = LayoutAlert(Alert(400, 1, true, true));
  EXPECT_EQ(both.secondary.right, 390);
  EXPECT_EQ(both.primary.right, both.secondary.left - 10);

  // Without fitting, the row sits one gap above the bottom edge and the height stays.
  const AlertLayout fixed = LayoutAlert(Alert(400, 8, false, true));
  EXPECT_EQ(fixed.secondary.bottom, 200 - 10);
  EXPECT_EQ(fixed.client_height, 200);
}

TEST(AlertLayout, TextStartsRightOfTheIconOrAtTheMarginAndKeepsClearOfTheRightEdge) {
  AlertInput input = Alert(400, 1, true, true);
  int offered = 0;
  input.measure_message = [&offered](int max_width) {
    offered = max_width;
    return SIZE{max_width, 18};
  };
  AlertLayout layout = LayoutAlert(input);
  EXPECT_EQ(layout.message.left, 2 * 20 + 32);
  EXPECT_EQ(layout.message.right, 400 - 20);
  EXPECT_EQ(offered, 400 - 20 - 72);

  input.has_icon = false;  // a missing picture
  input.sub_title = {120, 20};
  layout = LayoutAlert(input);
  EXPECT_EQ(layout.message.left, 20);
  EXPECT_EQ(layout.sub_title.left, 20);
  EXPECT_EQ(layout.message.top, 40 + 20 + 16);  // sub-title, then a fixed 16-pixel gap
}

TEST(ProgressNumbers, CountTextFillAndFinishText) {
  EXPECT_EQ(ProgressCountText(37, 200, false), L"18.50%");
  EXPECT_EQ(ProgressCountText(37, 200, true), L"37 / 200");
  EXPECT_EQ(ProgressCountText(0, 0, false), L"");
  EXPECT_EQ(ProgressCountText(200, 200, false), L"100.00%");

  EXPECT_EQ(ProgressFillWidth(400, 37, 200), 74);
  EXPECT_EQ(ProgressFillWidth(400, 8, 10), 320);
  EXPECT_EQ(ProgressFillWidth(400, 5, 0), 0);
  EXPECT_EQ(ProgressFillWidth(400, 300, 200), 400);  // more done than in all stays in the bar
  EXPECT_EQ(ProgressFillWidth(400, -3, 200), 0);

  EXPECT_EQ(ProgressFinishText(L"Failed", L"Completed", 2, L"Exporting"), L"Failed(2) Exporting");
  EXPECT_EQ(ProgressFinishText(L"Failed", L"Completed", 2, L""), L"Failed(2)");
  EXPECT_EQ(ProgressFinishText(L"Failed", L"Completed", 0, L"Exporting"), L"Completed");
  EXPECT_EQ(ProgressFailureLine(L"[Failed] ", 2, L"b.mp4"), L"[Failed] 2.b.mp4\r\n");
}

TEST(ProgressState, DescriptionChangesAreSeenOnceAndResetClearsEverything) {
  ProgressState state;
  EXPECT_FALSE(state.TakeDescriptionChanged());
  state.SetDescription(L"one");
  EXPECT_TRUE(state.TakeDescriptionChanged());
  EXPECT_FALSE(state.TakeDescriptionChanged());
  auto kept = state.Description();
  state.SetDescription(L"two");
  EXPECT_EQ(*kept, L"one");  // a reader's copy survives the swap
  EXPECT_EQ(*state.Description(), L"two");
  state.SetDone(3);
  state.SetTotal(9);
  EXPECT_EQ(state.AddFailures(2), 2);
  state.Reset();
  EXPECT_EQ(state.done() + state.total() + state.failed(), 0);
  EXPECT_EQ(*state.Description(), L"");
  EXPECT_FALSE(state.TakeDescriptionChanged());
}

TEST(ProgressLayout, PartsAt1And15) {
  ProgressInput input;
  input.dialog = {500, 160};
  input.expander = {20, 10};
  input.cancel = {70, 32};
  input.open_folder = {110, 32};
  ProgressLayout layout = LayoutProgress(input);
  EXPECT_EQ(layout.expander.left, 240);
  EXPECT_EQ(layout.expander.bottom, 158);
  EXPECT_EQ(layout.cancel.right, 480);
  EXPECT_EQ(layout.cancel.bottom, layout.expander.top - 10);
  EXPECT_EQ(layout.open_folder.right, layout.cancel.left - 20);
  EXPECT_EQ(layout.bar.left, 20);
  EXPECT_EQ(layout.bar.top, 70);
  EXPECT_EQ(Height(layout.bar), 12);
  EXPECT_EQ(layout.text.bottom, 70);

  input.dialog = {750, 240};
  input.scale = 1.5f;
  input.has_logo = true;
  input.logo_pixels = {40, 40};
  layout = LayoutProgress(input);
  EXPECT_EQ(layout.logo.left, 18);
  EXPECT_EQ(layout.logo.top, 66);
  EXPECT_EQ(Width(layout.logo), 60);
  EXPECT_EQ(layout.bar.left, 60 + 2 * 18);
  EXPECT_EQ(layout.bar.right, 750 - 30);
  EXPECT_EQ(layout.details_height, 240);
}

TEST(SettingLayout, ListAndButtonsAt10) {
  SettingInput input;
  input.client = {600, 240};
  input.title_height = 26;
  input.ok = {60, 28};
  input.cancel = {80, 28};
  input.section_title = Gdiplus::SizeF(55, 18);
  input.language_caption = Gdiplus::SizeF(60, 18);
  const SettingLayout layout = LayoutSetting(input);
  EXPECT_EQ(layout.cancel.right, 590);
  EXPECT_EQ(layout.cancel.bottom, 230);
  EXPECT_EQ(layout.ok.right, layout.cancel.left - 10);
  EXPECT_FLOAT_EQ(layout.caption.X, 30);
  EXPECT_FLOAT_EQ(layout.caption.Y, 42);
  EXPECT_FLOAT_EQ(layout.tab.X, 24);
  EXPECT_FLOAT_EQ(layout.section.Y, layout.tab.GetBottom());
  EXPECT_FLOAT_EQ(layout.section.Width, 560);
  EXPECT_FLOAT_EQ(layout.frame.X, layout.section.X + 16);
  EXPECT_FLOAT_EQ(layout.language_caption.Y, layout.frame.Y - 9);
  EXPECT_EQ(Width(layout.list), 240);
  EXPECT_EQ(Height(layout.list), 22);
  EXPECT_EQ(layout.list.left, static_cast<int>(layout.frame.X) + 24);
}

TEST(AboutLayout, BandLogoAndTextsAt10) {
  AboutInput input;
  input.client = {520, 380};
  input.name_height = 22;
  input.version_height = 20;
  input.more_info_height = 20;
  input.rights_height = 20;
  input.link = {180, 18};
  const AboutLayout layout = LayoutAbout(input);
  EXPECT_EQ(layout.band_height, 196);
  EXPECT_EQ(layout.logo.left, 212);
  EXPECT_EQ(layout.logo.top, 28);
  EXPECT_EQ(Width(layout.logo), 96);
  EXPECT_FLOAT_EQ(layout.name.Y, 136);
  EXPECT_FLOAT_EQ(layout.version.Y, 136 + 22 + 16);
  EXPECT_FLOAT_EQ(layout.more_info.Y, 174 + 20 + 40);
  EXPECT_EQ(layout.link.left, 170);
  EXPECT_EQ(layout.link.top, 234 + 20 + 8);
  EXPECT_FLOAT_EQ(layout.name.Width, 520);
}

TEST(SheetLayout, SlidesInFifthsAndSitsUnderTheOwner) {
  std::vector<int> heights;
  for (int height = 40 / kSheetSlideSteps; height < 40; height = SheetNextHeight(height, 40)) {
    heights.push_back(height);
  }
  EXPECT_EQ(heights, (std::vector<int>{8, 16, 24, 32}));
  EXPECT_EQ(SheetNextHeight(3, 4), 4);  // a tiny tip still gets there
  EXPECT_EQ(SheetNextHeight(60, 60), 60);

  const RECT place = SheetPlacement({100, 50, 836, 286}, 32, 40);
  EXPECT_EQ(place.left, 100);
  EXPECT_EQ(place.top, 82);
  EXPECT_EQ(Width(place), 736);
  EXPECT_EQ(Height(place), 40);

  const SheetGeometry geometry = SheetLayout(736, 1.5f, {16, 16});
  EXPECT_EQ(geometry.full_height, 60);
  EXPECT_EQ(geometry.close.x, 736 - 12 - 16);
  EXPECT_EQ(geometry.link.left, 24);
}

TEST(BoundedText, FormatsOnlyTheProductNameAndNeverOverflows) {
  EXPECT_EQ(FormatBounded(L"Restart %s now.", L"Pellavorne", 512), L"Restart Pellavorne now.");
  // Directives a translation should not hold read no arguments.
  EXPECT_EQ(FormatBounded(L"%s %s %d %n 100%%", L"P", 512), L"P %s %d %n 100%");
  EXPECT_EQ(FormatBounded(L"50%", L"P", 512), L"50%");
  const std::wstring longer(700, L'x');
  EXPECT_EQ(FormatBounded(longer + L"%s", L"P", 512).size(), 511u);
  EXPECT_EQ(FormatBounded(L"%s", longer, 512), std::wstring(511, L'x'));
  // A surrogate pair on the cut is dropped whole.
  std::wstring pairs = std::wstring(510, L'a') + L"\xD83D\xDE00";
  EXPECT_EQ(CutToBuffer(pairs, 512), std::wstring(510, L'a'));
  EXPECT_EQ(CutToBuffer(L"abc", 1), L"");
}

}  // namespace
