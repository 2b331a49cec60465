#include "app/single_instance.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

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

// Two starts at the same moment: exactly one of them may become the first instance. Threads
// stand in for processes; the guard is one kernel object either way.
TEST(SingleInstance, OfTwoRacingStartsExactlyOneWins) {
  constexpr int kRounds = 300;
  int rounds_with_one_winner = 0;
  for (int round = 0; round < kRounds; ++round) {
    const SingleInstanceNames names =
        MakeSingleInstanceNames(L"Race " + std::to_wstring(::GetCurrentProcessId()) + L" " +
                                std::to_wstring(round));
    std::atomic<int> ready{0};
    std::atomic<int> winners{0};
    auto start = [&] {
      ++ready;
      while (ready.load() < 2) {
      }
      if (IsFirstInstance(names)) ++winners;
    };
    std::thread first(start), second(start);
    first.join();
    second.join();
    rounds_with_one_winner += winners == 1;
    StopActivationListener();  // closes the guard for the next round
  }
  EXPECT_EQ(rounds_with_one_winner, kRounds);
}

TEST(SingleInstance, SignalWithNobodyListeningDoesNothing) {
  SignalFirstInstance(MakeSingleInstanceNames(L"Nobody Runs This"));
}

}  // namespace
