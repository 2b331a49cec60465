#include "app/crash_report.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <set>

#include "app/system_info.h"

namespace {

std::wstring MakeTempFolder() {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"ostrevan-crash-" +
                        std::to_wstring(::GetCurrentProcessId()) + L"-" +
                        std::to_wstring(::GetTickCount());
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

void Touch(const std::wstring& path) {
  FILE* file = ::_wfopen(path.c_str(), L"wb");
  ASSERT_NE(file, nullptr);
  std::fputs("x", file);
  std::fclose(file);
}

std::set<std::wstring> Entries(const std::wstring& folder) {
  std::set<std::wstring> names;
  WIN32_FIND_DATAW entry;
  HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = entry.cFileName;
    if (name != L"." && name != L"..") names.insert(name);
  } while (::FindNextFileW(search, &entry));
  ::FindClose(search);
  return names;
}

TEST(CrashReport, CleanupKeepsOnlyPackedReports) {
  const std::wstring folder = MakeTempFolder();
  for (const wchar_t* name : {L"report.ZIP", L"dump.dmp", L"app.log.INFO.1", L"app.log.ERROR.1",
                              L"notes.zip.txt"})
    Touch(folder + L"\\" + name);
  ::CreateDirectoryW((folder + L"\\sub").c_str(), nullptr);

  CleanReportFolder(folder);
  EXPECT_EQ(Entries(folder), (std::set<std::wstring>{L"notes.zip.txt", L"report.ZIP", L"sub"}));

  ::RemoveDirectoryW((folder + L"\\sub").c_str());
  ::DeleteFileW((folder + L"\\report.ZIP").c_str());
  ::DeleteFileW((folder + L"\\notes.zip.txt").c_str());
  ::RemoveDirectoryW(folder.c_str());
}

TEST(CrashReport, FolderOfAPathInsideIt) {
  EXPECT_EQ(ReportFolderOf(L"C:\\logs\\20261206\\dump.dmp"), L"C:\\logs\\20261206");
  EXPECT_EQ(ReportFolderOf(L"dump.dmp"), L"");
  EXPECT_TRUE(IsPackedReportName(L"a.Zip"));
  EXPECT_FALSE(IsPackedReportName(L"a.zi"));
}

TEST(CrashReport, MarkerHoldsTheSystemLineAndTheHookGetsItsPath) {
  const std::wstring folder = MakeTempFolder() + L"\\";
  wchar_t* marker = nullptr;
  CrashMarkerWriter(folder.c_str(), &marker);
  ASSERT_NE(marker, nullptr);
  EXPECT_EQ(std::wstring(marker), folder + L"Crash.json");

  std::string content;
  if (FILE* file = ::_wfopen(marker, L"rb")) {
    char buffer[512];
    size_t read;
    while ((read = std::fread(buffer, 1, sizeof(buffer), file)) > 0) content.append(buffer, read);
    std::fclose(file);
  }
  EXPECT_EQ(content.rfind("{\"Product\":\"Pellavorne Screen Recorder\"", 0), 0u);
  EXPECT_EQ(content.back(), '}');
  ::DeleteFileW(marker);
  ::RemoveDirectoryW(folder.c_str());
  std::free(marker);

  // An unwritable folder still hands back the path it meant.
  marker = nullptr;
  CrashMarkerWriter(L"Q:\\no\\such\\folder\\", &marker);
  ASSERT_NE(marker, nullptr);
  EXPECT_EQ(std::wstring(marker), L"Q:\\no\\such\\folder\\Crash.json");
  std::free(marker);
}

}  // namespace
