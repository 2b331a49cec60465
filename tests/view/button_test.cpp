// The four button families as real windows in a parent that reflects notifications, driven
// by posted mouse messages; checked through WM_COMMAND, window rectangles and painted pixels.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>

#include "control_host.h"
#include "test_support.h"
#include "view/kv_img_button.h"
#include "view/kv_section_button.h"
#include "view/kv_switch_button.h"
#include "view/kv_switch_image_button.h"

namespace {

constexpr UINT kId = 101;
constexpr COLORREF kGrey = RGB(224, 224, 224);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

class Buttons : public ::testing::Test {
 protected:
  void SetUp() override {
    font_ = std::make_unique<Gdiplus::Font>(L"Arial", 13.0f, Gdiplus::FontStyleRegular,
                                            Gdiplus::UnitPixel);
    red_ = SolidBitmap(40, 20, 0xFFFF0000);
    green_ = SolidBitmap(40, 20, 0xFF00FF00);
    blue_ = SolidBitmap(40, 20, 0xFF0000FF);
    cross_ = SolidBitmap(10, 10, 0xFF000000);
  }

  ControlHost host_{400, 300};
  std::unique_ptr<Gdiplus::Font> font_;
  std::unique_ptr<Gdiplus::Bitmap> red_, green_, blue_, cross_;
};

bool Near(COLORREF a, COLORREF b, int tolerance = 2) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
         std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

TEST_F(Buttons, ImageButtonAnchorsToTheFarEdgesAndKeepsItsPlaceOnSetText) {
  KvImgButton button;
  ASSERT_NE(button.CreateButton(host_, kId, true), nullptr);
  button.setFont(font_.get());
  button.Init(red_.get(), -8, 10, green_.get());
  RECT rect = ChildRect(button);
  EXPECT_EQ(rect.right, 392) << "x = -8: the right edge 8 pixels inside the parent's";
  EXPECT_EQ(rect.top, 10);
  EXPECT_EQ(rect.right - rect.left, 40);

  button.Init(red_.get(), 12, -6, green_.get(), L"Save", 0, 4, 4, 0);
  rect = ChildRect(button);
  EXPECT_EQ(rect.bottom, 294);
  const LONG height = rect.bottom - rect.top;
  button.SetText(L"Save the recording as");
  const RECT longer = ChildRect(button);
  EXPECT_EQ(longer.left, 12);
  EXPECT_EQ(longer.top, rect.top);
  EXPECT_EQ(longer.bottom - longer.top, height);
  EXPECT_GT(longer.right - longer.left, rect.right - rect.left + 50);

  KvImgButton scaled;
  scaled.SetDpiScale(1.5f);
  scaled.CreateButton(host_, kId + 1, true);
  scaled.Init(red_.get(), -8, -8);
  rect = ChildRect(scaled);
  EXPECT_EQ(rect.right - rect.left, 60);
  EXPECT_EQ(rect.bottom - rect.top, 30);
  EXPECT_EQ(rect.right, 392);
  EXPECT_EQ(scaled.DpiScale(7), 10);
}

TEST_F(Buttons, SwitchButtonSetTextKeepsTheBottomAnchor) {
  KvSwitchButton tab;
  tab.CreateButton(host_, font_.get(), kId);
  tab.Init(10, -10, L"One", kGrey, 0, kBlue, 0xFFFFFF);
  EXPECT_EQ(ChildRect(tab).bottom, 290);
  const LONG one_line = ChildRect(tab).bottom - ChildRect(tab).top;
  tab.SetText(L"One\nTwo\nThree");
  const RECT rect = ChildRect(tab);
  EXPECT_GT(rect.bottom - rect.top, 2 * one_line - 20) << "three lines are taller";
  EXPECT_EQ(rect.bottom, 290);
  EXPECT_EQ(rect.left, 10);
}

TEST_F(Buttons, FirstDisabledImageStaysAndADisabledButtonIgnoresHover) {
  KvImgButton button;
  button.CreateButton(host_, kId, true);
  button.Init(red_.get(), 10, 10, blue_.get());
  button.SetDisableImage(green_.get());
  button.SetDisableImage(blue_.get());
  EXPECT_TRUE(Near(Snapshot(button).At(20, 10), kRed));
  button.EnableWindow(FALSE);
  EXPECT_TRUE(Near(Snapshot(button).At(20, 10), RGB(0, 255, 0)));
  PostMouse(button, WM_MOUSEHOVER, 5, 5);
  PostMouse(button, WM_MOUSELEAVE, 0, 0);
  EXPECT_TRUE(Near(Snapshot(button).At(20, 10), RGB(0, 255, 0)));
  button.EnableWindow(TRUE);
  PostMouse(button, WM_MOUSEHOVER, 5, 5);
  EXPECT_TRUE(Near(Snapshot(button).At(20, 10), kBlue)) << "hover shows the pressed image";

  KvImgButton plain;  // no pressed picture: hover keeps the normal one in view
  plain.CreateButton(host_, kId + 1, true);
  plain.Init(red_.get(), 100, 10);
  PostMouse(plain, WM_MOUSEHOVER, 5, 5);
  EXPECT_TRUE(Near(Snapshot(plain).At(20, 10), kRed));
}

TEST_F(Buttons, RadioSwitchStaysSelectedAfterLeaveAndPlainOneDoesNot) {
  for (bool radio : {true, false}) {
    KvSwitchButton button;
    button.CreateButton(host_, font_.get(), kId);
    button.SetRadio(radio);
    button.Init(10, 10, L"Tab", kGrey, 0, kBlue, 0xFFFFFF);
    ClickAt(button, 5, 5);
    EXPECT_EQ(host_.Count(kId, BN_CLICKED), 1) << radio;
    PostMouse(button, WM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(Near(Snapshot(button).At(2, 2), radio ? kBlue : kGrey)) << radio;
    if (radio) {
      PostMouse(button, WM_MOUSEHOVER, 5, 5);
      EXPECT_TRUE(Near(Snapshot(button).At(2, 2), kBlue));
      button.ResetStatus();
      EXPECT_TRUE(Near(Snapshot(button).At(2, 2), kGrey));
    }
    host_.commands.clear();
    ::DestroyWindow(button);
  }
}

TEST_F(Buttons, ReleaseOutsideGivesNoClick) {
  KvImgButton image;
  image.CreateButton(host_, 1, true);
  image.Init(red_.get(), 10, 10, blue_.get());
  KvSwitchButton text;
  text.CreateButton(host_, font_.get(), 2);
  text.Init(10, 50, L"Text", kGrey, 0, kBlue, 0xFFFFFF);
  KvSwitchImageButton item;
  item.CreateButton(host_, font_.get(), 3);
  item.Init(10, 100, L"Item", kGrey, 0, red_.get(), kBlue, 0xFFFFFF, blue_.get());
  KvSectionButton section;
  section.Create(host_, RECT{200, 10, 300, 50}, L"Section", 0, 0, 4);

  const HWND buttons[] = {image, text, item, section};
  for (UINT id = 1; id <= 4; ++id) {
    HWND button = buttons[id - 1];
    PostMouse(button, WM_LBUTTONDOWN, 5, 5);
    PostMouse(button, WM_LBUTTONUP, -30, 400);
    EXPECT_EQ(host_.Count(id, BN_CLICKED), 0) << "button " << id;
    EXPECT_NE(::GetCapture(), button) << "button " << id;
    ClickAt(button, 5, 5);
    EXPECT_EQ(host_.Count(id, BN_CLICKED), 1) << "button " << id;
  }
  // The radio item pressed and dragged away is not left looking chosen.
  KvSwitchImageButton other;
  other.CreateButton(host_, font_.get(), 5);
  other.Init(200, 100, L"Other", kGrey, 0, nullptr, kBlue, 0xFFFFFF, nullptr);
  PostMouse(other, WM_LBUTTONDOWN, 5, 5);
  PostMouse(other, WM_LBUTTONUP, -30, 400);
  EXPECT_TRUE(Near(Snapshot(other).At(3, 3), kGrey));
}

TEST_F(Buttons, SwitchImageInStateOneReactsOnlyToTheDeleteGlyph) {
  KvSwitchImageButton item;
  item.CreateButton(host_, font_.get(), kId);
  item.SetImageDeleteNormal(cross_.get());
  item.Init(10, 10, L"Recording 1", kGrey, 0, red_.get(), kBlue, 0xFFFFFF, blue_.get());
  const int width = static_cast<int>(item.GetWidth());
  const int glyph_x = width - 10 - 4 + 5;  // centre of the glyph at (width - 10 - 4, 2)
  ASSERT_EQ(ChildRect(item).right - ChildRect(item).left, width);

  ClickAt(item, 20, 30);
  EXPECT_EQ(host_.Count(kId, BN_CLICKED), 1);
  EXPECT_FALSE(item.IsDelete());
  ClickAt(item, 20, 30);
  EXPECT_EQ(host_.Count(kId, BN_CLICKED), 1) << "selected: a second press elsewhere is ignored";
  ClickAt(item, glyph_x, 7);
  EXPECT_EQ(host_.Count(kId, BN_CLICKED), 2);
  EXPECT_TRUE(item.IsDelete());
  PostMouse(item, WM_MOUSELEAVE, 0, 0);
  EXPECT_TRUE(Near(Snapshot(item).At(3, 3), kBlue)) << "a radio item stays selected";
}

TEST_F(Buttons, SwitchImageDisabledShowsTheGreyPicture) {
  KvSwitchImageButton item;
  item.CreateButton(host_, font_.get(), kId);
  item.Init(10, 10, L"", kGrey, 0, red_.get(), kBlue, 0xFFFFFF, blue_.get());
  const POINT image = {10 + 20, 10 + 10};  // margins 10, picture 40 x 20
  EXPECT_TRUE(Near(Snapshot(item).At(image.x, image.y), kRed));
  item.EnableWindow(FALSE);
  EXPECT_TRUE(Near(Snapshot(item).At(image.x, image.y), RGB(76, 76, 76)))
      << "0.299 of full red in every channel";
  EXPECT_TRUE(Near(Snapshot(item).At(3, 3), RGB(0x7F, 0x7F, 0x7F)));
}

TEST_F(Buttons, CheckBoxTogglesOnEveryClick) {
  KvImgButton box;
  box.CreateButton(host_, kId, true);
  box.setFont(font_.get());
  box.Init(red_.get(), 10, 10, blue_.get(), L"Remember", 1, 0, 0, 1);
  ClickAt(box, 5, 5);
  EXPECT_TRUE(box.IsChecked());
  EXPECT_TRUE(Near(Snapshot(box).At(20, 10), kBlue));
  ClickAt(box, 5, 5);
  EXPECT_FALSE(box.IsChecked());
  EXPECT_EQ(host_.Count(kId, BN_CLICKED), 2);
}

class SectionButtons : public Buttons {
 protected:
  void SetUp() override {
    Buttons::SetUp();
    section_.Create(host_, RECT{10, 10, 200, 60}, L"Record", 0, 0, kId);
    section_.SetFont(font_.get())
        .SetImgAndTextLayoutType(kImgLeftTextRight)
        .SetHMargin(10)
        .SetVMargin(6)
        .SetImageAndTextGap(6)
        .SetColorOfNormalStatus(kGrey, kBlue, kRed)
        .SetColorOfHoverStatus(RGB(255, 255, 0), kBlue, kRed)
        .SetColorOfPressedStatus(RGB(0, 128, 0), kBlue, kRed)
        .SetColorOfDisableStatus(RGB(64, 64, 64), kBlue, kRed)
        .SetImages(green_.get(), nullptr, nullptr, nullptr);
    section_.Load(true);
  }
  KvSectionButton section_;
};

TEST_F(SectionButtons, CustomPainterDrawsOnlyBackgroundBorderAndItsOwn) {
  const RECT all = {0, 0, Snapshot(section_).width, Snapshot(section_).height};
  Snapshot plain(section_);
  EXPECT_GT(plain.CountNear(RGB(0, 255, 0), 2, all), 500) << "the image";
  EXPECT_GT(plain.CountNear(kBlue, 60, all), 10) << "the text";

  KvSectionButton::Painter painter = [](HWND, Gdiplus::Graphics& graphics, RECT& client, int) {
    Gdiplus::SolidBrush magenta(Gdiplus::Color(255, 255, 0, 255));
    graphics.FillRectangle(&magenta, client.right - 20, 5, 8, 8);
  };
  section_.setFuncDrawTextAndImage(painter);
  ::InvalidateRect(section_, nullptr, FALSE);
  Snapshot painted(section_);
  EXPECT_EQ(painted.CountNear(RGB(0, 255, 0), 60, all), 0) << "no image";
  EXPECT_EQ(painted.CountNear(kBlue, 60, all), 0) << "no text";
  EXPECT_EQ(painted.CountNear(RGB(255, 0, 255), 2, all), 64) << "the painter's square";
  EXPECT_TRUE(Near(painted.At(30, painted.height / 2), kGrey)) << "the background";
  EXPECT_TRUE(Near(painted.At(0, painted.height / 2), kRed)) << "the border";

  KvSectionButton::Painter none;
  section_.setFuncDrawTextAndImage(none);
  EXPECT_GT(Snapshot(section_).CountNear(RGB(0, 255, 0), 2, all), 500) << "default again";
}

TEST_F(SectionButtons, HoverPressCheckStyleAndDisable) {
  auto background = [this] { return Snapshot(section_).At(30, 3); };
  EXPECT_TRUE(Near(background(), kGrey));
  PostMouse(section_, WM_MOUSEMOVE, 20, 20);
  EXPECT_TRUE(Near(background(), RGB(255, 255, 0))) << "hover";
  PostMouse(section_, WM_MOUSELEAVE, 0, 0);
  EXPECT_TRUE(Near(background(), kGrey));

  section_.SetCheckStyle(true);
  ClickAt(section_, 20, 20);
  PostMouse(section_, WM_MOUSELEAVE, 0, 0);
  EXPECT_TRUE(Near(background(), RGB(0, 128, 0))) << "check style stays pressed";
  EXPECT_EQ(host_.Count(kId, BN_CLICKED), 1);
  section_.ResetStatus();
  section_.EnableWindow(FALSE);
  EXPECT_TRUE(Near(background(), RGB(64, 64, 64)));
  PostMouse(section_, WM_MOUSELEAVE, 0, 0);
  EXPECT_TRUE(Near(background(), RGB(64, 64, 64)));
}

// Tool-tip windows owned (through the button) by the host's top-level window.
HWND FindTooltip(HWND owner) {
  struct Search {
    HWND owner;
    HWND found;
  } search = {owner, nullptr};
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        wchar_t name[64] = {};
        ::GetClassNameW(window, name, 64);
        if (std::wstring(name) == TOOLTIPS_CLASSW && ::GetWindow(window, GW_OWNER) == s->owner) {
          s->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring ToolText(HWND tooltip, HWND button) {
  wchar_t text[80] = {};
  TOOLINFOW tool = {};
  tool.cbSize = sizeof(tool);
  tool.hwnd = ::GetParent(button);
  tool.uId = reinterpret_cast<UINT_PTR>(button);
  tool.lpszText = text;
  ::SendMessageW(tooltip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
  return text;
}

TEST_F(Buttons, TooltipTextIsReplacedNotAddedAgain) {
  KvSectionButton early;
  early.SetTooltip(L"before the window");  // logged and ignored
  KvImgButton button;
  button.CreateButton(host_, kId, true);
  button.Init(red_.get(), 10, 10);
  button.SetTooltip(L"first");
  button.SetTooltip(L"second");
  HWND tooltip = FindTooltip(host_);
  ASSERT_NE(tooltip, nullptr);
  EXPECT_EQ(::SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
  EXPECT_EQ(ToolText(tooltip, button), L"second");
  ::DestroyWindow(button);
  EXPECT_FALSE(::IsWindow(tooltip)) << "the tool tip goes with its button";
}

// A second copy of the library, loaded and unloaded by path: its button class must go with it.
TEST(ButtonClasses, AreUnregisteredWhenTheLibraryUnloads) {
  wchar_t exe[MAX_PATH];
  ::GetModuleFileNameW(::GetModuleHandleW(L"Vantorel.dll"), exe, MAX_PATH);
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring copy = std::wstring(temp) + L"VantorelUnloadCopy.dll";
  ASSERT_TRUE(::CopyFileW(exe, copy.c_str(), FALSE));
  HMODULE library = ::LoadLibraryW(copy.c_str());
  ASSERT_NE(library, nullptr);
  using Construct = void (*)(void*);
  using Create = HWND (*)(void*, HWND, UINT, bool);
  auto find = [library](const char* name) {
    return reinterpret_cast<void*>(::GetProcAddress(library, name));
  };
  auto construct = reinterpret_cast<Construct>(find("_ZN11KvImgButtonC1Ev"));
  auto destroy = reinterpret_cast<Construct>(find("_ZN11KvImgButtonD1Ev"));
  auto create = reinterpret_cast<Create>(find("_ZN11KvImgButton12CreateButtonEP6HWND__jb"));
  ASSERT_TRUE(construct && destroy && create);

  wchar_t name[64] = {};
  {
    ControlHost host;
    alignas(16) unsigned char facade[64];
    construct(facade);
    HWND button = create(facade, host, kId, true);
    ASSERT_NE(button, nullptr);
    ::GetClassNameW(button, name, 64);
    ::DestroyWindow(button);
    destroy(facade);
  }
  WNDCLASSEXW info = {};
  info.cbSize = sizeof(info);
  EXPECT_TRUE(::GetClassInfoExW(library, name, &info)) << "registered while loaded";
  ASSERT_TRUE(::FreeLibrary(library));
  EXPECT_FALSE(::GetClassInfoExW(library, name, &info)) << "gone with the library";
  ::DeleteFileW(copy.c_str());
}

}  // namespace
