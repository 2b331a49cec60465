#include <gtest/gtest.h>

#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "ter_dbg_report.h"
#include "ter_utility.h"
#include "test_support.h"

using terrace_test::Str;
using terrace_test::TempFolder;
using terrace_test::Text;
using terrace_test::WriteRaw;

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(AppUtility, ExecutableAndItsFolders) {
  const std::string exe = Str(Text(TerUtilityApp()->ExecutablePath()));
  EXPECT_TRUE(EndsWith(Lower(exe), "\\terrace_tests.exe")) << exe;
  EXPECT_TRUE(TerUtilityFile()->Exists(exe.c_str()));

  const std::string folder = Str(Text(TerUtilityApp()->ApplicationFolder()));
  EXPECT_TRUE(EndsWith(folder, "\\")) << folder;
  EXPECT_EQ(exe.substr(0, folder.size()), folder);
  EXPECT_EQ(exe.find('\\', folder.size()), std::string::npos);
  EXPECT_EQ(Str(Text(TerUtilityApp()->ModulesFolder())), folder);
}

TEST(AppUtility, TaskContextNamesThisRun) {
  EXPECT_EQ(Str(Text(TerUtilityApp()->TaskContext())),
            "terrace_tests/" + std::to_string(::GetCurrentProcessId()));
}

bool LooksLikeGuid(const std::string& text) {
  if (text.size() != 36) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
    if (dash ? text[i] != '-' : !std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
    if (std::isupper(static_cast<unsigned char>(text[i]))) return false;
  }
  return true;
}

TEST(AppUtility, NewIdentifiersAreFreshLowerCaseGuids) {
  const std::string first = Str(Text(TerUtilityApp()->NewIdentifier()));
  const std::string second = Str(Text(TerUtilityApp()->NewIdentifier()));
  EXPECT_TRUE(LooksLikeGuid(first)) << first;
  EXPECT_TRUE(LooksLikeGuid(second)) << second;
  EXPECT_NE(first, second);
}

// Only the refusals are tried: a successful open would start a file manager or a browser.
TEST(AppUtility, OpenRefusesWhatIsNotAFolderOrAWebLink) {
  TempFolder temp;
  WriteRaw(temp.Wide(L"run.bat"), "@echo off\r\n");
  EXPECT_FALSE(TerUtilityApp()->OpenFolder(temp.Utf8(L"run.bat").c_str()));
  EXPECT_FALSE(TerUtilityApp()->OpenFolder(temp.Utf8(L"missing").c_str()));
  EXPECT_FALSE(TerUtilityApp()->OpenFolder(nullptr));
  EXPECT_FALSE(TerUtilityApp()->OpenUrl(temp.Utf8(L"run.bat").c_str()));
  EXPECT_FALSE(TerUtilityApp()->OpenUrl("notepad.exe"));
  EXPECT_FALSE(TerUtilityApp()->OpenUrl("file:///C:/windows/notepad.exe"));
  EXPECT_FALSE(TerUtilityApp()->OpenUrl("https://"));
  EXPECT_FALSE(TerUtilityApp()->OpenUrl(nullptr));
}

TEST(SysUtility, UserFoldersEndWithASeparatorAndExist) {
  const std::string settings = Str(Text(TerUtilitySys()->SettingsFolder()));
  const std::string logs = Str(Text(TerUtilitySys()->LogFolder()));
  EXPECT_TRUE(EndsWith(settings, "\\")) << settings;
  EXPECT_TRUE(EndsWith(logs, "\\")) << logs;
  EXPECT_NE(settings, logs);
  EXPECT_TRUE(TerUtilityFile()->Exists(settings.c_str()));
  EXPECT_TRUE(TerUtilityFile()->Exists(logs.c_str()));
}

std::string Today() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u", now.wYear, now.wMonth, now.wDay);
  return text;
}

TEST(SysUtility, FormatDateWritesTodaysLocalDate) {
  char buffer[64];
  std::string before, after;
  size_t length = 0;
  do {  // retried if the date turns over in between
    before = Today();
    length = TerUtilitySys()->FormatDate("%Y-%m-%d", buffer, sizeof buffer);
    after = Today();
  } while (before != after);
  EXPECT_EQ(length, 10u);
  EXPECT_EQ(std::string(buffer), before);

  const char format[] = "\xE6\x97\xA5 %Y";  // literal UTF-8 survives
  length = TerUtilitySys()->FormatDate(format, buffer, sizeof buffer);
  EXPECT_EQ(length, 8u);
  EXPECT_EQ(std::string(buffer, 4), "\xE6\x97\xA5 ");
}

TEST(SysUtility, FormatDateRefusesBadInput) {
  char buffer[8] = "junk";
  EXPECT_EQ(TerUtilitySys()->FormatDate("%Y-%m-%d", buffer, 5), 0u) << "does not fit";
  EXPECT_EQ(TerUtilitySys()->FormatDate("%Q %Y", buffer, sizeof buffer), 0u);
  EXPECT_EQ(TerUtilitySys()->FormatDate("%", buffer, sizeof buffer), 0u);
  EXPECT_EQ(TerUtilitySys()->FormatDate(nullptr, buffer, sizeof buffer), 0u);
  EXPECT_EQ(TerUtilitySys()->FormatDate("%Y", nullptr, 8), 0u);
  EXPECT_EQ(TerUtilitySys()->FormatDate("%Y", buffer, 0), 0u);
}

TEST(SysUtility, SixtyFourBitSystem) {
  EXPECT_TRUE(TerUtilitySys()->Is64BitSystem());
}

void IgnoreWarning(const wchar_t*) {}
void IgnoreMarker(const wchar_t*, wchar_t** marker) {
  *marker = nullptr;
}

TEST(DbgReport, ArmRemembersTheDumpFolder) {
  ITerDbgReport* report = CreateTerDbgReport();
  ASSERT_NE(report, nullptr);
  EXPECT_EQ(CreateTerDbgReport(), report) << "one per process";
  report->Arm(L"C:\\dumps", IgnoreWarning, IgnoreMarker);
  const wchar_t* first = report->DumpFolder();
  ASSERT_NE(first, nullptr);
  EXPECT_STREQ(first, L"C:\\dumps\\");
  report->Arm(L"D:\\crash\\", IgnoreWarning, IgnoreMarker);
  EXPECT_STREQ(report->DumpFolder(), L"D:\\crash\\");
  EXPECT_STREQ(first, L"C:\\dumps\\") << "an earlier answer stays readable";
  report->Arm(nullptr, nullptr, nullptr);
  EXPECT_EQ(report->DumpFolder(), nullptr);
}

}  // namespace
