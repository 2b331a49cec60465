// The real main frame in this test program, with window-state commands sent from threads of
// our own as a module's threads would send them.
#include "shell/main_frame.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <gdiplus.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "app/process_state.h"
#include "dialogs/ui_dialog.h"
#include "host/module_api.h"
#include "host/platform_handler.h"
#include "host/resource_catalogues.h"
#include "shell/main_thread_call.h"
#include "shell/shell_state.h"
#include "view/dispatch_queue.h"
#include "winlayer/app_module.h"

namespace {

constexpr RECT kStart = {100, 120, 840, 360};  // 740 x 240

class Program : public ::testing::Environment {
 public:
  void SetUp() override {
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token_, &input, nullptr);
    AppModule().Init(::GetModuleHandleW(nullptr));
  }
  void TearDown() override {
    AppModule().Term();
    FinishFontPreload();  // the first frame started it
    Gdiplus::GdiplusShutdown(token_);
  }

 private:
  ULONG_PTR token_ = 0;
};
const auto* const g_program = ::testing::AddGlobalTestEnvironment(new Program);

bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms = 60000) {
  const DWORD start = ::GetTickCount();
  MSG message;
  while (!done()) {
    if (::GetTickCount() - start > timeout_ms) return false;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

void Send(const char* name) {
  TERObserveData1 record = {};
  record.name = name;
  record.sender = reinterpret_cast<TERModuleId>(static_cast<uintptr_t>(0x1234));
  PlatformHandler(&record);
}

RECT WindowRect(HWND window) {
  RECT rect = {};
  ::GetWindowRect(window, &rect);
  return rect;
}

bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class MainFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_ = std::make_unique<CMainFrame>();
    RECT rect = kStart;
    ASSERT_NE(frame_->CreateEx(nullptr, rect, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
              nullptr);
    frame_->ShowWindow(SW_SHOWNOACTIVATE);
    ASSERT_EQ(MainFrame(), frame_.get());
  }
  void TearDown() override {
    if (frame_ && frame_->IsWindow()) frame_->DestroyWindow();
    frame_.reset();
  }

  // Runs `work` on a thread of its own while this (the main) thread answers messages.
  bool OnAnotherThread(const std::function<void()>& work) {
    std::atomic<bool> finished{false};
    std::thread thread([&] {
      work();
      finished = true;
    });
    const bool done = PumpUntil([&] { return finished.load(); });
    thread.join();
    return done;
  }

  std::unique_ptr<CMainFrame> frame_;
};

// The four standing dialogs are not made while the frame is built and shown: the first idle
// makes them, or sooner the first look-up on the main thread. Other threads find none until
// then, and a frame that is gone makes none.
TEST_F(MainFrameTest, StandingDialogsAreMadeWhenFirstIdleOrFirstNeeded) {
  constexpr int kDialogs[] = {kHostDialogUpdateDownload, kHostDialogSheetTip,
                              kHostDialogUpdateList, kHostDialogProgress};
  for (int number : kDialogs) EXPECT_EQ(MadeHostDialog(number), nullptr) << number;
  UiDialog* from_thread = reinterpret_cast<UiDialog*>(1);
  ASSERT_TRUE(OnAnotherThread([&] { from_thread = HostDialog(kHostDialogProgress); }));
  EXPECT_EQ(from_thread, nullptr) << "a dialog was made off the main thread";
  for (int number : kDialogs) EXPECT_EQ(MadeHostDialog(number), nullptr) << number;

  UiDialog* tip = HostDialog(kHostDialogSheetTip);
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(MadeHostDialog(kHostDialogSheetTip), tip);
  for (int number : kDialogs) {
    UiDialog* dialog = MadeHostDialog(number);
    ASSERT_NE(dialog, nullptr) << number;
    EXPECT_TRUE(::IsWindow(dialog->m_hWnd)) << number;
    EXPECT_FALSE(::IsWindowVisible(dialog->m_hWnd)) << number;
  }
  ASSERT_TRUE(OnAnotherThread([&] { from_thread = HostDialog(kHostDialogProgress); }));
  EXPECT_EQ(from_thread, MadeHostDialog(kHostDialogProgress));

  // A second frame: its first idle makes them; once it is destroyed, nothing makes them.
  frame_->DestroyWindow();
  frame_.reset();
  for (int number : kDialogs) EXPECT_EQ(MadeHostDialog(number), nullptr) << number;
  SetUp();
  EXPECT_EQ(MadeHostDialog(kHostDialogProgress), nullptr);
  frame_->OnIdle();
  EXPECT_NE(MadeHostDialog(kHostDialogProgress), nullptr);
  EXPECT_NE(MadeHostDialog(kHostDialogUpdateList), nullptr);
  frame_->DestroyWindow();
  SetUp();
  frame_->DestroyWindow();
  EXPECT_EQ(HostDialog(kHostDialogProgress), nullptr) << "a dialog was made for a frame that is gone";
}

TEST_F(MainFrameTest, AWindowCommandFromAnotherThreadIsDoneWhenItsSendReturns) {
  RECT work = {};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const HWND window = frame_->m_hWnd;
  RECT right_after = {};
  bool maximised_after = false;
  DWORD ran_on = 0;
  const DWORD main_thread = ::GetCurrentThreadId();
  ASSERT_TRUE(OnAnotherThread([&] {
    Send("LIBPLATFORM_COMMAND_PRESS_MAX_OR_RESET");
    right_after = WindowRect(window);
    maximised_after = frame_->maximised();
    CallOnMainThread([&] { ran_on = ::GetCurrentThreadId(); });
  }));
  EXPECT_EQ(right_after.right - right_after.left, work.right - work.left);
  EXPECT_EQ(right_after.bottom - right_after.top, work.bottom - work.top);
  EXPECT_TRUE(maximised_after);
  EXPECT_EQ(ran_on, main_thread);
}

// The toggle reads and writes the frame's flag and saved rectangle: from many threads at once
// it must still be one toggle after the other. (Each toggle redraws the full-screen shadow,
// a quarter of a second on a busy machine, so the threads take turns a dozen times each.)
TEST_F(MainFrameTest, MaximiseTogglesFromEightThreadsEndExactlyWhereTheyBegan) {
  constexpr int kThreads = 8;
  constexpr int kToggles = 12;
  std::atomic<int> finished{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < kToggles; ++i) Send("LIBPLATFORM_COMMAND_PRESS_MAX_OR_RESET");
      ++finished;
    });
  }
  const bool done = PumpUntil([&] { return finished == kThreads; }, 240000);
  for (std::thread& thread : threads) thread.join();
  ASSERT_TRUE(done);
  PumpUntil([] { return false; }, 50);

  EXPECT_FALSE(frame_->maximised());
  EXPECT_TRUE(WindowRect(frame_->m_hWnd) == kStart);
  const RECT view = WindowRect(frame_->view().m_hWnd);
  EXPECT_EQ(view.left - kStart.left, 1);
  EXPECT_EQ(view.top - kStart.top, 1);
  EXPECT_EQ(view.right - view.left, 736);
  EXPECT_EQ(view.bottom - view.top, 236);
}

