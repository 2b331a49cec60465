// Sound catalogues of either byte order translate; damaged ones are refused whole, and no
// damage makes the reader leave the file.
#include <gtest/gtest.h>

#include <cwchar>
#include <random>

#include "catalogue_support.h"
#include "linguo/mo_catalogue.h"

namespace linguo_test {
namespace {

// One locale, loaded with the sample catalogue or damaged variants of it.
class Catalogue : public ::testing::TestWithParam<bool> {
 protected:
  bool Loads(const Bytes& bytes) { return LoadInto(locale_, folder_, bytes); }
  Bytes With(std::size_t at, std::uint32_t value) {
    Bytes b = good_;
    PutWord(b, at, value, big_endian_);
    return b;
  }
  std::uint32_t Word(std::size_t at) { return GetWord(good_, at, big_endian_); }

  const bool big_endian_ = GetParam();
  const Bytes good_ = SampleMo(big_endian_);
  TempFolder folder_{L"linguo"};
  wxLocale* locale_ = wxCreateLocale(3);
};

TEST_P(Catalogue, ValidFileTranslatesAndMissesAnswerTheKey) {
  ASSERT_TRUE(Loads(good_));
  EXPECT_STREQ(T(L"ok"), L"Okay");
  EXPECT_STREQ(T(L"tip-%s"), L"Restart %s now.");
  EXPECT_STREQ(T(L"close"), kJapaneseClose);
  EXPECT_STREQ(T(L"exit"), kRussianExit);
  EXPECT_STREQ(T(L"smile"), L"\xD83D\xDE00");
  EXPECT_STREQ(T(L"\u00FCber"), L"over");
  EXPECT_STREQ(T(L"file"), L"Datei") << "a plural entry answers its first form";
  // A missing key, the header's empty key, an empty translation, a plural's second form and
  // keys that only resemble one: the key itself comes back.
  for (const wchar_t* key : {L"no-such-key", L"", L"untranslated", L"files", L"o", L"OK"}) {
    EXPECT_EQ(T(key), key) << key;
  }
  EXPECT_STREQ(wxGetTranslation(nullptr, "Platform"), L"");
  EXPECT_TRUE(Loads(BuildMo({{"ok", "Fine"}}, big_endian_, 0x00010001))) << "revision 1.1";
  EXPECT_STREQ(T(L"ok"), L"Fine");
}

TEST_P(Catalogue, DamagedFilesAreRefused) {
  const std::uint32_t size = static_cast<std::uint32_t>(good_.size());
  const std::size_t entry = Word(16) + 8;  // the second translation's length and offset
  Bytes unterminated = good_;
  unterminated[Word(entry + 4) + Word(entry)] = 'x';
  const struct {
    const char* what;
    Bytes bytes;
  } cases[] = {
      {"zero length", Bytes()},
      {"header cut short", good_.substr(0, 27)},
      {"tables cut short", good_.substr(0, 40)},
      {"last terminator cut", good_.substr(0, size - 1)},
      {"wrong magic", With(0, 0x950412dfu)},
      {"no magic", With(0, 0)},
      {"revision 2", With(4, 0x00020000u)},
      {"count past the end", With(8, Word(8) + 1)},
      {"originals past the end", With(12, size - 4)},
      {"translations at 2^32 - 1", With(16, 0xFFFFFFFFu)},
      {"string past the end", With(entry + 4, size)},
      {"string length wraps", With(entry, 0xFFFFFFFFu)},
      {"string without terminator", unterminated},
      {"overlong UTF-8", BuildMo({{"ok", "\xC0\x80"}}, big_endian_)},
      {"surrogate in a key", BuildMo({{"\xED\xA0\x80", "x"}}, big_endian_)},
      {"UTF-8 cut short", BuildMo({{"ok", "a\xF0\x9F\x98"}}, big_endian_)},
      {"U+110000", BuildMo({{"ok", "\xF4\x90\x80\x80"}}, big_endian_)},
      {"largest four-byte form", BuildMo({{"\xF7\xBF\xBF\xBF", "x"}}, big_endian_)},
  };
  for (const auto& c : cases) EXPECT_FALSE(Loads(c.bytes)) << c.what;
  EXPECT_TRUE(Loads(BuildMo({{"ok", "\xF4\x8F\xBF\xBF"}}, big_endian_))) << "U+10FFFF";
  EXPECT_STREQ(T(L"ok"), L"\xDBFF\xDFFF");
}

// The reader itself, on bytes whose next byte is the sound file's last NUL: a reader that
// looked one byte past the end would find its terminator there and accept.
TEST_P(Catalogue, TerminatorMustLieInsideTheBytes) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(good_.data());
  EXPECT_NE(linguo::Catalogue::Parse(bytes, good_.size()), nullptr);
  EXPECT_EQ(linguo::Catalogue::Parse(bytes, good_.size() - 1), nullptr);
}

TEST_P(Catalogue, RandomMutationsAreReadSafely) {
  std::mt19937 random(big_endian_ ? 20240611u : 19950412u);
  const std::size_t tables_end = 28 + 16 * Word(8);
  int loaded = 0;
  for (int round = 0; round < 2000; ++round) {
    Bytes b = good_;
    for (int changes = 1 + random() % 4; changes > 0; --changes) {
      // Half the changes hit the header and tables, where offsets and counts live.
      const std::size_t range = random() % 2 ? tables_end : b.size();
      const std::size_t at = random() % range;
      b[at] = random() % 3 ? char(b[at] ^ (1 << random() % 8)) : char(random());
    }
    if (random() % 8 == 0) b.resize(random() % b.size());
    if (!Loads(b)) continue;
    ++loaded;
    for (const wchar_t* key : {L"ok", L"close", L"smile", L"file", L""}) {
      const wchar_t* text = T(key);
      ASSERT_NE(text, nullptr);
      EXPECT_LT(std::wcslen(text), good_.size());
    }
  }
  EXPECT_GT(loaded, 0);
  EXPECT_LT(loaded, 2000);
}

INSTANTIATE_TEST_SUITE_P(Linguo, Catalogue, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "BigEndian" : "LittleEndian");
                         });

}  // namespace
}  // namespace linguo_test
