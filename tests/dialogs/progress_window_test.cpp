// The standing progress dialog driven through the platform handler, as a module drives it:
// numbers, finishing, auto close, cancelling, failure lines and many reporting threads.
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "dialog_fixture.h"
#include "dialogs/ui_progress_dialog.h"
#include "host/module_api.h"
#include "host/platform_handler.h"
#include "host/resource_catalogues.h"
#include "shell/shell_state.h"

namespace {

std::atomic<int> g_cancels{0};
void CountCancel(void* first, void* second) {
  if (first == reinterpret_cast<void*>(1) && second == reinterpret_cast<void*>(2)) ++g_cancels;
}

class ProgressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog_ = std::make_unique<UiProgressDialog>(1.0f, FindImage("close-normal.png"),
                                                 FindImage("close-pressed.png"));
    dialog_->Create(TestOwner(), {500, 160});
    SetHostDialog(kHostDialogProgress, dialog_.get());
    g_cancels = 0;
  }
  void TearDown() override {
    SetHostDialog(kHostDialogProgress, nullptr);
    dialog_->Show(SW_HIDE);
  }

  void Send(TERObserveData1 record) { PlatformHandler(&record); }

  void Start(const char* json) {
    rapidjson::Document document;
    document.Parse(json);
    TERProgressSetup setup = {nullptr, reinterpret_cast<void*>(2), reinterpret_cast<void*>(1),
                              &CountCancel};
    TERObserveData1 record = {};
    record.name = "LIBPLATFORM_COMMAND_START_PROGRESS";
    record.object = &setup;
    record.payload = &document;
    Send(record);
  }

  void Notify(uint64_t done, uint64_t total, int64_t failures = 0, const char* item = nullptr,
              bool finish = false) {
    TERObserveData1 record = {};
    record.name = finish ? "LIBPLATFORM_COMMAND_NOTIFY_PROGRESS_FINISH"
                         : "LIBPLATFORM_COMMAND_NOTIFY_PROGRESS";
    record.extra2 = done;
    record.extra1 = total;
    record.value = failures;
    record.text = const_cast<char*>(item);
    Send(record);
  }

  bool Visible() { return ::IsWindowVisible(*dialog_) != FALSE; }
  // Waits for the 500 ms timer to take the numbers in.
  bool Shows(const std::wstring& count) {
    return PumpUntil([&] { return dialog_->CountText() == count; });
  }
  std::wstring FailureText() {
    wchar_t text[4096] = {};
    ::GetWindowTextW(dialog_->failure_box(), text, 4096);
    return text;
  }

  std::unique_ptr<UiProgressDialog> dialog_;
};

TEST_F(ProgressTest, PercentageOrCountsAndAnEmptyStart) {
  Start(R"({"device_id": "cam", "title": "Exporting", "desc": "clip.mp4"})");
  EXPECT_TRUE(Visible());
  EXPECT_FALSE(::IsWindowEnabled(TestOwner()));  // a running job blocks its owner
  EXPECT_EQ(dialog_->CountText(), L"");           // no total yet: no percentage
  Notify(0, 0);                                   // all words zero change nothing
  Notify(37, 200);
  EXPECT_TRUE(Shows(L"18.50%"));
  EXPECT_EQ(dialog_->DescriptionText(), L"clip.mp4");

  Start(R"({"device_id": "cam", "show_current_total_number": 1})");
  EXPECT_EQ(dialog_->title(), L"Exporting");  // kept when a new start names none
  EXPECT_EQ(dialog_->DescriptionText(), L"");
  Notify(37, 200);
  EXPECT_TRUE(Shows(L"37 / 200"));
}

TEST_F(ProgressTest, FinishWithFailuresStaysOpenWithTheFailedText) {
  Start(R"({"device_id": "cam", "auto_close_when_finish": 1, "desc": "Converting"})");
  Notify(3, 10, 1, "a.mp4");
  Notify(4, 10, 1, "b.mp4");
  ASSERT_TRUE(PumpUntil([&] { return FailureText().size() > 0 && FailureText().find(L"b.mp4") != std::wstring::npos; }));
  EXPECT_EQ(FailureText(), L"[Failed] 1.a.mp4\r\n[Failed] 2.b.mp4\r\n");
  Notify(10, 10, 0, nullptr, true);
  ASSERT_TRUE(PumpUntil([&] { return dialog_->cancel_label() == L"OK"; }));
  EXPECT_EQ(dialog_->DescriptionText(), L"Failed(2) Converting");
  EXPECT_EQ(dialog_->CountText(), L"80.00%");  // done becomes total minus failures
  EXPECT_FALSE(dialog_->auto_close());
  PumpFor(1200);
  EXPECT_TRUE(Visible());

  ClickButton(*dialog_, 5052);  // OK after the end calls no cancel function
  ASSERT_TRUE(PumpUntil([&] { return !Visible(); }));
  EXPECT_EQ(g_cancels, 0);
  EXPECT_TRUE(::IsWindowEnabled(TestOwner()));
}

