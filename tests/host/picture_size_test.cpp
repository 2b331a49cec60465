#include "host/picture_size.h"

#include <gtest/gtest.h>

#include <string>

#include "test_files.h"
#include "test_pictures.h"

namespace {

std::string Le16(uint32_t v) { return {char(v), char(v >> 8)}; }
std::string Le32(uint32_t v) { return Le16(v) + Le16(v >> 16); }
std::string Be16(uint32_t v) { return {char(v >> 8), char(v)}; }

std::string Gif(uint32_t w, uint32_t h) { return "GIF89a" + Le16(w) + Le16(h) + "\xF7\x00\x00"; }
std::string Bmp(int32_t w, int32_t h) {
  return "BM" + Le32(0) + Le32(0) + Le32(54) + Le32(40) + Le32(uint32_t(w)) + Le32(uint32_t(h));
}
std::string CoreBmp(uint32_t w, uint32_t h) {
  return "BM" + Le32(0) + Le32(0) + Le32(26) + Le32(12) + Le16(w) + Le16(h);
}
std::string Jfif() { return std::string("\xFF\xD8\xFF\xE0", 4) + Be16(16) + std::string(14, 'j'); }
std::string Sof(unsigned char marker, uint32_t w, uint32_t h) {
  return std::string("\xFF", 1) + char(marker) + Be16(19) + '\x08' + Be16(h) + Be16(w) +
         std::string(12, '\x01');
}

TEST(PictureSize, DimensionsComeFromTheHeaderOfEachFormat) {
  const struct {
    const char* what;
    std::string bytes;
    bool known;
    uint32_t width, height;
  } cases[] = {
      {"png", BlackPng(30000, 30000).substr(0, 33), true, 30000, 30000},
      {"png cut before the size", BlackPng(7, 5).substr(0, 20), false, 0, 0},
      {"gif", Gif(640, 480), true, 640, 480},
      {"bmp", Bmp(800, 600), true, 800, 600},
      {"top-down bmp", Bmp(800, -600), true, 800, 600},
      {"bmp at the extremes", Bmp(INT32_MIN, INT32_MIN), true, 0x80000000u, 0x80000000u},
      {"core bmp", CoreBmp(320, 200), true, 320, 200},
      {"baseline jpeg after an APP0", Jfif() + Sof(0xC0, 1024, 768), true, 1024, 768},
      {"progressive jpeg after fill bytes", Jfif() + "\xFF" + Sof(0xC2, 65535, 65535), true,
       65535, 65535},
      {"jpeg: a huffman table is no frame", Jfif() + Sof(0xC4, 9, 9) + Sof(0xC1, 3, 2), true,
       3, 2},
      {"jpeg with scan data before a frame", Jfif() + "\xFF\xDA" + Be16(8) + Sof(0xC0, 9, 9),
       false, 0, 0},
      {"jpeg cut inside a segment", Jfif() + Sof(0xC0, 9, 9).substr(0, 6), false, 0, 0},
      {"jpeg with a length below two", std::string("\xFF\xD8\xFF\xE1\x00\x01", 6) + Sof(0xC0, 9, 9),
       false, 0, 0},
      {"text", "not a picture at all", false, 0, 0},
      {"empty", "", false, 0, 0},
  };
  for (const auto& c : cases) {
    PictureSize size;
    const auto* bytes = reinterpret_cast<const unsigned char*>(c.bytes.data());
    ASSERT_EQ(ReadPictureSize(bytes, c.bytes.size(), &size), c.known) << c.what;
    if (!c.known) continue;
    EXPECT_EQ(size.width, c.width) << c.what;
    EXPECT_EQ(size.height, c.height) << c.what;
  }
}

TEST(PictureSize, FilesAreReadOnlyAsFarAsTheSize) {
  TempFolder folder(L"pictures");
  // Metadata segments of 60 kB each put a JPEG's frame far past the first read.
  std::string jpeg = Jfif();
  for (int i = 0; i < 3; ++i) jpeg += std::string("\xFF\xE1", 2) + Be16(60000) + std::string(59998, 'e');
  WriteText(folder.path() + L"late-frame.jpg", jpeg + Sof(0xC0, 20000, 30000) + "\xFF\xD9");
  WriteText(folder.path() + L"bomb.png", BlackPng(30000, 30000));
  WriteText(folder.path() + L"short.gif", "GIF8");

  PictureSize size;
  ASSERT_TRUE(ReadPictureFileSize(folder.path() + L"late-frame.jpg", &size));
  EXPECT_EQ(size.width, 20000u);
  EXPECT_EQ(size.height, 30000u);
  ASSERT_TRUE(ReadPictureFileSize(folder.path() + L"bomb.png", &size));
  EXPECT_EQ(size.width, 30000u);
  EXPECT_FALSE(ReadPictureFileSize(folder.path() + L"short.gif", &size));
  EXPECT_FALSE(ReadPictureFileSize(folder.path() + L"missing.png", &size));
}

TEST(PictureSize, BudgetIsSixtyFourMegapixels) {
  EXPECT_TRUE(FitsPixelBudget({8192, 8192}));
  EXPECT_TRUE(FitsPixelBudget({1, 64u << 20}));
  EXPECT_FALSE(FitsPixelBudget({8193, 8192}));
  EXPECT_FALSE(FitsPixelBudget({30000, 30000}));
  EXPECT_FALSE(FitsPixelBudget({0xFFFFFFFFu, 0xFFFFFFFFu})) << "no overflow in the product";
}

}  // namespace
