#include "common/win32/message_loop.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "common/win32/window.h"
#include "test_support.h"

namespace {

using Log = std::vector<std::string>;

class NamedFilter : public CMessageFilter {
 public:
  NamedFilter(std::string name, Log* log, UINT consumes = 0)
      : name_(std::move(name)), log_(log), consumes_(consumes) {}
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message < WM_APP) return FALSE;
    log_->push_back(name_);
    if (on_call) on_call();
    return consumes_ != 0 && msg->message == consumes_;
  }
  std::function<void()> on_call;

 private:
  std::string name_;
  Log* log_;
  UINT consumes_;
};

class NamedIdler : public CIdleHandler {
 public:
  NamedIdler(std::string name, Log* log) : name_(std::move(name)), log_(log) {}
  BOOL OnIdle() override {
    log_->push_back(name_);
    if (on_call) on_call();
    return TRUE;
  }
  std::function<void()> on_call;

 private:
  std::string name_;
  Log* log_;
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

void PostToSelf(UINT message, WPARAM wparam = 0) {
  ::PostThreadMessageW(::GetCurrentThreadId(), message, wparam, 0);
}

TEST(MessageLoop, FiltersRunNewestFirstAndTheFirstTakerStopsTheOffer) {
  PumpPending();
  Receiver receiver;
  ASSERT_TRUE(receiver.Create(nullptr, MakeRect(0, 0, 10, 10)));
  Log log;
  NamedFilter first("first", &log), second("second", &log, WM_APP + 1), third("third", &log);
  CMessageLoop loop;
  loop.AddMessageFilter(&first);
  loop.AddMessageFilter(&second);
  loop.AddMessageFilter(&third);

  receiver.PostMessage(WM_APP + 1);  // taken by `second`
  receiver.PostMessage(WM_APP + 2);  // taken by nobody: dispatched
  ::PostQuitMessage(3);
  EXPECT_EQ(loop.Run(), 3);

  EXPECT_EQ(log, (Log{"third", "second", "third", "second", "first"}));
  EXPECT_EQ(receiver.received, std::vector<UINT>{WM_APP + 2});
  receiver.DestroyWindow();
}

TEST(MessageLoop, RemovingAFilterKeepsTheOrderOfTheRest) {
  PumpPending();
  Log log;
  NamedFilter a("a", &log), b("b", &log), c("c", &log), d("d", &log);
  CMessageLoop loop;
  for (NamedFilter* filter : {&a, &b, &c, &d}) loop.AddMessageFilter(filter);
  EXPECT_TRUE(loop.RemoveMessageFilter(&b));
  EXPECT_FALSE(loop.RemoveMessageFilter(&b));
  PostToSelf(WM_APP);
  ::PostQuitMessage(0);
  loop.Run();
  EXPECT_EQ(log, (Log{"d", "c", "a"}));
}

TEST(MessageLoop, AFilterRemovedDuringTheOfferIsNotCalled) {
  PumpPending();
  Log log;
  NamedFilter a("a", &log), b("b", &log), c("c", &log);
  CMessageLoop loop;
  for (NamedFilter* filter : {&a, &b, &c}) loop.AddMessageFilter(filter);
  c.on_call = [&] {
    loop.RemoveMessageFilter(&c);
    loop.RemoveMessageFilter(&b);
  };
  PostToSelf(WM_APP);
  PostToSelf(WM_APP);
  ::PostQuitMessage(0);
  loop.Run();
  EXPECT_EQ(log, (Log{"c", "a", "a"}));
}

TEST(MessageLoop, IdleHandlersRunInRegistrationOrder) {
  PumpPending();
  Log log;
  NamedIdler one("one", &log), two("two", &log), three("three", &log);
  CMessageLoop loop;
  loop.AddIdleHandler(&one);
  loop.AddIdleHandler(&two);
  loop.AddIdleHandler(&three);
  EXPECT_TRUE(loop.RemoveIdleHandler(&two));
  loop.AddIdleHandler(&two);
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
    CMessageLoop::OnIdle(idle_count);
    if (idle_count < 1) return TRUE;  // asks for one more idle call
    if (step < steps.size()) steps[step++]();
    return FALSE;
  }
  BOOL PreTranslateMessage(MSG* msg) override {
    switch (msg->message) {
      case WM_MOUSEMOVE: log.push_back("mousemove"); break;
      case WM_PAINT: log.push_back("paint"); break;
      case 0x0118: log.push_back("systimer"); break;
      case WM_APP: log.push_back("app"); break;
      case WM_TIMER:
        log.push_back("timer");
        ::KillTimer(nullptr, msg->wParam);
        break;
      default: return FALSE;
    }
    return TRUE;
  }
  Log log;
  std::vector<std::function<void()>> steps;
  size_t step = 0;
};

TEST(MessageLoop, IdleIsReArmedAfterOrdinaryMessagesOnly) {
  PumpPending();
  ScriptedLoop loop;
  // After a message that does not re-arm idling only the timer wakes the loop again.
  auto post_then_wake = [](UINT message) {
    return [message] {
      PostToSelf(message);
      ::SetTimer(nullptr, 0, 10, nullptr);
    };
  };
  loop.steps = {post_then_wake(WM_MOUSEMOVE), post_then_wake(WM_PAINT), post_then_wake(0x0118),
                [] { PostToSelf(WM_APP); }, [] { ::PostQuitMessage(9); }};
  EXPECT_EQ(loop.Run(), 9);
  EXPECT_EQ(loop.log, (Log{"idle0", "idle1", "mousemove", "timer",  //
                           "idle0", "idle1", "paint", "timer",      //
                           "idle0", "idle1", "systimer", "timer",   //
                           "idle0", "idle1", "app",                 //
                           "idle0", "idle1"}));
}

TEST(MessageLoop, IdleMessageClassification) {
  MSG msg{};
  for (UINT quiet : std::initializer_list<UINT>{WM_MOUSEMOVE, WM_NCMOUSEMOVE, WM_PAINT, 0x0118}) {
    msg.message = quiet;
    EXPECT_FALSE(CMessageLoop::IsIdleMessage(&msg)) << quiet;
  }
  for (UINT busy : std::initializer_list<UINT>{WM_TIMER, WM_KEYDOWN, WM_LBUTTONDOWN, WM_APP}) {
    msg.message = busy;
    EXPECT_TRUE(CMessageLoop::IsIdleMessage(&msg)) << busy;
  }
}

}  // namespace
