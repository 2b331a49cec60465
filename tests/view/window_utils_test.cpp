#include <gtest/gtest.h>

#include <string>

#include "test_support.h"
#include "view/utils.h"

namespace {

TEST(WindowUtils, EditValueIsTheWholeText) {
  HWND edit = ::CreateWindowExW(0, L"EDIT", L"hello there", WS_POPUP, 0, 0, 100, 20, nullptr,
                                nullptr, nullptr, nullptr);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(Utils::GetEditValue(edit), L"hello there");
  ::SetWindowTextW(edit, L"");
  EXPECT_EQ(Utils::GetEditValue(edit), L"");
  ::DestroyWindow(edit);
}

TEST(WindowUtils, RelativeRectIsInTheParentsClientCoordinates) {
  HWND parent = CreatePlainWindow(RECT{200, 150, 400, 350});
  HWND child = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 15, 25, 40, 30, parent,
                                 nullptr, nullptr, nullptr);
  const RECT rect = Utils::GetWindowRelativeRect(child);
  EXPECT_EQ(rect.left, 15);
  EXPECT_EQ(rect.top, 25);
  EXPECT_EQ(rect.right, 55);
  EXPECT_EQ(rect.bottom, 55);
  ::DestroyWindow(parent);
}

TEST(WindowUtils, ScrollBarButtonSizeEvenWhenTheBarIsHidden) {
  HWND with_bar = CreatePlainWindow(RECT{0, 0, 100, 100}, WS_POPUP | WS_VSCROLL);
  HWND without_bar = CreatePlainWindow(RECT{0, 0, 100, 100}, WS_POPUP);
  const int shown = Utils::GetWindowScrollBarThumbWidth(with_bar);
  EXPECT_GT(shown, 0);
  EXPECT_EQ(Utils::GetWindowScrollBarThumbWidth(without_bar), shown);
  EXPECT_FALSE(::GetWindowLongW(without_bar, GWL_STYLE) & WS_VSCROLL) << "hidden again";
  ::DestroyWindow(with_bar);
  ::DestroyWindow(without_bar);
}

TEST(WindowUtils, ModuleDirEndsWithABackslash) {
  HMODULE library = ::GetModuleHandleW(L"Vantorel.dll");
  ASSERT_NE(library, nullptr);
  const std::wstring dir = Utils::GetDllModuleDir(library);
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), L'\\');
  EXPECT_NE(::GetFileAttributesW((dir + L"Vantorel.dll").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(WindowUtils, NullToEmpty) {
  EXPECT_STREQ(Utils::NullToEmpty(nullptr), "");
  const char* text = "x";
  EXPECT_EQ(Utils::NullToEmpty(text), text);
}

}  // namespace
