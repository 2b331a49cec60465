#include "app/log_pruning.h"

#include <gtest/gtest.h>

#include "test_files.h"

namespace {

SYSTEMTIME Day(WORD year, WORD month, WORD day) {
  SYSTEMTIME time = {};
  time.wYear = year;
  time.wMonth = month;
  time.wDay = day;
  return time;
}

TEST(LogPruning, KeepsTheLastThirtyDaysAndEverythingThatIsNoDate) {
  const SYSTEMTIME today = Day(2026, 3, 1);
  const struct {
    const wchar_t* name;
    bool expired;
  } cases[] = {
      {L"20260301", false},  // today
      {L"20260131", false},  // 29 days back, across February
      {L"20260130", true},   // 30 days back
      {L"20251231", true},   // last year
      {L"20260302", false},  // the future, after a clock change
      {L"20240229", true},   // a real leap day
      {L"20250229", false},  // no such day: not ours
      {L"20261301", false},
      {L"20260100", false},
      {L"2026011", false},
      {L"202601011", false},
      {L"2026-01-", false},
      {L"crashes", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsExpiredLogFolder(c.name, today, kLogDaysKept), c.expired) << c.name;
  EXPECT_EQ(DaysFromCivil(1970, 1, 1), 0);
  EXPECT_EQ(DaysFromCivil(2000, 3, 1) - DaysFromCivil(2000, 2, 28), 2);
}

TEST(LogPruning, RemovesExpiredFoldersWithTheirContentOnly) {
  TempFolder base(L"log-pruning");
  for (const wchar_t* name : {L"20200101", L"20260301", L"notes"}) {
    MakeFolders(base.path() + name + L"\\Crash-1");
    WriteText(base.path() + name + L"\\app.log", "log");
    WriteText(base.path() + name + L"\\Crash-1\\Crash.dmp", "dump");
  }
  WriteText(base.path() + L"20200102", "a file named like a day");

  PruneLogFolders(base.path(), Day(2026, 3, 1), kLogDaysKept);

  const auto exists = [&base](const wchar_t* name) {
    return ::GetFileAttributesW((base.path() + name).c_str()) != INVALID_FILE_ATTRIBUTES;
  };
  EXPECT_FALSE(exists(L"20200101"));
  EXPECT_TRUE(exists(L"20260301\\app.log"));
  EXPECT_TRUE(exists(L"20260301\\Crash-1\\Crash.dmp"));
  EXPECT_TRUE(exists(L"notes\\app.log"));
  EXPECT_TRUE(exists(L"20200102"));
}

}  // namespace
