// The shipped home module in the real product: it fills the view, its controls sit where
// its layout puts them and show what they should. (Clicks and drags are real X input in
// recorder_test.sh.)
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

#include "app_runner.h"
#include "home_layout.h"

namespace {

template <typename Condition>
bool Eventually(Condition condition, DWORD timeout_ms = 10000) {
  const DWORD start = ::GetTickCount();
  while (!condition()) {
    if (::GetTickCount() - start > timeout_ms) return false;
    ::Sleep(20);
  }
  return true;
}

RECT WindowRect(HWND window) {
  RECT rect = {};
  ::GetWindowRect(window, &rect);
  return rect;
}

HWND HomeWindow(HWND main_window) {
  HWND view = ::FindWindowExW(main_window, nullptr, nullptr, nullptr);
  return view ? ::FindWindowExW(view, nullptr, L"PellavorneHomeView", nullptr) : nullptr;
}

// Control id -> rectangle in the home window's client coordinates.
std::map<int, RECT> Controls(HWND home) {
  std::map<int, RECT> controls;
  for (HWND child = ::GetWindow(home, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    RECT rect = WindowRect(child);
    ::MapWindowPoints(nullptr, home, reinterpret_cast<POINT*>(&rect), 2);
    controls[::GetDlgCtrlID(child)] = rect;
  }
  return controls;
}

COLORREF ScreenPixel(int x, int y) {
  HDC screen = ::GetDC(nullptr);
  const COLORREF colour = ::GetPixel(screen, x, y);
  ::ReleaseDC(nullptr, screen);
  return colour;
}

bool Near(COLORREF a, COLORREF b, int tolerance = 6) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
         std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

class HomeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(app_.Start(L"", copy_.Executable()));
    main_ = app_.WaitForMainWindow();
    ASSERT_NE(main_, nullptr);
    ASSERT_TRUE(Eventually([this] { return (home_ = HomeWindow(main_)) != nullptr; }));
  }
  void TearDown() override {
    if (app_.WaitForExit(0) == -1) {
      ::PostMessageW(main_, WM_CLOSE, 0, 0);
      EXPECT_EQ(app_.WaitForExit(), 0);
    }
  }
  POINT ScreenPoint(int x, int y) const {
    POINT point = {x, y};
    ::ClientToScreen(home_, &point);
    return point;
  }
  AppCopy copy_;
  RunningApp app_;
  HWND main_ = nullptr;
  HWND home_ = nullptr;
};

TEST_F(HomeTest, FillsTheViewWithItsControlsWhereTheLayoutPutsThem) {
  HWND view = ::GetParent(home_);
  RECT view_client = {};
  ::GetClientRect(view, &view_client);
  RECT home_client = {};
  ::GetClientRect(home_, &home_client);
  EXPECT_EQ(home_client.right, view_client.right);
  EXPECT_EQ(home_client.bottom, view_client.bottom);

  const std::map<int, RECT> controls = Controls(home_);
  ASSERT_EQ(controls.size(), size_t(kTitleButtonCount + kActionButtonCount));
  HomeLayoutInput input = {home_client.right, home_client.bottom, 1.0f, {}};
  for (int i = 0; i < kActionButtonCount; ++i) {
    const RECT& rect = controls.at(3101 + i);
    input.actions[i] = {rect.right - rect.left, rect.bottom - rect.top};
    EXPECT_GT(rect.right - rect.left, 40) << "action " << i << " has its text";
  }
  const HomeLayout layout = LayoutHome(input);
  for (int i = 0; i < kTitleButtonCount; ++i)
    EXPECT_TRUE(::EqualRect(&controls.at(3001 + i), &layout.title_buttons[i])) << "title " << i;
  for (int i = 0; i < kActionButtonCount; ++i)
    EXPECT_TRUE(::EqualRect(&controls.at(3101 + i), &layout.actions[i])) << "action " << i;

  // What the screen shows: the dark title band with the product name written in white, the
  // exit button at the right end, the accent screenshot button and the disabled stop button.
  ASSERT_TRUE(Eventually([&] {
    const POINT band = ScreenPoint(layout.product_name.right - 4, 4);
    const POINT shot = ScreenPoint(layout.actions[kScreenshotButton].left + 6,
                                   layout.actions[kScreenshotButton].top + 4);
    const POINT stop = ScreenPoint(layout.actions[kStopButton].left + 6,
                                   layout.actions[kStopButton].top + 4);
    const POINT body = ScreenPoint(home_client.right / 2, home_client.bottom - 12);
    return Near(ScreenPixel(band.x, band.y), RGB(38, 44, 58)) &&
           Near(ScreenPixel(shot.x, shot.y), RGB(59, 130, 246)) &&
           Near(ScreenPixel(stop.x, stop.y), RGB(213, 217, 224)) &&
           Near(ScreenPixel(body.x, body.y), RGB(246, 247, 249));
  }));
  int white = 0;
  for (int y = layout.product_name.top; y < layout.product_name.bottom; ++y) {
    for (int x = layout.product_name.left; x < layout.product_name.left + 200; ++x) {
      const POINT at = ScreenPoint(x, y);
      white += Near(ScreenPixel(at.x, at.y), RGB(255, 255, 255), 40);
    }
  }
  EXPECT_GT(white, 150) << "the product name is written in the title band";
  const RECT exit = layout.title_buttons[kExitButton];
  EXPECT_LE(home_client.right - exit.right, 12);
}

}  // namespace
