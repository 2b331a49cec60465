// Damaged catalogues are refused as a whole, and no damage makes the reader leave the file.
#include <gtest/gtest.h>

#include <cstdint>
#include <cwchar>
#include <random>
#include <string>

#include "linguo/linguo.h"
#include "sample_catalogue.h"

namespace linguo_test {
namespace {

// One locale, reloaded with each damaged variant of the sample catalogue.
class Damaged : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    big_endian_ = GetParam();
    good_ = BuildMo(SampleEntries(), big_endian_);
    locale_ = wxCreateLocale(3);
  }

  bool Loads(const Bytes& bytes) { return LoadInto(locale_, folder_, bytes); }
  void Put(Bytes& b, std::size_t at, std::uint32_t v) { PutWord(b, at, v, big_endian_); }
  std::uint32_t Get(const Bytes& b, std::size_t at) { return GetWord(b, at, big_endian_); }
  std::uint32_t count() { return Get(good_, 8); }
  std::size_t original(std::uint32_t i) { return Get(good_, 12) + 8 * i; }
  std::size_t translation(std::uint32_t i) { return Get(good_, 16) + 8 * i; }

  bool big_endian_ = false;
  Bytes good_;
  TempFolder folder_;
  wxLocale* locale_ = nullptr;
};

TEST_P(Damaged, TheUndamagedFileLoads) { EXPECT_TRUE(Loads(good_)); }

TEST_P(Damaged, EveryTruncationIsRefused) {
  for (std::size_t length = 0; length < good_.size(); ++length) {
    EXPECT_FALSE(Loads(Bytes(good_.begin(), good_.begin() + length))) << "length " << length;
  }
}

TEST_P(Damaged, EmptyFileIsRefused) { EXPECT_FALSE(Loads(Bytes())); }

TEST_P(Damaged, WrongMagicIsRefused) {
  for (std::uint32_t magic : {0u, 0x950412dfu, 0x12de9504u, 0xFFFFFFFFu}) {
    Bytes b = good_;
    Put(b, 0, magic);
    EXPECT_FALSE(Loads(b)) << std::hex << magic;
  }
}

TEST_P(Damaged, TablesOutsideTheFileAreRefused) {
  const std::uint32_t size = static_cast<std::uint32_t>(good_.size());
  for (std::size_t field : {12u, 16u}) {
    for (std::uint32_t offset : {size, size - 4, 0xFFFFFFF8u, 0xFFFFFFFFu}) {
      Bytes b = good_;
      Put(b, field, offset);
      EXPECT_FALSE(Loads(b)) << "field " << field << " offset " << offset;
    }
  }
  for (std::uint32_t n : {count() + 1, 0x20000000u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
    Bytes b = good_;
    Put(b, 8, n);
    EXPECT_FALSE(Loads(b)) << "count " << n;
  }
}

TEST_P(Damaged, StringsOutsideTheFileAreRefused) {
  const std::uint32_t size = static_cast<std::uint32_t>(good_.size());
  struct Case {
    std::uint32_t length;
    std::uint32_t offset;
  };
  const Case cases[] = {
      {0, size},                      // the NUL itself would lie past the end
      {1, size - 1},                  // ends exactly at the end, no room for its NUL
      {size, 0},                      // longer than the file
      {0xFFFFFFFFu, 0xFFFFFFFFu},     // wraps around in 32 bits
      {0xFFFFFFFFu, 1},               // wraps around in 32 bits
      {1, 0xFFFFFFFFu},               // wraps around in 32 bits
      {0, 0xFFFFFFFFu},
  };
  for (std::size_t table_entry : {original(1), translation(1), original(count() - 1),
                                  translation(count() - 1)}) {
    for (const Case& c : cases) {
      Bytes b = good_;
      Put(b, table_entry, c.length);
      Put(b, table_entry + 4, c.offset);
      EXPECT_FALSE(Loads(b)) << "entry at " << table_entry << " length " << c.length
                             << " offset " << c.offset;
    }
  }
}

TEST_P(Damaged, StringWithoutTerminatorIsRefused) {
  for (std::size_t table_entry : {original(1), translation(1), translation(count() - 1)}) {
    Bytes b = good_;
    const std::uint32_t end = Get(b, table_entry + 4) + Get(b, table_entry);
    ASSERT_EQ(b[end], 0);
    b[end] = 'x';
    EXPECT_FALSE(Loads(b)) << "entry at " << table_entry;
  }
  // A length that runs over the terminator into the next string.
  Bytes b = good_;
  Put(b, original(1), Get(b, original(1)) + 1);
  EXPECT_FALSE(Loads(b));
}

TEST_P(Damaged, InvalidUtf8IsRefused) {
  const char* const bad[] = {
      "\x80",              // continuation byte without a lead
      "\xC0\x80",          // overlong NUL
      "\xE0\x80\xAF",      // overlong slash
      "\xED\xA0\x80",      // surrogate
      "\xF4\x90\x80\x80",  // past U+10FFFF
      "\xE3\x81",          // cut short
      "a\xF0\x9F\x98",     // cut short at the end
      "\xFF",              // never valid
      "\xC3\x28",          // lead followed by a non-continuation
  };
  for (const char* text : bad) {
    Bytes as_text = BuildMo({{"ok", "fine"}, {"key", text}}, big_endian_);
    EXPECT_FALSE(Loads(as_text)) << "translation " << text;
    Bytes as_key = BuildMo({{"ok", "fine"}, {text, "value"}}, big_endian_);
    EXPECT_FALSE(Loads(as_key)) << "key " << text;
    // Also in a later plural form, which is never shown but still part of the string.
    Bytes as_plural = BuildMo({{"ok", std::string("fine\0", 5) + text}}, big_endian_);
    EXPECT_FALSE(Loads(as_plural)) << "plural " << text;
  }
}

TEST_P(Damaged, RandomMutationsNeverCrash) {
  std::mt19937 random(big_endian_ ? 20240611u : 19950412u);
  const std::size_t tables_end = translation(count());  // header and both tables
  const char* const keys[] = {"ok", "cancel", "close", "exit", "smile", "file",
                              "language-change-tip-%s", "untranslated", ""};
  int loaded = 0;
  int refused = 0;
  for (int round = 0; round < 2000; ++round) {
    Bytes b = good_;
    const int changes = 1 + int(random() % 4);
    for (int c = 0; c < changes; ++c) {
      // Half the changes hit the header and tables, where offsets and counts live.
      const std::size_t at = (random() % 2) ? random() % tables_end : random() % b.size();
      switch (random() % 4) {
        case 0: b[at] = static_cast<unsigned char>(random()); break;
        case 1: b[at] ^= static_cast<unsigned char>(1u << (random() % 8)); break;
        case 2: b[at] = 0xFF; break;
        default: b[at] = 0; break;
      }
    }
    if (random() % 8 == 0) b.resize(random() % b.size());
    if (Loads(b)) {
      ++loaded;
      for (const char* narrow : keys) {
        const std::wstring key(narrow, narrow + std::char_traits<char>::length(narrow));
        const wchar_t* text = T(key.c_str());
        ASSERT_NE(text, nullptr);
        EXPECT_LT(std::wcslen(text), good_.size());
      }
    } else {
      ++refused;
    }
  }
  EXPECT_GT(loaded, 0);
  EXPECT_GT(refused, 0);
}

INSTANTIATE_TEST_SUITE_P(Linguo, Damaged, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("BigEndian")
                                             : std::string("LittleEndian");
                         });

}  // namespace
}  // namespace linguo_test
