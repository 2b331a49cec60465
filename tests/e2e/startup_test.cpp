#include <gtest/gtest.h>
#include <rapidjson/document.h>
#include <shlobj.h>

#include <cstdio>

#include "app_runner.h"
#include "test_pictures.h"

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

namespace {

std::wstring PreferencesFolder() {
  wchar_t roaming[MAX_PATH] = {};
  ::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, roaming);
  return std::wstring(roaming) + L"\\Pellavorne\\Pellavorne Screen Recorder";
}

TEST(Startup, PreferencesFolderIsMadeAndPreferencesSavedAtShutdown) {
  const std::wstring folder = PreferencesFolder();
  const std::string language = ReadWholeFile(folder + L"\\language.txt");
  RemoveTree(folder);

  RunningApp app;
  ASSERT_TRUE(app.Start());
  HWND window = app.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_NE(::GetFileAttributesW(folder.c_str()), INVALID_FILE_ATTRIBUTES);
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(app.WaitForExit(), 0);

  const std::string saved = ReadWholeFile(folder + L"\\Preferences.json");
  rapidjson::Document document;
  document.Parse(saved.c_str());
  EXPECT_TRUE(document.IsObject()) << saved;
  // Starting without a saved language writes none.
  EXPECT_EQ(::GetFileAttributesW((folder + L"\\language.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  if (!language.empty()) {
    if (FILE* file = ::_wfopen((folder + L"\\language.txt").c_str(), L"wb")) {
      std::fwrite(language.data(), 1, language.size(), file);
      std::fclose(file);
    }
  }
}

TEST(Startup, UnusableManifestStillOpensTheFrameWithoutModules) {
  for (const char* manifest :
       {"", R"({"manifest": {"windows::version": 2, "application": {"modules": []}}})",
        R"({"manifest": {"windows::version": "1", "application": {"modules": []}}})",
        "{\"manifest\": {"}) {
    AppCopy copy;
    copy.AddRecorderModule();
    if (*manifest)
      copy.WriteManifest(manifest);
    else
      ::DeleteFileW((copy.folder() + L"ApplicationManifest.json").c_str());
    RunningApp app;
    ASSERT_TRUE(app.Start(L"", copy.Executable()));
    HWND window = app.WaitForMainWindow();
    ASSERT_NE(window, nullptr) << manifest;
    EXPECT_EQ(RecorderWindow(window), nullptr);
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.WaitForExit(), 0);
    EXPECT_EQ(copy.RecorderLog(), "") << manifest;  // never loaded
  }
}

// The INFO log of one run (it holds the ERROR lines too): the newest INFO file whose name
// ends in ".<pid>". Process ids come round again within a day, and the digits of a short
// one also occur in the time stamps of other names.
std::string InfoLogOf(DWORD process_id) {
  const std::wstring suffix = L"." + std::to_wstring(process_id);
  std::wstring newest;
  ULONGLONG newest_time = 0;
  for (const std::wstring& name : FilesIn(LogFolder())) {
    if (name.find(L".INFO.") == std::wstring::npos || name.size() < suffix.size() ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
      continue;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!::GetFileAttributesExW((LogFolder() + L"\\" + name).c_str(), GetFileExInfoStandard,
                                &data))
      continue;
    const ULONGLONG time = ULONGLONG(data.ftLastWriteTime.dwHighDateTime) << 32 |
                           data.ftLastWriteTime.dwLowDateTime;
    if (newest.empty() || time >= newest_time) {
      newest = name;
      newest_time = time;
    }
  }
  return newest.empty() ? std::string() : ReadWholeFile(LogFolder() + L"\\" + newest);
}

// Runs the copy until its window shows, closes it and answers its log.
std::string RunAndClose(const AppCopy& copy) {
  RunningApp app;
  if (!app.Start(L"", copy.Executable())) return "<not started>";
  HWND window = app.WaitForMainWindow();
  if (!window) return "<no window>";
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  if (app.WaitForExit() != 0) return "<bad exit>";
  return InfoLogOf(app.process_id());
}

// The language site is read before the log exists; its error, and those of every other
// data file, reach the log file with the parser's reason.
TEST(Startup, UnusableDataFilesLeaveAnErrorLineWithTheReason) {
  AppCopy copy;
  WriteText(copy.folder() + L"LangSite.json", R"({"3": {"subDir": }})");
  WriteText(copy.folder() + L"Option.json", "[1, 2]");
  copy.WriteManifest("\xEF\xBB\xBF{\"manifest\": {");
  const std::string log = RunAndClose(copy);
  const auto line = [&log](const std::string& start) {
    const size_t at = log.find(start);
    return at == std::string::npos ? "<missing: " + start + "> in " + log.substr(0, 300)
                                   : log.substr(at, log.find('\n', at) - at);
  };
  const std::string site = line("Load LangSite.json ERROR: ");
  EXPECT_NE(site.find("LangSite.json: Invalid value. (offset 17)"), std::string::npos) << site;
  const std::string options = line("Option.json could not be used: ");
  EXPECT_NE(options.find("is not a JSON object"), std::string::npos) << options;
  const std::string manifest = line("ApplicationManifest.json could not be used: ");
  EXPECT_NE(manifest.find("offset"), std::string::npos) << manifest;
  EXPECT_LT(log.find("SysInfoStr: "), log.find("Load LangSite.json ERROR: "));

  AppCopy versioned;
  versioned.WriteManifest(R"({"manifest": {"windows::version": 2, "application": {}}})");
  const std::string second = RunAndClose(versioned);
  EXPECT_NE(second.find("ApplicationManifest.json could not be used: \"windows::version\" is "
                        "not the integer 1"),
            std::string::npos)
      << second;
}

// A small file claiming 30000 × 30000 pixels would take gigabytes to decode; it is refused
// from its header, as a missing picture, and the program goes on.
TEST(Startup, DecompressionBombInResourcesIsRefused) {
  AppCopy copy;
  copy.AddRecorderModule();
  WriteText(copy.folder() + L"Resources\\alert.png", BlackPng(30000, 30000));
  RunningApp app;
  ASSERT_TRUE(app.Start(L"", copy.Executable()));
  HWND window = app.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  RunInRecorder(window, "main:platform LIBPLATFORM_COMMAND_FIND_IMAGE alert.png");
  EXPECT_TRUE(copy.WaitForLog("platform LIBPLATFORM_COMMAND_FIND_IMAGE main=1 object=set"));
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(app.WaitForExit(), 0);
  const std::string log = InfoLogOf(app.process_id());
  EXPECT_NE(log.find("alert.png claims 30000 x 30000 pixels"), std::string::npos) << log;
}

TEST(Startup, ShutdownIsLoggedInOrder) {
  RunningApp app;
  ASSERT_TRUE(app.Start());
  HWND window = app.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  ASSERT_EQ(app.WaitForExit(), 0);
  const std::string log = InfoLogOf(app.process_id());
  ASSERT_NE(log.find("Shut down in order, exit code 0"), std::string::npos) << log;
  EXPECT_LT(log.find("SysInfoStr: "), log.find("Shut down in order, exit code 0"));
}

}  // namespace
