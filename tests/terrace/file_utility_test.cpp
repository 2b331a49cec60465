#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ter_utility.h"
#include "test_support.h"

using terrace_test::FileExists;
using terrace_test::ReadRaw;
using terrace_test::Str;
using terrace_test::TempFolder;
using terrace_test::Text;
using terrace_test::WriteRaw;

namespace {

ITerUtilityFile* Files() {
  return TerUtilityFile();
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(MakeFolder, CreatesEveryMissingParent) {
  TempFolder temp;
  EXPECT_TRUE(Files()->MakeFolder(temp.Utf8(L"a\\b/c\\").c_str()));
  EXPECT_TRUE(IsFolder(temp.Wide(L"a\\b\\c")));
  EXPECT_TRUE(Files()->MakeFolder(temp.Utf8(L"a\\b\\c").c_str())) << "existing is fine";
  EXPECT_TRUE(Files()->MakeFolder(temp.Utf8(L"Gr\u00FC\u00DFe\\\u65E5\u672C").c_str()));
  EXPECT_TRUE(IsFolder(temp.Wide(L"Gr\u00FC\u00DFe\\\u65E5\u672C")));
}

TEST(MakeFolder, FailsWhereAFileStandsInTheWay) {
  TempFolder temp;
  WriteRaw(temp.Wide(L"file"), "x");
  EXPECT_FALSE(Files()->MakeFolder(temp.Utf8(L"file\\sub").c_str()));
  EXPECT_FALSE(Files()->MakeFolder(temp.Utf8(L"file").c_str()));
  EXPECT_FALSE(Files()->MakeFolder(nullptr));
  EXPECT_FALSE(Files()->MakeFolder(""));
}

TEST(Exists, SeesFilesAndFolders) {
  TempFolder temp;
  WriteRaw(temp.Wide(L"\u65E5.txt"), "x");
  EXPECT_TRUE(Files()->Exists(temp.Utf8(L"\u65E5.txt").c_str()));
  EXPECT_TRUE(Files()->Exists(temp.Utf8(L"").c_str()));
  EXPECT_FALSE(Files()->Exists(temp.Utf8(L"missing.txt").c_str()));
  EXPECT_FALSE(Files()->Exists(nullptr));
  EXPECT_FALSE(Files()->Exists(""));
}

std::string Size(uint64_t bytes) {
  return Str(Text(Files()->SizeText(bytes)));
}

TEST(SizeText, ShortTextPerUnit) {
  EXPECT_EQ(Size(0), "0 B");
  EXPECT_EQ(Size(512), "512 B");
  EXPECT_EQ(Size(1023), "1023 B");
  EXPECT_EQ(Size(1024), "1.0 KB");
  EXPECT_EQ(Size(1536), "1.5 KB");
  EXPECT_EQ(Size(3407872), "3.25 MB");
  EXPECT_EQ(Size(2147483648ull), "2.00 GB");
  EXPECT_EQ(Size(5ull << 40), "5.00 TB");
  EXPECT_EQ(Size(UINT64_MAX), "16.00 EB");
}

TEST(SizeText, RoundingNeverShowsAFullUnitOfTheSmallerOne) {
  EXPECT_EQ(Size(1048575), "1.00 MB");  // 1023.999 KB
  EXPECT_EQ(Size((1ull << 30) - 1), "1.00 GB");
  EXPECT_EQ(Size(1048000), "1023.4 KB");
}

struct Parts {
  std::string folder, base, extension;
};

Parts Split(const char* path) {
  char* folder = nullptr;
  char* base = nullptr;
  char* extension = nullptr;
  Files()->SplitPath(path, &folder, &base, &extension);
  return Parts{Str(Text(folder)), Str(Text(base)), Str(Text(extension))};
}

TEST(SplitPath, FolderBaseAndExtension) {
  Parts parts = Split("C:\\a\\b.txt");
  EXPECT_EQ(parts.folder, "C:\\a\\");
  EXPECT_EQ(parts.base, "b");
  EXPECT_EQ(parts.extension, ".txt");

  parts = Split("C:/videos/clip.final.mp4");
  EXPECT_EQ(parts.folder, "C:/videos/");
  EXPECT_EQ(parts.base, "clip.final");
  EXPECT_EQ(parts.extension, ".mp4");

  parts = Split(
      "C:\\Gr\xC3\xBC\xC3\x9F"
      "e\\\xE6\x97\xA5.json");
  EXPECT_EQ(parts.folder,
            "C:\\Gr\xC3\xBC\xC3\x9F"
            "e\\");
  EXPECT_EQ(parts.base, "\xE6\x97\xA5");
  EXPECT_EQ(parts.extension, ".json");
}

TEST(SplitPath, EdgeCases) {
  Parts parts = Split("name");
  EXPECT_EQ(parts.folder, "");
  EXPECT_EQ(parts.base, "name");
  EXPECT_EQ(parts.extension, "");

  parts = Split("C:\\dir.d\\noext");
  EXPECT_EQ(parts.folder, "C:\\dir.d\\");
  EXPECT_EQ(parts.base, "noext");
  EXPECT_EQ(parts.extension, "");

  parts = Split("C:\\a\\");
  EXPECT_EQ(parts.folder, "C:\\a\\");
  EXPECT_EQ(parts.base, "");

  parts = Split("C:\\home\\.profile");
  EXPECT_EQ(parts.base, ".profile");
  EXPECT_EQ(parts.extension, "");

  parts = Split("C:b.txt");
  EXPECT_EQ(parts.folder, "C:");
  EXPECT_EQ(parts.base, "b");

  char* extension = nullptr;
  Files()->SplitPath("x\\y.z", nullptr, nullptr, &extension);
  EXPECT_EQ(Str(Text(extension)), ".z");

  char* folder = reinterpret_cast<char*>(1);
  Files()->SplitPath(nullptr, &folder, nullptr, nullptr);
  EXPECT_EQ(folder, nullptr);
}

TEST(ReadWriteFile, BinaryRoundTrip) {
  TempFolder temp;
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  bytes += bytes;
  const std::string path = temp.Utf8(L"\u65E5\u672C.bin");
  ASSERT_TRUE(Files()->WriteFile(bytes.data(), bytes.size(), path.c_str()));
  EXPECT_EQ(ReadRaw(temp.Wide(L"\u65E5\u672C.bin")), bytes);

  TerBinaryData* read = Files()->ReadFile(path.c_str());
  ASSERT_NE(read, nullptr);
  ASSERT_EQ(read->size, bytes.size());
  EXPECT_EQ(std::string(reinterpret_cast<char*>(read->data), read->size), bytes);
  EXPECT_EQ(read->data[read->size], 0) << "a zero byte follows the data";
  Files()->FreeBinayDataResult(read);
}

TEST(ReadWriteFile, OverwriteEmptyAndFailures) {
  TempFolder temp;
  const std::string path = temp.Utf8(L"data.txt");
  ASSERT_TRUE(Files()->WriteFile("a long first version", 20, path.c_str()));
  ASSERT_TRUE(Files()->WriteFile("short", 5, path.c_str()));
  EXPECT_EQ(ReadRaw(temp.Wide(L"data.txt")), "short");

  ASSERT_TRUE(Files()->WriteFile(nullptr, 0, path.c_str()));
  TerBinaryData* read = Files()->ReadFile(path.c_str());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->size, 0u);
  Files()->FreeBinayDataResult(read);

  EXPECT_FALSE(Files()->WriteFile(nullptr, 5, path.c_str()));
  EXPECT_FALSE(Files()->WriteFile("x", 1, temp.Utf8(L"no\\such\\folder.txt").c_str()));
  EXPECT_FALSE(Files()->WriteFile("x", 1, temp.Utf8(L"").c_str())) << "a folder is no file";
  EXPECT_FALSE(Files()->WriteFile("x", 1, nullptr));
  EXPECT_EQ(Files()->ReadFile(temp.Utf8(L"missing").c_str()), nullptr);
  EXPECT_EQ(Files()->ReadFile(nullptr), nullptr);
  EXPECT_EQ(temp.Entries(), std::vector<std::wstring>{L"data.txt"}) << "no temporary leftovers";
}

// The target is held open without delete sharing, so the final replace fails the way it
// would if the process died just before it: the old file must be untouched.
TEST(ReadWriteFile, FailedReplaceLeavesOldFileIntact) {
  TempFolder temp;
  const std::wstring target = temp.Wide(L"settings.json");
  WriteRaw(target, "old content");
  HANDLE holder = ::CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  const std::string path = temp.Utf8(L"settings.json");
  EXPECT_FALSE(Files()->WriteFile("new content", 11, path.c_str()));
  EXPECT_EQ(ReadRaw(target), "old content");
  ::CloseHandle(holder);
  EXPECT_EQ(temp.Entries(), std::vector<std::wstring>{L"settings.json"});

  ASSERT_TRUE(Files()->WriteFile("new content", 11, path.c_str()));
  EXPECT_EQ(ReadRaw(target), "new content");
}

TEST(ReadWriteFile, StaleTemporaryFilesOfACrashedRunDoNotGetInTheWay) {
  TempFolder temp;
  // Leftovers named as this process would name its own temporary files.
  std::vector<std::wstring> stale;
  for (int i = 0; i < 50; ++i) {
    stale.push_back(L"clip.json." + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                    std::to_wstring(i) + L".tmp");
    WriteRaw(temp.Wide(stale.back()), "half writ");
  }
  ASSERT_TRUE(Files()->WriteFile("{}", 2, temp.Utf8(L"clip.json").c_str()));
  EXPECT_EQ(ReadRaw(temp.Wide(L"clip.json")), "{}");
  for (const std::wstring& name : stale) EXPECT_EQ(ReadRaw(temp.Wide(name)), "half writ");
  EXPECT_EQ(temp.Entries().size(), stale.size() + 1);
}

}  // namespace
