#include "common/win32/frame_window.h"

#include <gtest/gtest.h>

#include "common/win32/app_module.h"
#include "test_support.h"

namespace {

class TestFrame : public CFrameWindowImpl<TestFrame> {
 public:
  DECLARE_FRAME_WND_CLASS(L"OstrevanTestFrame", 1)
  BEGIN_MSG_MAP(TestFrame)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    CHAIN_MSG_MAP(CFrameWindowImpl<TestFrame>)
  END_MSG_MAP()
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL& handled) {
    ++sizes;
    handled = FALSE;  // the frame's own handler lays out
    return 0;
  }
  void UpdateLayout(BOOL = TRUE) { ++layouts; }
  int sizes = 0;
  int layouts = 0;
};

TEST(FrameWindow, ClassStyleAndTitle) {
  TestFrame frame;
  ASSERT_TRUE(frame.CreateEx());
  wchar_t name[64] = {};
  ::GetClassNameW(frame, name, 64);
  EXPECT_STREQ(name, L"OstrevanTestFrame");
  EXPECT_EQ(frame.GetWindowText(), L"OstrevanTestFrame");
  EXPECT_EQ(::GetClassLongPtrW(frame, GCL_STYLE), 0);
  EXPECT_EQ(::GetClassLongPtrW(frame, GCLP_HBRBACKGROUND), COLOR_WINDOW + 1);
  EXPECT_EQ(reinterpret_cast<HCURSOR>(::GetClassLongPtrW(frame, GCLP_HCURSOR)),
            ::LoadCursorW(nullptr, IDC_ARROW));
  EXPECT_EQ(::GetClassLongPtrW(frame, GCLP_HICON), 0) << "no icon 1 in the test program";
  EXPECT_EQ(frame.GetStyle() & WS_OVERLAPPEDWINDOW, static_cast<DWORD>(WS_OVERLAPPEDWINDOW));
  EXPECT_TRUE(frame.GetExStyle() & WS_EX_APPWINDOW);
  EXPECT_EQ(frame.GetParent(), nullptr);
  frame.DestroyWindow();
}

TEST(FrameWindow, SizingLaysOutThroughTheChainedMap) {
  TestFrame frame;
  ASSERT_TRUE(frame.CreateEx(nullptr, MakeRect(10, 10, 300, 200), WS_POPUP | WS_THICKFRAME));
  const int sizes = frame.sizes, layouts = frame.layouts;
  frame.SetWindowPos(nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(frame.sizes, sizes + 1);
  EXPECT_EQ(frame.layouts, layouts + 1);
  frame.SendMessage(WM_SIZE, SIZE_MINIMIZED, 0);
  EXPECT_EQ(frame.layouts, layouts + 1) << "nothing to lay out while minimised";
  frame.DestroyWindow();
}

// The icon of a frame class comes from the resource instance; user32 carries the standard
// application icon under IDI_APPLICATION.
class IconFrame : public CFrameWindowImpl<IconFrame> {
 public:
  DECLARE_FRAME_WND_CLASS(nullptr, 32512)
};

TEST(FrameWindow, ClassIconsFromTheResourceInstance) {
  HINSTANCE previous = AppModule().SetResourceInstance(::GetModuleHandleW(L"user32.dll"));
  IconFrame frame;
  HWND window = frame.CreateEx(nullptr, MakeRect(0, 0, 100, 100));
  AppModule().SetResourceInstance(previous);
  ASSERT_TRUE(window);
  EXPECT_EQ(frame.GetWindowText(), L"") << "no class name was declared";
  EXPECT_NE(::GetClassLongPtrW(window, GCLP_HICON), 0);
  EXPECT_NE(::GetClassLongPtrW(window, GCLP_HICONSM), 0);
  frame.DestroyWindow();
}

}  // namespace
