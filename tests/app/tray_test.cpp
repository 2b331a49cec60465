#include <gtest/gtest.h>
#include <windows.h>

#include "shell/tray_icon.h"
#include "shell/tray_menu.h"

namespace {

TEST(TrayIcon, RecordAndBalloon) {
  HWND window = ::CreateWindowExW(0, L"STATIC", L"tray", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, nullptr, nullptr);
  AddTrayIcon(window, ::LoadIconW(nullptr, IDI_APPLICATION), L"Pellavorne Screen Recorder");
  const NOTIFYICONDATAW& record = TrayIconRecord();
  EXPECT_EQ(record.cbSize, 976u);
  EXPECT_EQ(record.hWnd, window);
  EXPECT_EQ(record.uID, 1001u);
  EXPECT_EQ(record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(record.uCallbackMessage, 0x8001u);
  EXPECT_STREQ(record.szTip, L"Pellavorne Screen Recorder");
  EXPECT_STREQ(record.szInfo, L"");

  ShowTrayTip(L"Still running here.");
  EXPECT_TRUE(record.uFlags & NIF_INFO);
  EXPECT_STREQ(record.szInfo, L"Still running here.");
  EXPECT_STREQ(record.szInfoTitle, L"");

  // Texts longer than their fields are cut, not dropped.
  ShowTrayTip(std::wstring(400, L'x'));
  EXPECT_EQ(std::wstring(record.szInfo).size(), 255u);
  EXPECT_TRUE(record.uFlags & NIF_INFO);

  RemoveTrayIcon();
  ::DestroyWindow(window);
}

TEST(TrayMenu, PointOffEveryMonitorIsPulledInHorizontally) {
  const RECT work = {0, 0, 1920, 1040};
  POINT clamped = ClampIntoWorkArea({2500, 1070}, work);
  EXPECT_EQ(clamped.x, 1920);
  EXPECT_EQ(clamped.y, 1070);
  clamped = ClampIntoWorkArea({-40, 12}, work);
  EXPECT_EQ(clamped.x, 0);
  EXPECT_EQ(clamped.y, 12);
  clamped = ClampIntoWorkArea({300, 500}, work);
  EXPECT_EQ(clamped.x, 300);
}

}  // namespace
