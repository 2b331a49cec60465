#include <gtest/gtest.h>

#include <windows.h>

#include <cctype>
#include <string>

#include "ter_dbg_report.h"
#include "test_support.h"

namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(AppUtility, ExecutableFoldersAndRunNames) {
  std::string exe = Str(TerUtilityApp()->ExecutablePath());
  const std::string folder = Str(TerUtilityApp()->ApplicationFolder());
  EXPECT_EQ(exe.substr(0, folder.size()), folder);
  for (char& c : exe) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(exe.substr(folder.size()), "terrace_tests.exe");
  EXPECT_EQ(Str(TerUtilityApp()->ModulesFolder()), folder);
  EXPECT_EQ(Str(TerUtilityApp()->TaskContext()),
            "terrace_tests/" + std::to_string(::GetCurrentProcessId()));

  const std::string id = Str(TerUtilityApp()->NewIdentifier());
  EXPECT_EQ(id.size(), 36u) << id;
  EXPECT_NE(id, Str(TerUtilityApp()->NewIdentifier()));
}

// Only refusals are tried: a successful open would start a file manager or a browser.
TEST(AppUtility, OpenRefusesWhatIsNotAFolderOrAWebLink) {
  TempFolder temp(L"open");
  const std::string program = Utf8(temp.path() + L"run.bat");
  WriteText(temp.path() + L"run.bat", "@echo off\r\n");
  EXPECT_FALSE(TerUtilityApp()->OpenFolder(program.c_str()));
  EXPECT_FALSE(TerUtilityApp()->OpenFolder(Utf8(temp.path() + L"missing").c_str()));
  for (const char* url : {program.c_str(), "notepad.exe", "file:///C:/windows/notepad.exe",
                          "javascript:alert(1)", "https://", static_cast<const char*>(nullptr)}) {
    EXPECT_FALSE(TerUtilityApp()->OpenUrl(url)) << (url ? url : "null");
  }
}

TEST(SysUtility, UserFoldersEndWithASeparatorAndExist) {
  const std::string settings = Str(TerUtilitySys()->SettingsFolder());
  const std::string logs = Str(TerUtilitySys()->LogFolder());
  EXPECT_TRUE(EndsWith(settings, "\\")) << settings;
  EXPECT_TRUE(EndsWith(logs, "\\")) << logs;
  EXPECT_NE(settings, logs);
  EXPECT_TRUE(TerUtilityFile()->Exists(settings.c_str()));
  EXPECT_TRUE(TerUtilityFile()->Exists(logs.c_str()));
}

TEST(SysUtility, FormatDateKeepsLiteralUtf8AndRefusesWhatDoesNotFit) {
  char buffer[64];
  const char format[] = "\xE6\x97\xA5 %Y-%m-%d";  // the UTF-8 must not pass a code page
  ASSERT_EQ(TerUtilitySys()->FormatDate(format, buffer, sizeof buffer), 14u);
  EXPECT_EQ(std::string(buffer, 4), "\xE6\x97\xA5 ");
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  EXPECT_EQ(std::string(buffer + 4, 4), std::to_string(now.wYear)) << buffer;
  EXPECT_EQ(TerUtilitySys()->FormatDate("%Y-%m-%d", buffer, 5), 0u) << "does not fit";
  EXPECT_EQ(TerUtilitySys()->FormatDate("%Q %Y", buffer, sizeof buffer), 0u);
  EXPECT_EQ(TerUtilitySys()->FormatDate(nullptr, buffer, sizeof buffer), 0u);
}

TEST(DbgReport, ArmRemembersTheDumpFolder) {
  ITerDbgReport* report = CreateTerDbgReport();
  ASSERT_EQ(CreateTerDbgReport(), report) << "one per process";
  report->Arm(L"C:\\dumps", nullptr, nullptr);
  const wchar_t* first = report->DumpFolder();
  EXPECT_STREQ(first, L"C:\\dumps\\");
  report->Arm(L"D:\\crash\\", nullptr, nullptr);
  EXPECT_STREQ(report->DumpFolder(), L"D:\\crash\\");
  EXPECT_STREQ(first, L"C:\\dumps\\") << "an earlier answer stays readable";
}

}  // namespace
