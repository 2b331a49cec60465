#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <ctime>

#include "app/product_identity.h"
#include "app/single_instance.h"
#include "host/platform_handler.h"

namespace {

TEST(ProductIdentity, NamesHaveBlanksNotBars) {
  EXPECT_EQ(ProductDisplayName(), "Pellavorne Screen Recorder");
  EXPECT_EQ(ProductDisplayNameWide(), L"Pellavorne Screen Recorder");
  EXPECT_EQ(ProductDisplayNameWide().size(), 26u);
  EXPECT_EQ(BrandWord(), "Pellavorne");
  EXPECT_EQ(BrandWordWide(), L"Pellavorne");
  EXPECT_EQ(ProductVersion(), "1.1.64");
  EXPECT_EQ(ProductVersionWide(), L"1.1.64");
}

TEST(ProductIdentity, BuildYearIsTheLastWordOfTheDate) {
  EXPECT_EQ(YearOfBuildDate(L"May 14 2026"), L"2026");
  EXPECT_EQ(YearOfBuildDate(L"Dec  6 2026"), L"2026");
  EXPECT_EQ(YearOfBuildDate(L"2026"), L"");
  EXPECT_EQ(BuildYear().size(), 4u);
}

TEST(ProductIdentity, TemporaryFolderIsDatedAndStable) {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  wchar_t today[16];
  std::time_t now = std::time(nullptr);
  std::wcsftime(today, 16, L"%Y%m%d", std::localtime(&now));

  const std::wstring folder = TemporaryFolder(true);
  EXPECT_EQ(folder, std::wstring(temp) + L"Pellavorne\\" + today + L"\\");
  EXPECT_NE(::GetFileAttributesW(folder.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(TemporaryFolder(false), folder);
}

TEST(ProductIdentity, DocumentsFoldersAreCreatedOneByOne) {
  wchar_t documents[MAX_PATH];
  ASSERT_TRUE(SUCCEEDED(
      ::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents)));
  const std::wstring product = std::wstring(documents) + L"\\Pellavorne Screen Recorder\\";
  ::RemoveDirectoryW(product.c_str());

  const std::wstring clips = DocumentsFolder(L"Clips");
  EXPECT_EQ(clips, std::wstring(documents) + L"\\Clips\\");
  EXPECT_NE(::GetFileAttributesW(clips.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(::GetFileAttributesW(product.c_str()), INVALID_FILE_ATTRIBUTES);

  EXPECT_EQ(DocumentsProductFolder(), product);
  EXPECT_NE(::GetFileAttributesW(product.c_str()), INVALID_FILE_ATTRIBUTES);
  ::RemoveDirectoryW(clips.c_str());
  ::RemoveDirectoryW(product.c_str());
}

// The sub-folder name comes from a module; it may name a folder inside Documents only.
TEST(ProductIdentity, DocumentsSubFolderMayNotLeaveDocuments) {
  wchar_t documents[MAX_PATH];
  ASSERT_TRUE(SUCCEEDED(
      ::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents)));
  const std::wstring parent = std::wstring(documents) + L"\\..\\";
  const std::wstring escaped = parent + L"ostrevan-escaped-folder";
  ::RemoveDirectoryW(escaped.c_str());
  for (const wchar_t* name : {L"..\\ostrevan-escaped-folder", L"Clips\\..\\..\\ostrevan-escaped-folder",
                              L"C:\\ostrevan-escaped-folder", L"NUL"}) {
    EXPECT_EQ(DocumentsFolder(name), L"") << name;
    TERObserveData1 record = {};
    record.name = "LIBPLATFORM_COMMAND_GET_PERSONAL_PRODUCT_DIR";
    std::wstring argument = name;
    record.wide_text = &argument[0];
    PlatformHandler(&record);
    EXPECT_EQ(record.wide_text, nullptr) << name;
  }
  EXPECT_EQ(::GetFileAttributesW(escaped.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(::GetFileAttributesW(L"C:\\ostrevan-escaped-folder"), INVALID_FILE_ATTRIBUTES);
}

TEST(ProductIdentity, LanguageFileLivesInTheProductSettingsFolder) {
  const std::wstring path = LanguageFilePath();
  const std::wstring tail = L"\\Pellavorne\\Pellavorne Screen Recorder\\language.txt";
  ASSERT_GT(path.size(), tail.size());
  EXPECT_EQ(path.substr(path.size() - tail.size()), tail);
}

TEST(SingleInstance, NamesComeFromTheDisplayName) {
  const SingleInstanceNames names = MakeSingleInstanceNames(L"Pellavorne Screen Recorder");
  EXPECT_EQ(names.mutex, L"Global_Pellavorne Screen Recorder_Mutex");
  EXPECT_EQ(names.notify_event, L"Global_Pellavorne Screen Recorder_NotifyEvent");
}

}  // namespace
