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

TEST(Startup, OfTwoRacingStartsOneOpensTheWindowAndTheOtherLeavesQuietly) {
  for (int pair = 0; pair < 10; ++pair) {
    const ULONGLONG pair_start = Now();
    RunningApp apps[2];
    ASSERT_TRUE(apps[0].StartHeld());
    ASSERT_TRUE(apps[1].StartHeld());
    const DWORD start = ::GetTickCount();
    apps[0].Resume();
    apps[1].Resume();
    ASSERT_LT(::GetTickCount() - start, 50u) << "not a race";

    // Whichever leaves first was second; the other must be running the shell.
    int second = -1;
    const DWORD wait_start = ::GetTickCount();
    while (second < 0 && ::GetTickCount() - wait_start < 30000) {
      for (int i = 0; i < 2 && second < 0; ++i)
        if (apps[i].WaitForExit(0) != -1) second = i;
      ::Sleep(20);
    }
    ASSERT_GE(second, 0) << "pair " << pair << ": neither left";
    RunningApp& first = apps[1 - second];
    EXPECT_EQ(apps[second].WaitForExit(0), 0) << "pair " << pair;
    HWND window = first.WaitForMainWindow();
    ASSERT_NE(window, nullptr) << "pair " << pair;
    EXPECT_EQ(first.WaitForExit(0), -1);
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.WaitForExit(), 0) << "pair " << pair;
    EXPECT_NE(ProductLog(first.process_id(), pair_start), "") << "pair " << pair;
    EXPECT_EQ(ProductLog(apps[second].process_id(), pair_start), "") << "pair " << pair;
  }
}

// Points the user's local application-data folder (where the logs go) somewhere else for as
// long as it lives. Under Wine the profile folder follows the registry, not the environment.
class LocalAppDataMovedTo {
 public:
  explicit LocalAppDataMovedTo(const std::wstring& folder) {
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kShellFolders, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                        &key_) != ERROR_SUCCESS) {
      key_ = nullptr;
      return;
    }
    DWORD size = sizeof(saved_);
    had_value_ = ::RegQueryValueExW(key_, L"Local AppData", nullptr, &type_,
                                    reinterpret_cast<BYTE*>(saved_), &size) == ERROR_SUCCESS;
    saved_size_ = size;
    Set(REG_EXPAND_SZ, folder.c_str(), static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
  }
  ~LocalAppDataMovedTo() {
    if (!key_) return;
    if (had_value_)
      Set(type_, saved_, saved_size_);
    else
      ::RegDeleteValueW(key_, L"Local AppData");
    ::RegCloseKey(key_);
  }
  bool ok() const { return key_ != nullptr; }

 private:
  static constexpr const wchar_t* kShellFolders =
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
  void Set(DWORD type, const wchar_t* value, DWORD bytes) {
    ::RegSetValueExW(key_, L"Local AppData", 0, type, reinterpret_cast<const BYTE*>(value), bytes);
  }

  HKEY key_ = nullptr;
  bool had_value_ = false;
  DWORD type_ = REG_EXPAND_SZ;
  wchar_t saved_[MAX_PATH * 2] = {};
  DWORD saved_size_ = 0;
};

