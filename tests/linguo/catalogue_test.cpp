// Sound catalogues: both byte orders, accepted revisions, plural entries, non-ASCII texts.
#include <gtest/gtest.h>

#include <string>

#include "linguo/linguo.h"
#include "sample_catalogue.h"

namespace linguo_test {
namespace {

class ByteOrder : public ::testing::TestWithParam<bool> {};

TEST_P(ByteOrder, SampleCatalogueTranslates) {
  TempFolder folder;
  bool loaded = false;
  NewLocaleWith(folder, BuildMo(SampleEntries(), GetParam()), &loaded);
  ASSERT_TRUE(loaded);
  EXPECT_STREQ(T(L"ok"), L"Okay");
  EXPECT_STREQ(T(L"cancel"), L"Abbrechen");
  EXPECT_STREQ(T(L"language-change-tip-%s"), L"Restart %s to use the new language.");
}

TEST_P(ByteOrder, JapaneseRussianAndAstralTextsRoundTrip) {
  TempFolder folder;
  bool loaded = false;
  NewLocaleWith(folder, BuildMo(SampleEntries(), GetParam()), &loaded);
  ASSERT_TRUE(loaded);
  EXPECT_STREQ(T(L"close"), kJapaneseClose);
  EXPECT_STREQ(T(L"exit"), kRussianExit);
  EXPECT_STREQ(T(L"smile"), kSmile);
}

TEST_P(ByteOrder, NonAsciiKeysAreFound) {
  TempFolder folder;
  bool loaded = false;
  NewLocaleWith(folder,
                BuildMo({{"\xC3\xBC" "ber", "over"}, {"\xE6\x97\xA5", "sun"}}, GetParam()),
                &loaded);
  ASSERT_TRUE(loaded);
  EXPECT_STREQ(T(L"\u00FCber"), L"over");
  EXPECT_STREQ(T(L"\u65E5"), L"sun");
}

INSTANTIATE_TEST_SUITE_P(Linguo, ByteOrder, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("BigEndian")
                                             : std::string("LittleEndian");
                         });

TEST(Catalogue, HeaderEntryIsNotATranslation) {
  TempFolder folder;
  bool loaded = false;
  NewLocaleWith(folder, BuildMo(SampleEntries(), false), &loaded);
  ASSERT_TRUE(loaded);
  const wchar_t* empty = L"";
  EXPECT_EQ(T(empty), empty);
}

TEST(Catalogue, PluralEntryAnswersItsFirstForm) {
  TempFolder folder;
  bool loaded = false;
  NewLocaleWith(folder, BuildMo(SampleEntries(), false), &loaded);
  ASSERT_TRUE(loaded);
  EXPECT_STREQ(T(L"file"), L"Datei");
  const wchar_t* plural = L"files";
  EXPECT_EQ(T(plural), plural);
}

TEST(Catalogue, EmptyTranslationCountsAsUntranslated) {
  TempFolder folder;
  bool loaded = false;
  NewLocaleWith(folder, BuildMo(SampleEntries(), false), &loaded);
  ASSERT_TRUE(loaded);
  const wchar_t* key = L"untranslated";
  EXPECT_EQ(T(key), key);
}

TEST(Catalogue, RepeatedKeyKeepsItsFirstTranslation) {
  TempFolder folder;
  bool loaded = false;
  NewLocaleWith(folder, BuildMo({{"ok", "first"}, {"ok", "second"}}, false), &loaded);
  ASSERT_TRUE(loaded);
  EXPECT_STREQ(T(L"ok"), L"first");
}

TEST(Catalogue, EmptyCatalogueLoadsAndTranslatesNothing) {
  TempFolder folder;
  bool loaded = false;
  NewLocaleWith(folder, BuildMo({}, true), &loaded);
  ASSERT_TRUE(loaded);
  const wchar_t* key = L"ok";
  EXPECT_EQ(T(key), key);
}

TEST(Catalogue, AcceptedAndRefusedRevisions) {
  struct Case {
    std::uint32_t revision;
    bool accepted;
  };
  for (const Case c : {Case{0x00000000, true}, Case{0x00000001, true}, Case{0x00010000, true},
                       Case{0x00010001, true}, Case{0x00020000, false},
                       Case{0xFFFF0000, false}}) {
    for (bool big_endian : {false, true}) {
      TempFolder folder;
      bool loaded = false;
      NewLocaleWith(folder, BuildMo(SampleEntries(), big_endian, c.revision), &loaded);
      EXPECT_EQ(loaded, c.accepted) << std::hex << c.revision << " big endian " << big_endian;
    }
  }
}

TEST(Catalogue, TablesAtUnalignedOffsets) {
  for (bool big_endian : {false, true}) {
    TempFolder folder;
    bool loaded = false;
    NewLocaleWith(folder, BuildMo(SampleEntries(), big_endian, 0, 3), &loaded);
    ASSERT_TRUE(loaded);
    EXPECT_STREQ(T(L"exit"), kRussianExit);
  }
}

TEST(Catalogue, ManyEntries) {
  std::vector<MoEntry> entries;
  for (int i = 0; i < 5000; ++i) {
    entries.push_back({"k" + std::to_string(i), "v" + std::to_string(i)});
  }
  TempFolder folder;
  bool loaded = false;
  NewLocaleWith(folder, BuildMo(entries, true), &loaded);
  ASSERT_TRUE(loaded);
  for (int i = 0; i < 5000; i += 499) {
    EXPECT_EQ(std::wstring(T((L"k" + std::to_wstring(i)).c_str())), L"v" + std::to_wstring(i));
  }
}

}  // namespace
}  // namespace linguo_test
