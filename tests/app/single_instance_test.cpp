#include "app/single_instance.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "app/process_state.h"

namespace {

// Names of this test program's own, so a running product is never disturbed.
SingleInstanceNames TestNames() {
  return MakeSingleInstanceNames(L"Single Instance Test " +
                                 std::to_wstring(::GetCurrentProcessId()));
}

bool WaitForActivation(HWND window, DWORD timeout_ms) {
  const DWORD start = ::GetTickCount();
  MSG message;
  while (::GetTickCount() - start < timeout_ms) {
    if (::PeekMessageW(&message, window, kActivationMessage, kActivationMessage, PM_REMOVE))
      return true;
    ::Sleep(10);
  }
  return false;
}

TEST(SingleInstance, SecondStartSignalsTheFirstWhichIsActivated) {
  const SingleInstanceNames names = TestNames();
  HWND window = ::CreateWindowExW(0, L"STATIC", L"frame", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, nullptr, nullptr);
  SetMainWindowHandle(window);

  ASSERT_TRUE(IsFirstInstance(names));
  ASSERT_TRUE(StartActivationListener(names));
  EXPECT_FALSE(IsFirstInstance(names));  // the guard is held now

  SignalFirstInstance(names);
  EXPECT_TRUE(WaitForActivation(window, 2000));
  // The event was reset: one signal, one activation.
  EXPECT_FALSE(WaitForActivation(window, 200));
  SignalFirstInstance(names);
  EXPECT_TRUE(WaitForActivation(window, 2000));

  const DWORD start = ::GetTickCount();
  StopActivationListener();
  EXPECT_LT(::GetTickCount() - start, 1000u);

  // Everything was closed: the names are free again, and nobody listens.
  SignalFirstInstance(names);
  EXPECT_FALSE(WaitForActivation(window, 200));
  ASSERT_TRUE(IsFirstInstance(names));
  StopActivationListener();

  SetMainWindowHandle(nullptr);
  ::DestroyWindow(window);
}

TEST(SingleInstance, SignalWithNobodyListeningDoesNothing) {
  SignalFirstInstance(MakeSingleInstanceNames(L"Nobody Runs This"));
}

}  // namespace
