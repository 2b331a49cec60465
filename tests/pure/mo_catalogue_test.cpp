// The .mo reader on bytes in memory: sound catalogues of either byte order read whole,
// damaged ones are refused whole, and no damage makes it read outside the bytes.
#include "linguo/mo_catalogue.h"

#include <gtest/gtest.h>

#include <random>

#include "mo_bytes.h"

namespace {

using linguo_test::Bytes;

std::unique_ptr<linguo::Catalogue> Parse(const Bytes& bytes) {
  // An exact-size copy, so a read past the end is one the sanitizers see.
  std::vector<unsigned char> copy(bytes.begin(), bytes.end());
  return linguo::Catalogue::Parse(copy.data(), copy.size());
}

class MoCatalogue : public ::testing::TestWithParam<bool> {
 protected:
  const bool big_endian_ = GetParam();
  const Bytes good_ = linguo_test::SampleMo(big_endian_);
};

TEST_P(MoCatalogue, SoundCatalogueReadsWhole) {
  const auto catalogue = Parse(good_);
  ASSERT_NE(catalogue, nullptr);
  EXPECT_EQ(catalogue->entry_count(), 7u) << "the header and the untranslated entry are left out";
  EXPECT_STREQ(catalogue->Find(L"ok"), L"Okay");
  EXPECT_STREQ(catalogue->Find(L"file"), L"Datei") << "a plural entry by its first form";
  EXPECT_EQ(catalogue->Find(L"untranslated"), nullptr);
  EXPECT_EQ(catalogue->Find(L""), nullptr);
  const wchar_t* smile = catalogue->Find(L"smile");
  ASSERT_NE(smile, nullptr);
  EXPECT_EQ(smile[0], wchar_t(0xD83D)) << "beyond the BMP as two UTF-16 units";
  EXPECT_EQ(smile[1], wchar_t(0xDE00));
}

TEST_P(MoCatalogue, DamageIsRefusedWhole) {
  auto with = [&](std::size_t at, std::uint32_t value) {
    Bytes b = good_;
    linguo_test::PutWord(b, at, value, big_endian_);
    return b;
  };
  EXPECT_EQ(Parse(good_.substr(0, 27)), nullptr) << "shorter than the header";
  EXPECT_EQ(Parse(good_.substr(0, good_.size() - 1)), nullptr) << "last NUL cut off";
  EXPECT_EQ(Parse(with(0, 0x12345678)), nullptr) << "magic";
  EXPECT_EQ(Parse(with(4, 2u << 16)), nullptr) << "major revision 2";
  EXPECT_NE(Parse(with(4, 1u << 16)), nullptr) << "major revision 1 reads the same";
  EXPECT_EQ(Parse(with(8, 0xFFFFFFFFu)), nullptr) << "count past the data";
  EXPECT_EQ(Parse(with(12, 0xFFFFFFF8u)), nullptr) << "table offset that wraps 32 bits";
  EXPECT_EQ(Parse(with(28, 0xFFFFFFFFu)), nullptr) << "string length past the data";
  EXPECT_EQ(Parse(with(32, 0xFFFFFFFFu)), nullptr) << "string offset past the data";
  Bytes bad_utf8 = good_;
  bad_utf8[bad_utf8.find("Okay")] = char(0xC0);
  EXPECT_EQ(Parse(bad_utf8), nullptr) << "invalid UTF-8 anywhere";
}

TEST_P(MoCatalogue, RandomDamageNeverReadsOutside) {
  std::mt19937 random(big_endian_ ? 7 : 11);
  for (int round = 0; round < 3000; ++round) {
    Bytes b = good_;
    for (int flips = 1 + round % 4; flips > 0; --flips)
      b[random() % b.size()] = char(random() % 256);
    if (round % 5 == 0) b.resize(random() % (b.size() + 1));
    if (const auto catalogue = Parse(b)) catalogue->Find(L"ok");
  }
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, MoCatalogue, ::testing::Bool());

}  // namespace
