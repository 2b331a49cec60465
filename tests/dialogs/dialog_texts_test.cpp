// Every dialog's own texts in all fifteen languages at scale 1.0 and 1.5: laid out by the
// real dialogs with the real fonts, each text must fit the space its layout gives it. A text
// that does not fit is shortened in its catalogue, not given more room.
#include <gtest/gtest.h>

#include <string>

#include "app/product_identity.h"
#include "app/startup_layout.h"
#include "dialog_fixture.h"
#include "dialogs/shell_dialog_commands.h"
#include "dialogs/ui_about_dialog.h"
#include "dialogs/ui_progress_dialog.h"
#include "dialogs/ui_setting_dialog.h"
#include "dialogs/ui_sheet_dialog.h"
#include "host/resource_catalogues.h"
#include "shell/language.h"

namespace {

float GdiplusWidth(const std::wstring& text, const char* font_key) {
  Gdiplus::Font* font = FindGdiplusFont(font_key);
  if (!font) return 1e9f;
  HDC dc = ::GetDC(nullptr);
  Gdiplus::RectF bounds;
  {
    Gdiplus::Graphics graphics(dc);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintSystemDefault);
    graphics.MeasureString(text.c_str(), -1, font, Gdiplus::PointF(0, 0), &bounds);
  }
  ::ReleaseDC(nullptr, dc);
  return bounds.Width;
}

SIZE GdiSize(const std::wstring& text, const char* font_key) {
  HDC dc = ::GetDC(nullptr);
  HGDIOBJ previous = ::SelectObject(dc, FindFont(font_key));
  SIZE size = {};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  ::SelectObject(dc, previous);
  ::ReleaseDC(nullptr, dc);
  return size;
}

RECT ChildRect(HWND dialog, int id) { return RectIn(::GetDlgItem(dialog, id), dialog); }

struct TextRun {
  int language;
  float scale;
};

std::string Describe(const TextRun& run, const std::wstring& text) {
  std::string narrow;
  for (wchar_t c : text) narrow += c < 128 ? static_cast<char>(c) : '?';
  return "language " + std::to_string(run.language) + " at " + std::to_string(run.scale) +
         ": \"" + narrow + "\"";
}

class DialogTexts : public ::testing::TestWithParam<TextRun> {
 protected:
  void SetUp() override {
    UseLanguage(GetParam().language);
    UseScale(GetParam().scale);
  }
  void TearDown() override {
    UseLanguage(3);
    UseScale(1.0f);
  }
  int S(int n) const { return ScaleLength(n, GetParam().scale); }
  Gdiplus::Bitmap* Close(bool pressed) {
    return FindImage(pressed ? "close-pressed.png" : "close-normal.png");
  }
};

TEST_P(DialogTexts, SettingsTextsFit) {
  const TextRun run = GetParam();
  UiSettingDialog dialog(run.scale, Close(false), Close(true), false, Translate(L"cancel"),
                         Translate(L"ok"));
  dialog.SetTitle(Translate(L"settings"));
  dialog.Create(TestOwner(), {S(600), S(240)});
  const SettingLayout& layout = dialog.layout();
  const RECT close = ChildRect(dialog, 5050);
  EXPECT_LE(S(8) + GdiplusWidth(Translate(L"settings"), "font:gdiplus:16:normal"), close.left)
      << Describe(run, Translate(L"settings"));
  EXPECT_LE(layout.tab.GetRight(), layout.section.GetRight()) << Describe(run, Translate(L"general"));
  EXPECT_LE(layout.language_caption.GetRight(), layout.frame.GetRight() - S(10))
      << Describe(run, Translate(L"language"));
  const RECT ok = ChildRect(dialog, 5051);
  EXPECT_GE(ok.left, static_cast<LONG>(layout.section.X)) << Describe(run, Translate(L"ok"));
  for (const LanguageChoice& choice : LanguageChoices()) {
    EXPECT_LE(GdiSize(choice.name, "font:16:normal").cx, S(240) - S(28))
        << Describe(run, choice.name);
  }
}