// Modules are never unloaded: their threads may send window commands after Run has destroyed
// the frame. Those find nothing, and return at once.
TEST_F(MainFrameTest, AfterTheFrameIsGoneWindowCommandsDoNothing) {
  frame_->DestroyWindow();
  EXPECT_EQ(MainFrame(), nullptr);
  EXPECT_EQ(MainWindowHandle(), nullptr);
  frame_.reset();

  DWORD slowest = 0;
  ASSERT_TRUE(OnAnotherThread([&] {
    for (const char* name :
         {"LIBPLATFORM_COMMAND_PRESS_MAX_OR_RESET", "LIBPLATFORM_COMMAND_MINIMIZE_TO_TRAY",
          "LIBPLATFORM_COMMAND_RESTORE_FROM_TRAY", "LIBPLATFORM_COMMAND_CLOSE_WINDOW",
          "LIBPLATFORM_COMMAND_EXIT_APP"}) {
      const DWORD start = ::GetTickCount();
      Send(name);
      slowest = std::max<DWORD>(slowest, ::GetTickCount() - start);
    }
  }));
  EXPECT_LT(slowest, kMainThreadPatienceMs / 2) << "a sender waited for a frame that is gone";
  bool ran = true;
  ASSERT_TRUE(OnAnotherThread([&] { ran = CallOnMainThread([] {}); }));
  EXPECT_FALSE(ran);
}

// The main thread may itself be waiting for the thread that sends a window command (a
// module joining its worker, say). A sender that made the window calls itself would wait
// for the main thread forever; it stops waiting after its patience instead, and the
// command is done once the main thread is free again, not lost.
TEST_F(MainFrameTest, AMainThreadWaitingForTheSenderDelaysTheCommandButDoesNotHangIt) {
  auto send = [] { Send("LIBPLATFORM_COMMAND_PRESS_MAX_OR_RESET"); };
  HANDLE sender = ::CreateThread(
      nullptr, 0,
      [](void* context) -> DWORD {
        (*static_cast<decltype(send)*>(context))();
        return 0;
      },
      &send, 0, nullptr);
  ASSERT_NE(sender, nullptr);
  // Waiting without answering any message, as a blocked main thread does.
  const DWORD waited = ::WaitForSingleObject(sender, 4 * kMainThreadPatienceMs);
  EXPECT_EQ(waited, WAIT_OBJECT_0) << "the sender hangs";
  EXPECT_FALSE(frame_->maximised());
  EXPECT_TRUE(PumpUntil([&] { return frame_->maximised(); }, 10000)) << "the command was lost";
  ::WaitForSingleObject(sender, INFINITE);
  ::CloseHandle(sender);
}

// While it waits, the asker still answers what the main thread sends to its windows: the
// work may resize a window the asking thread owns.
TEST_F(MainFrameTest, TheAskerAnswersMessagesSentToItsWindowsWhileItWaits) {
  std::atomic<HWND> owned{nullptr};
  bool ran = false;
  ASSERT_TRUE(OnAnotherThread([&] {
    owned = ::CreateWindowExW(0, L"STATIC", L"asker's", WS_POPUP, 0, 0, 10, 10, nullptr,
                              nullptr, nullptr, nullptr);
    ran = CallOnMainThread([&] {
      ::SetWindowPos(owned, nullptr, 0, 0, 40, 30, SWP_NOZORDER | SWP_NOACTIVATE);
    });
    ::DestroyWindow(owned);
  }));
  EXPECT_TRUE(ran);
}

}  // namespace