TEST_F(ProgressTest, AutoCloseHidesHalfASecondAfterTheFinalPaint) {
  Start(R"({"device_id": "cam", "auto_close_when_finish": 1})");
  Notify(10, 10, 0, nullptr, true);
  ASSERT_TRUE(PumpUntil([&] { return dialog_->DescriptionText() == L"Completed"; }));
  const ULONGLONG painted = ::GetTickCount64();
  EXPECT_TRUE(Visible());
  ASSERT_TRUE(PumpUntil([&] { return !Visible(); }));
  EXPECT_GE(::GetTickCount64() - painted, 400u);
  EXPECT_TRUE(::IsWindowEnabled(TestOwner()));
  EXPECT_EQ(g_cancels, 0);
}

TEST_F(ProgressTest, CancelCallsTheModuleOnceTheCancelCommandNever) {
  Start(R"({"device_id": "cam"})");
  ClickButton(*dialog_, 5052);
  ASSERT_TRUE(PumpUntil([&] { return !Visible(); }));
  EXPECT_EQ(g_cancels, 1);
  EXPECT_TRUE(dialog_->finished());

  Start(R"({"device_id": "cam"})");
  ClickButton(*dialog_, 5050);  // the close button cancels the same way
  ASSERT_TRUE(PumpUntil([&] { return !Visible(); }));
  EXPECT_EQ(g_cancels, 2);

  Start(R"({"device_id": "cam"})");
  TERObserveData1 cancel = {};
  cancel.name = "LIBPLATFORM_COMMAND_CANCEL_PROGRESS";
  cancel.text = const_cast<char*>("other");
  Send(cancel);
  PumpFor(100);
  EXPECT_TRUE(Visible());
  cancel.text = const_cast<char*>("ca");  // a prefix is another device
  Send(cancel);
  PumpFor(100);
  EXPECT_TRUE(Visible());
  cancel.text = const_cast<char*>("cam");
  std::thread([&] { Send(cancel); }).join();  // from a module's thread
  ASSERT_TRUE(PumpUntil([&] { return !Visible(); }));
  EXPECT_EQ(g_cancels, 2);
  EXPECT_TRUE(::IsWindowEnabled(TestOwner()));
}

TEST_F(ProgressTest, StartFromAWorkerThreadShowsNothing) {
  std::thread([&] { Start(R"({"device_id": "cam"})"); }).join();
  PumpFor(200);
  EXPECT_FALSE(Visible());
}

TEST_F(ProgressTest, ExpanderShowsTheFailureBoxBelow) {
  Start(R"({"device_id": "cam"})");
  RECT before = {};
  ::GetWindowRect(*dialog_, &before);
  ClickButton(*dialog_, 5053);
  ASSERT_TRUE(PumpUntil([&] { return dialog_->expanded(); }));
  RECT after = {};
  ::GetWindowRect(*dialog_, &after);
  EXPECT_EQ(after.bottom - after.top, (before.bottom - before.top) + 160);
  EXPECT_TRUE(::IsWindowVisible(dialog_->failure_box()));
  ClickButton(*dialog_, 5053);
  ASSERT_TRUE(PumpUntil([&] { return !dialog_->expanded(); }));
  EXPECT_FALSE(::IsWindowVisible(dialog_->failure_box()));
}

TEST_F(ProgressTest, EightReportingThreadsForTenSecondsLoseNothing) {
  Start(R"({"device_id": "storm", "show_current_total_number": 1})");
  constexpr int kThreads = 8;
  std::atomic<bool> stop{false};
  std::atomic<int> failures{0};
  std::atomic<int> lines{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (uint64_t i = 1; !stop; ++i) {
        const bool with_line = i % 500 == 0;
        const std::string description = "thread " + std::to_string(t) + " item " + std::to_string(i);
        TERObserveData1 record = {};
        record.name = "LIBPLATFORM_COMMAND_NOTIFY_PROGRESS";
        record.extra2 = i;
        record.extra1 = 1000000;
        record.value = 1;
        record.text = with_line ? const_cast<char*>("item") : nullptr;
        record.object = const_cast<char*>(description.c_str());
        PlatformHandler(&record);
        ++failures;
        if (with_line) ++lines;
        if (i % 16 == 0) ::Sleep(1);
      }
    });
  }
  PumpFor(10000);  // the main thread keeps painting and taking lines meanwhile
  stop = true;
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(dialog_->state().failed(), failures.load());
  ASSERT_TRUE(PumpUntil([&] {
    const int length = ::GetWindowTextLengthW(dialog_->failure_box());
    std::wstring text(length + 1, L'\0');
    ::GetWindowTextW(dialog_->failure_box(), &text[0], length + 1);
    int count = 0;
    for (size_t at = text.find(L"\r\n"); at != std::wstring::npos; at = text.find(L"\r\n", at + 2)) ++count;
    return count == lines.load();
  }, 30000));
  EXPECT_GT(lines.load(), 0);
  EXPECT_EQ(dialog_->DescriptionText().rfind(L"thread ", 0), 0u);
}

}  // namespace
