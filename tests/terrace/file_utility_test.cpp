#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

ITerUtilityFile* Files() {
  return TerUtilityFile();
}

TEST(MakeFolder, CreatesEveryMissingParentButNotThroughAFile) {
  TempFolder temp(L"files");
  const std::wstring nested = temp.path() + L"Gr\u00FC\u00DFe/b\\\u65E5\u672C\\";
  EXPECT_TRUE(Files()->MakeFolder(Utf8(nested).c_str()));
  const DWORD attributes = ::GetFileAttributesW(nested.c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_TRUE(Files()->Exists(Utf8(nested).c_str()));
  EXPECT_TRUE(Files()->MakeFolder(Utf8(nested).c_str())) << "existing is fine";

  WriteText(temp.path() + L"file", "x");
  EXPECT_TRUE(Files()->Exists(Utf8(temp.path() + L"file").c_str()));
  EXPECT_FALSE(Files()->MakeFolder(Utf8(temp.path() + L"file\\sub").c_str()));
  EXPECT_FALSE(Files()->MakeFolder(Utf8(temp.path() + L"file").c_str()));
  EXPECT_FALSE(Files()->MakeFolder(""));
  EXPECT_FALSE(Files()->Exists(Utf8(temp.path() + L"missing").c_str()));
}

TEST(SizeText, ShortTextPerUnitNeverAFullUnitOfTheSmallerOne) {
  const std::pair<uint64_t, const char*> cases[] = {{0, "0 B"},
                                                    {1023, "1023 B"},
                                                    {1024, "1.0 KB"},
                                                    {1536, "1.5 KB"},
                                                    {3407872, "3.25 MB"},
                                                    {2147483648ull, "2.00 GB"},
                                                    {UINT64_MAX, "16.00 EB"},
                                                    {1048575, "1.00 MB"},
                                                    {1048000, "1023.4 KB"}};
  for (const auto& c : cases) EXPECT_EQ(Str(Files()->SizeText(c.first)), c.second) << c.first;
}

TEST(SplitPath, FolderBaseAndExtension) {
  struct Case {
    const char *path, *folder, *base, *extension;
  };
  const Case cases[] = {
      {"C:\\a\\b.txt", "C:\\a\\", "b", ".txt"},
      {"C:/videos/clip.final.mp4", "C:/videos/", "clip.final", ".mp4"},
      {"C:\\\xC3\xBC\\\xE6\x97\xA5.json", "C:\\\xC3\xBC\\", "\xE6\x97\xA5", ".json"},
      {"name", "", "name", ""},
      {"C:\\dir.d\\noext", "C:\\dir.d\\", "noext", ""},
      {"C:\\home\\.profile", "C:\\home\\", ".profile", ""},
      {"C:b.txt", "C:", "b", ".txt"}};
  for (const Case& c : cases) {
    char *folder = nullptr, *base = nullptr, *extension = nullptr;
    Files()->SplitPath(c.path, &folder, &base, &extension);
    EXPECT_EQ(Str(folder), c.folder) << c.path;
    EXPECT_EQ(Str(base), c.base) << c.path;
    EXPECT_EQ(Str(extension), c.extension) << c.path;
  }
  char* extension = nullptr;
  Files()->SplitPath("x\\y.z", nullptr, nullptr, &extension);
  EXPECT_EQ(Str(extension), ".z");
}

TEST(ReadWriteFile, BinaryRoundTripOverwriteAndFailures) {
  TempFolder temp(L"files");
  std::string bytes;
  for (int i = 0; i < 512; ++i) bytes += static_cast<char>(i);
  const std::string path = Utf8(temp.path() + L"\u65E5\u672C.bin");
  ASSERT_TRUE(Files()->WriteFile("a longer first version", 22, path.c_str()));
  ASSERT_TRUE(Files()->WriteFile(bytes.data(), bytes.size(), path.c_str()));
  EXPECT_EQ(ReadWholeFile(temp.path() + L"\u65E5\u672C.bin"), bytes);
  TerBinaryData* read = Files()->ReadFile(path.c_str());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(read->data), read->size), bytes);
  EXPECT_EQ(read->data[read->size], 0) << "a zero byte follows the data";
  Files()->FreeBinayDataResult(read);

  EXPECT_FALSE(Files()->WriteFile(nullptr, 5, path.c_str()));
  EXPECT_FALSE(Files()->WriteFile("x", 1, Utf8(temp.path() + L"no\\such.txt").c_str()));
  EXPECT_FALSE(Files()->WriteFile("x", 1, Utf8(temp.path()).c_str())) << "a folder is no file";
  EXPECT_EQ(Files()->ReadFile(Utf8(temp.path() + L"missing").c_str()), nullptr);
  EXPECT_EQ(Entries(temp.path()), std::vector<std::wstring>{L"\u65E5\u672C.bin"})
      << "no temporary leftovers";
}

// Leftovers of a crashed run with the same process id hold the temporary names this run
// would pick first: nothing of ours is being written meanwhile, so they are removed, and the
// write goes on.
TEST(ReadWriteFile, StaleTemporaryFilesDoNotGetInTheWay) {
  TempFolder temp(L"files");
  for (int i = 0; i < 50; ++i) {
    WriteText(temp.path() + L"clip.json." + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                  std::to_wstring(i) + L".tmp",
              "half writ");
  }
  ASSERT_TRUE(Files()->WriteFile("{}", 2, Utf8(temp.path() + L"clip.json").c_str()));
  EXPECT_EQ(ReadWholeFile(temp.path() + L"clip.json"), "{}");
  EXPECT_EQ(Entries(temp.path()), std::vector<std::wstring>{L"clip.json"});
}

}  // namespace
