#include "winlayer/message_loop.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "winlayer/app_module.h"
#include "winlayer/window.h"
#include "test_support.h"

namespace {

using Log = std::vector<std::string>;

// Logs the WM_APP messages it is offered (taking `consumes`) and the idle calls it gets.
class Named : public CMessageFilter, public CIdleHandler {
 public:
  Named(std::string name, Log* log, UINT consumes = 0)
      : name_(std::move(name)), log_(log), consumes_(consumes) {}
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message < WM_APP) return FALSE;
    return Called() && consumes_ != 0 && msg->message == consumes_;
  }
  BOOL OnIdle() override { return Called(); }
  std::function<void()> on_call;

 private:
  bool Called() {
    log_->push_back(name_);
    if (on_call) on_call();
    return true;
  }
  std::string name_;
  Log* log_;
  UINT consumes_;
};

// Records the WM_APP messages that reach it through DispatchMessage.
class Receiver : public CWindowImpl<Receiver, CWindow, CWinTraits<WS_POPUP>> {
 public:
  BEGIN_MSG_MAP(Receiver)
    MESSAGE_RANGE_HANDLER(WM_APP, WM_APP + 100, OnApp)
  END_MSG_MAP()
  LRESULT OnApp(UINT message, WPARAM, LPARAM, BOOL&) {
    received.push_back(message);
    return 0;
  }
  std::vector<UINT> received;
};

void PostToSelf(UINT message) {
  ::PostThreadMessageW(::GetCurrentThreadId(), message, 0, 0);
}

TEST(MessageLoop, FiltersRunNewestFirstAndTheFirstTakerStopsTheOffer) {
  PumpPending();
  Receiver receiver;
  ASSERT_TRUE(receiver.Create(nullptr, MakeRect(0, 0, 10, 10)));
  Log log;
  Named first("first", &log), second("second", &log, WM_APP + 1), third("third", &log);
  CMessageLoop loop;
  loop.AddMessageFilter(&first);
  loop.AddMessageFilter(&second);
  loop.AddMessageFilter(&third);

  receiver.PostMessage(WM_APP + 1);  // taken by `second`
  receiver.PostMessage(WM_APP + 2);  // taken by nobody: dispatched
  ::PostQuitMessage(3);
  EXPECT_EQ(loop.Run(), 3) << "the quit code";

  EXPECT_EQ(log, (Log{"third", "second", "third", "second", "first"}));
  EXPECT_EQ(receiver.received, std::vector<UINT>{WM_APP + 2});
  receiver.DestroyWindow();
}

TEST(MessageLoop, RemovedFiltersAreSkippedEvenDuringTheOffer) {
  PumpPending();
  Log log;
  Named a("a", &log), b("b", &log), c("c", &log), d("d", &log);
  CMessageLoop loop;
  for (Named* filter : {&a, &b, &c, &d}) loop.AddMessageFilter(filter);
  EXPECT_TRUE(loop.RemoveMessageFilter(&b));
  EXPECT_FALSE(loop.RemoveMessageFilter(&b));
  d.on_call = [&] { loop.RemoveMessageFilter(&c); };  // c is next in this very offer
  PostToSelf(WM_APP);
  PostToSelf(WM_APP);
  ::PostQuitMessage(0);
  loop.Run();
  EXPECT_EQ(log, (Log{"d", "a", "d", "a"}));
}

TEST(MessageLoop, IdleHandlersRunInRegistrationOrder) {
  PumpPending();
  Log log;
  Named one("one", &log), two("two", &log), three("three", &log);
  CMessageLoop loop;
  for (Named* handler : {&one, &two, &three}) loop.AddIdleHandler(handler);
  EXPECT_TRUE(loop.RemoveIdleHandler(&two));
  loop.AddIdleHandler(&two);  // now the last
  three.on_call = [] { ::PostQuitMessage(11); };
  EXPECT_EQ(loop.Run(), 11);
  EXPECT_EQ(log, (Log{"one", "three", "two"}));
}

