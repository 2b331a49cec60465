// The product's NSIS installer, as a user and the update hand-off run it under Wine.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>

#include "product_processes.h"
#include "test_files.h"

namespace {

const wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pellavorne Screen Recorder";

bool Exists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring StartMenuEntry() {
  wchar_t folder[MAX_PATH] = {};
  ::SHGetFolderPathW(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, folder);
  return std::wstring(folder) + L"\\Pellavorne Screen Recorder.lnk";
}

std::wstring RegistryText(const wchar_t* name) {
  wchar_t value[MAX_PATH * 2] = {};
  DWORD size = sizeof(value);
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS) {
    return L"<none>";
  }
  return value;
}

class InstallerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(Exists(InstallerPath())) << "no installer was built"; }
  void TearDown() override {
    DWORD id = 0;
    if (HWND window = FindProductWindow(folder_, &id)) CloseProduct(window, id);
    if (Exists(folder_ + L"uninstall.exe")) {
      RunProgram(folder_ + L"uninstall.exe", L"/S");
      Eventually([] { return RegistryText(L"DisplayName") == L"<none>"; });
    }
  }

  long Install(const std::wstring& arguments) {
    return RunProgram(InstallerPath(), arguments + L" /D=" + folder_.substr(0, folder_.size() - 1));
  }

  TempFolder temp_{L"install"};
  std::wstring folder_ = temp_.path() + L"Chosen Folder\\";
};

TEST_F(InstallerTest, SilentInstallPutsTheProductWhereAskedWithEntryAndUninstaller) {
  ASSERT_EQ(Install(L"/S /TAG=0.9.1"), 0);
  for (const wchar_t* file : {L"Pellavorne Screen Recorder.exe", L"Vantorel.dll",
                              L"libTerrace.dll", L"libLinguo.dll", L"libUpfetch.dll",
                              L"Option.json", L"I18n\\fr_FR\\strings.mo",
                              L"Resources\\close-normal.png", L"uninstall.exe"}) {
    EXPECT_TRUE(Exists(folder_ + file)) << file;
  }
  EXPECT_EQ(ReadWholeFile(folder_ + L"Pellavorne Screen Recorder.exe"),
            ReadWholeFile(AppExecutable()));
  const std::string log = ReadWholeFile(folder_ + L"install-log.txt");
  EXPECT_NE(log.find("parameters=/S /TAG=0.9.1"), std::string::npos) << log;
  EXPECT_NE(log.find("tag=0.9.1"), std::string::npos) << log;
  EXPECT_NE(log.find("mode=install"), std::string::npos) << log;
  EXPECT_TRUE(Exists(StartMenuEntry()));
  EXPECT_EQ(RegistryText(L"InstallLocation") + L"\\", folder_);
  EXPECT_EQ(RegistryText(L"DisplayVersion"), L"1.1.64");

  // The installed program runs from there.
  RunningApp installed;
  ASSERT_TRUE(installed.Start(L"", folder_ + L"Pellavorne Screen Recorder.exe"));
  ASSERT_NE(installed.WaitForMainWindow(), nullptr);
  DWORD id = 0;
  HWND window = FindProductWindow(folder_, &id);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(CloseProduct(window, id), 0);

  // The uninstaller removes what was installed and nothing of the user's.
  WriteText(folder_ + L"I18n\\my-notes.txt", "mine");
  RunProgram(folder_ + L"uninstall.exe", L"/S");
  // The uninstaller runs on from a copy of itself; its entry is the last thing it removes.
  EXPECT_TRUE(Eventually([this] { return RegistryText(L"DisplayName") == L"<none>"; }));
  EXPECT_FALSE(Exists(folder_ + L"uninstall.exe"));
  EXPECT_FALSE(Exists(folder_ + L"Pellavorne Screen Recorder.exe"));
  EXPECT_FALSE(Exists(folder_ + L"Resources"));
  EXPECT_TRUE(Exists(folder_ + L"I18n\\my-notes.txt"));
  EXPECT_FALSE(Exists(StartMenuEntry()));
}

TEST_F(InstallerTest, HandedOverWithTagItClosesTheRunningProductUpdatesAndStartsItAgain) {
  ASSERT_EQ(Install(L"/S"), 0);
  RunningApp running;
  ASSERT_TRUE(running.Start(L"", folder_ + L"Pellavorne Screen Recorder.exe"));
  ASSERT_NE(running.WaitForMainWindow(), nullptr);
  ::DeleteFileW((folder_ + L"install-log.txt").c_str());

  // As the update hand-off starts it: the tag and nothing else.
  EXPECT_EQ(RunProgram(InstallerPath(), L"/TAG=1.1.64"), 0);
  EXPECT_EQ(running.WaitForExit(), 0);  // closed by its own close request, not killed
  const std::string log = ReadWholeFile(folder_ + L"install-log.txt");
  EXPECT_NE(log.find("parameters=/TAG=1.1.64"), std::string::npos) << log;
  EXPECT_NE(log.find("mode=update"), std::string::npos) << log;

  DWORD id = 0;
  HWND again = nullptr;
  ASSERT_TRUE(Eventually([&] { return (again = FindProductWindow(folder_, &id)) != nullptr; }, 60000));
  EXPECT_NE(id, running.process_id());
  EXPECT_EQ(CloseProduct(again, id), 0);
}

}  // namespace