TEST_P(DialogTexts, AboutTextsFit) {
  const TextRun run = GetParam();
  UiAboutDialog dialog(run.scale, Close(false), Close(true));
  dialog.SetUpDialog(TestOwner(), {S(520), S(380)}, L"");
  dialog.Create(TestOwner(), {S(520), S(380)});
  const float room = static_cast<float>(S(520) - 2 * S(8));
  EXPECT_LE(GdiplusWidth(dialog.more_info(), "font:gdiplus:17:bold"), room)
      << Describe(run, dialog.more_info());
  const std::wstring version = Translate(L"version") + L": " + ProductVersionWide();
  EXPECT_LE(GdiplusWidth(version, "font:gdiplus:17:normal"), room) << Describe(run, version);
  EXPECT_LE(GdiplusWidth(ProductDisplayNameWide(), "font:gdiplus:19:bold"), room);
  const RECT link = ChildRect(dialog, 5053);
  EXPECT_GE(link.left, 0);
  EXPECT_LE(link.right, S(520));
  const RECT ok = ChildRect(dialog, 5051);
  EXPECT_GE(ok.top, static_cast<LONG>(dialog.about_layout().rights.GetBottom()))
      << Describe(run, Translate(L"ok"));
}

TEST_P(DialogTexts, ProgressTextsFit) {
  const TextRun run = GetParam();
  UiProgressDialog dialog(run.scale, Close(false), Close(true));
  dialog.Create(TestOwner(), {S(500), S(160)});
  dialog.SetOutputFolder(L"C:\\out");
  dialog.Reset();
  const ProgressLayout& layout = dialog.layout();
  const RECT open = ChildRect(dialog, 5051);
  const RECT cancel = ChildRect(dialog, 5052);
  EXPECT_GE(open.left, S(20)) << Describe(run, Translate(L"open-folder"));
  EXPECT_LE(open.right, cancel.left);
  const int count = GdiSize(L"100.00%", "font:16:normal").cx;
  const int room = ProgressDescriptionRight(S(500) - 1, count, run.scale) - layout.text.left;
  for (const std::wstring& text :
       {Translate(L"finish"), Translate(L"failed") + L"(12)",
        Translate(L"[Fail] ") + L"12.clip.mp4"}) {
    EXPECT_LE(GdiSize(text, "font:16:normal").cx, room) << Describe(run, text);
  }
}

TEST_P(DialogTexts, LanguageChangeTipFitsOneLineBesideTheCloseButton) {
  const TextRun run = GetParam();
  UiSheetDialog tip(run.scale, Close(false), Close(true));
  const int width = S(740) - 4;  // the view of a frame of the default size
  tip.Create(TestOwner(), {width, S(236)});
  const SheetGeometry geometry = SheetLayout(width, run.scale, {S(16), S(16)});
  const std::wstring text =
      LanguageChangeTip(Translate(L"language-change-tip-%s"), ProductDisplayNameWide());
  const SIZE size = GdiSize(text, "font:16:normal");
  EXPECT_LE(geometry.link.left + size.cx, geometry.close.x) << Describe(run, text);
  EXPECT_LE(size.cy, geometry.link.bottom - geometry.link.top);
}

std::vector<TextRun> AllRuns() {
  std::vector<TextRun> runs;
  for (int language = 0; language < 15; ++language) {
    runs.push_back({language, 1.0f});
    runs.push_back({language, 1.5f});
  }
  return runs;
}

INSTANTIATE_TEST_SUITE_P(EveryLanguage, DialogTexts, ::testing::ValuesIn(AllRuns()),
                         [](const ::testing::TestParamInfo<TextRun>& info) {
                           return "language" + std::to_string(info.param.language) + "_scale" +
                                  (info.param.scale > 1.0f ? "15" : "10");
                         });

}  // namespace