// Logs idle calls with their count and the messages the loop takes; runs one scripted step
// at the end of every idle phase.
class ScriptedLoop : public CMessageLoop, public CMessageFilter {
 public:
  ScriptedLoop() { AddMessageFilter(this); }
  BOOL OnIdle(int idle_count) override {
    log.push_back("idle" + std::to_string(idle_count));
    if (idle_count < 1) return TRUE;  // asks for one more idle call
    if (step < steps.size()) steps[step++]();
    return FALSE;
  }
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->hwnd) return FALSE;  // only the script's thread messages
    if (msg->message == WM_TIMER) ::KillTimer(nullptr, msg->wParam);
    log.push_back(msg->message == WM_TIMER ? "timer" : std::to_string(msg->message));
    return TRUE;
  }
  Log log;
  std::vector<std::function<void()>> steps;
  size_t step = 0;
};

TEST(MessageLoop, IdleIsReArmedAfterOrdinaryMessagesOnly) {
  PumpPending();
  ScriptedLoop loop;
  Log expected;
  // After a message that does not re-arm idling only the timer wakes the loop again.
  const UINT quiet_messages[] = {WM_MOUSEMOVE, WM_NCMOUSEMOVE, WM_PAINT, 0x0118};
  for (UINT quiet : quiet_messages) {
    loop.steps.push_back([quiet] {
      PostToSelf(quiet);
      ::SetTimer(nullptr, 0, 10, nullptr);
    });
    expected.insert(expected.end(), {"idle0", "idle1", std::to_string(quiet), "timer"});
  }
  loop.steps.push_back([] { PostToSelf(WM_APP); });
  loop.steps.push_back([] { ::PostQuitMessage(9); });
  expected.insert(expected.end(), {"idle0", "idle1", std::to_string(WM_APP), "idle0", "idle1"});
  EXPECT_EQ(loop.Run(), 9);
  EXPECT_EQ(loop.log, expected);
}

std::string g_hooks;
OSTREVAN_OBJECT_ENTRY(
    first_entry, [] { g_hooks += "start first;"; }, [] { g_hooks += "stop first;"; });
OSTREVAN_OBJECT_ENTRY(
    second_entry, [] { g_hooks += "start second;"; }, [] { g_hooks += "stop second;"; });
OSTREVAN_OBJECT_ENTRY(empty_entry, nullptr, nullptr);  // skipped, not called

TEST(AppModule, HooksInOrderAndOneMessageLoopPerThread) {
  CAppModule module;
  CMessageLoop main_loop, second_main_loop, worker_loop;
  EXPECT_FALSE(module.AddMessageLoop(&main_loop)) << "no map before Init";
  g_hooks.clear();
  ASSERT_EQ(module.Init(::GetModuleHandleW(nullptr)), S_OK);
  EXPECT_EQ(module.Init(::GetModuleHandleW(nullptr)), E_UNEXPECTED);
  EXPECT_EQ(g_hooks, "start first;start second;");
  EXPECT_EQ(module.m_dwMainThreadID, ::GetCurrentThreadId());

  EXPECT_TRUE(module.AddMessageLoop(&main_loop));
  EXPECT_FALSE(module.AddMessageLoop(&second_main_loop));
  DWORD worker_id = 0;
  bool worker_saw_own = false;
  std::thread worker([&] {
    worker_id = ::GetCurrentThreadId();
    module.AddMessageLoop(&worker_loop);
    worker_saw_own = module.GetMessageLoop() == &worker_loop;
  });
  worker.join();
  EXPECT_TRUE(worker_saw_own);
  EXPECT_EQ(module.GetMessageLoop(worker_id), &worker_loop);
  EXPECT_EQ(module.GetMessageLoop(), &main_loop);
  EXPECT_TRUE(module.RemoveMessageLoop());
  EXPECT_FALSE(module.RemoveMessageLoop());
  EXPECT_EQ(module.GetMessageLoop(), nullptr);

  g_hooks.clear();
  module.Term();
  module.Term();  // a second Term runs nothing
  EXPECT_EQ(g_hooks, "stop second;stop first;");
  EXPECT_EQ(module.GetMessageLoop(worker_id), nullptr) << "the map goes with Term";
}

}  // namespace
