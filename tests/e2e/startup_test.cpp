#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include "app_runner.h"

namespace {

std::wstring LogFolder() { return LocalAppDataFolder() + L"Pellavorne\\" + TodayText(); }

// The first INFO log file of the dated folder.
std::string ReadInfoLog() {
  for (const std::wstring& name : FilesIn(LogFolder()))
    if (name.find(L".INFO.") != std::wstring::npos) return ReadWholeFile(LogFolder() + L"\\" + name);
  return std::string();
}

TEST(Startup, RunLogsTheSystemLineAndExitsCleanlyOnClose) {
  RemoveTree(LogFolder());

  RunningApp app;
  ASSERT_TRUE(app.Start());
  HWND window = app.WaitForMainWindow();
  ASSERT_NE(window, nullptr);

  RECT rect = {};
  ::GetWindowRect(window, &rect);
  EXPECT_EQ(rect.right - rect.left, 740);
  EXPECT_EQ(rect.bottom - rect.top, 240);

  ::PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(app.WaitForExit(), 0);

  const std::string log = ReadInfoLog();
  const auto marker = log.find("] SysInfoStr: ");
  ASSERT_NE(marker, std::string::npos) << "no system line in the INFO log";
  const auto json_start = marker + std::string("] SysInfoStr: ").size();
  const std::string line = log.substr(json_start, log.find('\n', json_start) - json_start);
  rapidjson::Document document;
  document.Parse(line.c_str());
  ASSERT_FALSE(document.HasParseError()) << line;
  EXPECT_STREQ(document["Product"].GetString(), "Pellavorne Screen Recorder");
  EXPECT_STREQ(document["Version"].GetString(), "1.1.64");
  EXPECT_TRUE(document["FreeMemSize"].IsInt64());
}

TEST(Startup, ArgumentsChangeNothing) {
  RunningApp app;
  ASSERT_TRUE(app.Start(L"C:\\some\\file.mp4 --flag"));
  HWND window = app.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(app.WaitForExit(), 0);
}

}  // namespace
