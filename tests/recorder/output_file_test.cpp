// Files appear under their final name only when complete; names are dated and never reused.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>

#include "output_file.h"
#include "test_files.h"

namespace {

bool Exists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(OutputNames, AreDatedAndStepAsideForTakenNames) {
  SYSTEMTIME time = {};
  time.wYear = 2026;
  time.wMonth = 12;
  time.wDay = 7;
  time.wHour = 9;
  time.wMinute = 5;
  time.wSecond = 3;
  EXPECT_EQ(DatedName(L"Recording", time, L".mp4"), L"Recording 2026-12-07 09-05-03.mp4");
  const std::set<std::wstring> taken = {L"a.png", L"a (2).png"};
  auto is_taken = [&](const std::wstring& name) { return taken.count(name) > 0; };
  EXPECT_EQ(FreeName(L"b.png", is_taken), L"b.png");
  EXPECT_EQ(FreeName(L"a.png", is_taken), L"a (3).png");
}

TEST(OutputFile, AppearsUnderItsNameOnlyAfterCommit) {
  TempFolder folder(L"recorder-out");
  const std::wstring target = folder.path() + L"deeper\\still";  // missing levels are made
  {
    OutputFile file;
    ASSERT_TRUE(file.Create(target, L"clip.mp4"));
    EXPECT_EQ(file.final_path(), target + L"\\clip.mp4");
    ASSERT_TRUE(file.Write("abcdef", 6));
    ASSERT_TRUE(file.WriteAt(1, "XY", 2));
    EXPECT_EQ(file.Position(), 6u);
    EXPECT_FALSE(Exists(file.final_path()));
    EXPECT_TRUE(Exists(file.temporary_path()));
    ASSERT_TRUE(file.Commit());
  }
  EXPECT_EQ(ReadWholeFile(target + L"\\clip.mp4"), "aXYdef");
  EXPECT_FALSE(Exists(target + L"\\clip.mp4.part"));

  // A second file of the same name steps aside; one never committed leaves nothing.
  {
    OutputFile file;
    ASSERT_TRUE(file.Create(target, L"clip.mp4"));
    EXPECT_EQ(file.final_path(), target + L"\\clip (2).mp4");
    ASSERT_TRUE(file.Write("x", 1));
  }
  EXPECT_FALSE(Exists(target + L"\\clip (2).mp4"));
  EXPECT_FALSE(Exists(target + L"\\clip (2).mp4.part"));
  EXPECT_EQ(ReadWholeFile(target + L"\\clip.mp4"), "aXYdef");
}

TEST(OutputFile, AFolderThatCannotBeMadeIsReportedAsUnwritable) {
  TempFolder folder(L"recorder-out");
  WriteText(folder.path() + L"plain-file", "not a folder");
  OutputFile file;
  EXPECT_FALSE(file.Create(folder.path() + L"plain-file\\inside", L"a.png"));
  EXPECT_EQ(file.error(), WriteError::kUnwritable);
  EXPECT_FALSE(file.Write("x", 1));
  EXPECT_FALSE(file.Commit());
}

TEST(OutputFile, WriteErrorsAreToldApart) {
  EXPECT_EQ(ClassifyWriteError(ERROR_DISK_FULL), WriteError::kDiskFull);
  EXPECT_EQ(ClassifyWriteError(ERROR_HANDLE_DISK_FULL), WriteError::kDiskFull);
  EXPECT_EQ(ClassifyWriteError(ERROR_ACCESS_DENIED), WriteError::kUnwritable);
  EXPECT_EQ(ClassifyWriteError(ERROR_SUCCESS), WriteError::kNone);
}

}  // namespace