// The log folder's path reaches the logging library as UTF-8, which opens its files with
// narrow calls: those must read UTF-8 too, or a user named Zoë or 小林 gets no log.
TEST(Startup, AProfileFolderNamedBeyondAsciiGetsItsLog) {
  TempFolder profile(L"profile-Zo\u00EB-\u5C0F\u6797");
  const std::wstring local = profile.path() + L"AppData\\Local";
  MakeFolders(local);
  RunningApp app;
  {
    LocalAppDataMovedTo moved(local);
    ASSERT_TRUE(moved.ok());
    ASSERT_TRUE(app.Start());
    ASSERT_NE(app.WaitForMainWindow(), nullptr);  // the log is open by then
  }
  HWND window = app.WaitForMainWindow();
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  ASSERT_EQ(app.WaitForExit(), 0);

  const std::wstring folder = local + L"\\Pellavorne\\" + TodayText();
  std::string log;
  for (const std::wstring& name : FilesIn(folder))
    if (name.find(L".INFO.") != std::wstring::npos) log = ReadWholeFile(folder + L"\\" + name);
  EXPECT_NE(log.find("] SysInfoStr: {"), std::string::npos) << "no INFO log in the profile";
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

// A preferences file the product cannot use is the user's all the same: it is moved aside
// before the empty preferences are used and saved, and the log says why.
TEST(Startup, DamagedPreferencesAreKeptAsideAndTheReasonLogged) {
  const std::wstring path = PreferencesFolder() + L"\\Preferences.json";
  const std::wstring aside = path + L".damaged";
  const std::string users = ReadWholeFile(path);
  MakeFolders(PreferencesFolder());
  const std::string damaged = "{\"module:recorder\": {\"fps\": 30}, \"cut\": ";
  WriteText(path, damaged);
  ::DeleteFileW(aside.c_str());

  RunningApp app;
  ASSERT_EQ(app.RunAndClose(), 0);

  EXPECT_EQ(ReadWholeFile(aside), damaged);
  rapidjson::Document saved;
  saved.Parse(ReadWholeFile(path).c_str());
  EXPECT_TRUE(saved.IsObject()) << "the empty preferences are saved as before";
  const std::string log = ProductLog(app.process_id());
  const size_t line = log.find("Preferences.json could not be used");
  ASSERT_NE(line, std::string::npos) << log;
  const size_t line_start = log.rfind('\n', line);
  EXPECT_EQ(log[line_start == std::string::npos ? 0 : line_start + 1], 'E') << "an ERROR line";
  EXPECT_NE(log.find("(offset 40)", line), std::string::npos) << log;

  ::DeleteFileW(aside.c_str());
  if (users.empty())
    ::DeleteFileW(path.c_str());
  else
    WriteText(path, users);
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

// Runs the copy until its window shows, closes it and answers its log.
std::string RunAndClose(const AppCopy& copy) {
  RunningApp app;
  if (!app.Start(L"", copy.Executable())) return "<not started>";
  HWND window = app.WaitForMainWindow();
  if (!window) return "<no window>";
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  if (app.WaitForExit() != 0) return "<bad exit>";
  return ProductLog(app.process_id());
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
  const std::string log = ProductLog(app.process_id());
  EXPECT_NE(log.find("alert.png claims 30000 x 30000 pixels"), std::string::npos) << log;
}

TEST(Startup, ShutdownIsLoggedInOrder) {
  RunningApp app;
  ASSERT_EQ(app.RunAndClose(), 0);
  const std::string log = ProductLog(app.process_id());
  ASSERT_NE(log.find("Shut down in order, exit code 0"), std::string::npos) << log;
  EXPECT_LT(log.find("SysInfoStr: "), log.find("Shut down in order, exit code 0"));
}

}  // namespace

namespace {

TEST(Startup, LogFoldersOlderThanThirtyDaysArePruned) {
  const std::wstring base = LocalAppDataFolder() + L"Pellavorne\\";
  MakeFolders(base + L"20000101");
  WriteText(base + L"20000101\\old.log", "old");
  MakeFolders(base + L"29991231");  // a clock set back later: kept
  WriteText(base + L"29991231\\future.log", "future");

  RunningApp app;
  ASSERT_TRUE(app.Start());
  HWND window = app.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(::GetFileAttributesW((base + L"20000101").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(::GetFileAttributesW((base + L"29991231\\future.log").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(::GetFileAttributesW(LogFolder().c_str()), INVALID_FILE_ATTRIBUTES);
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(app.WaitForExit(), 0);
  RemoveTree(base + L"29991231");
}

}  // namespace
