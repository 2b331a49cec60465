#include "host/resource_catalogues.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <thread>
#include <vector>

#include "app/early_errors.h"
#include "shell/language.h"
#include "test_files.h"
#include "test_pictures.h"
#include "shipped_data.h"

namespace {

// Runs first: nothing has read Option.json yet in this program.
TEST(UrlCatalogue, WithoutOptionsEveryAddressIsEmpty) {
  for (const char* key : {"url:help", "url:root:brand", "email:support", "url:nothing"}) {
    const char* url = FindUrl(key);
    ASSERT_NE(url, nullptr);
    EXPECT_STREQ(url, "");
  }
}

TEST(UrlCatalogue, ShippedOptionsGoThroughTheLanguageSite) {
  SetCurrentLanguageNumber(2);
  LoadOptions(&ReplaceLanguagePlaceholders);
  EXPECT_STREQ(FindUrl("url:help"), "https://www.pellavorne.example/de/help/screen-recorder/");
  EXPECT_STREQ(FindUrl("url:brand"), "https://www.pellavorne.example/de");
  EXPECT_STREQ(FindUrl("url:product"), "https://www.pellavorne.example/de/screen-recorder");
  EXPECT_STREQ(FindUrl("url:root:brand"), "https://www.pellavorne.example/");
  EXPECT_STREQ(FindUrl("email:support"), "support@pellavorne.example");
  EXPECT_STREQ(FindUrl("url:unknown"), "");
  EXPECT_EQ(ProductType(), 1);
  EXPECT_EQ(CatalogueColor("color:title:background"), RGB(38, 44, 58));
  EXPECT_EQ(CatalogueColor("color:common:button:accent:normal"), RGB(59, 130, 246));
  EXPECT_EQ(CatalogueColor("color:no:such"), RGB(0, 0, 0));
  SetCurrentLanguageNumber(kEnglishLanguage);
}

LOGFONTW LogicalFont(HFONT font) {
  LOGFONTW logical = {};
  ::GetObjectW(font, sizeof(logical), &logical);
  return logical;
}

TEST(FontCatalogue, TableHasExactlyTheListedFonts) {
  BuildFontTable(1.0f, false);

  int gdiplus = 0, gdi = 0;
  for (int size = 8; size <= 64; ++size) {
    for (const char* weight : {":bold", ":normal"}) {
      gdiplus += FindGdiplusFont("font:gdiplus:" + std::to_string(size) + weight) != nullptr;
      gdi += FindFont("font:" + std::to_string(size) + weight) != nullptr;
    }
  }
  EXPECT_EQ(gdiplus, 32);
  EXPECT_EQ(gdi, 22);
  EXPECT_NE(FindFont("font:23:bold"), nullptr);
  EXPECT_EQ(FindFont("font:23:normal"), nullptr);
  EXPECT_NE(FindGdiplusFont("font:gdiplus:22:normal"), nullptr);
  EXPECT_EQ(FindGdiplusFont("font:gdiplus:22:bold"), nullptr);
  EXPECT_EQ(FindGdiplusFont("font:gdiplus:24:normal"), nullptr);
  EXPECT_EQ(FindFont("font:16"), nullptr);

  const LOGFONTW bold16 = LogicalFont(FindFont("font:16:bold"));
  EXPECT_EQ(bold16.lfHeight, 16);
  EXPECT_EQ(bold16.lfWeight, 700);
  EXPECT_EQ(bold16.lfCharSet, ANSI_CHARSET);
  EXPECT_STREQ(bold16.lfFaceName, L"Arial");
  EXPECT_EQ(LogicalFont(FindFont("font:12:normal")).lfWeight, 400);
  EXPECT_EQ(FindGdiplusFont("font:gdiplus:16:bold")->GetLastStatus(), Gdiplus::Ok);
}

TEST(FontCatalogue, SizesFollowTheScaleAndScript) {
  BuildFontTable(1.5f, true);
  const LOGFONTW bold16 = LogicalFont(FindFont("font:16:bold"));
  EXPECT_EQ(bold16.lfHeight, 24);
  EXPECT_EQ(bold16.lfCharSet, DEFAULT_CHARSET);
  EXPECT_EQ(LogicalFont(FindFont("font:13:normal")).lfHeight, 19);  // 19.5 truncated
}

// Fonts are made on their first look-up, from any thread, once per key; a font handed out
// stays valid when a new table starts.
TEST(FontCatalogue, EachFontIsMadeOnceWhicheverThreadAsks) {
  BuildFontTable(1.0f, false);
  std::vector<std::thread> threads;
  std::vector<std::vector<void*>> seen(4);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, &seen] {
      for (int size : {12, 16, 20, 56}) {
        seen[t].push_back(FindGdiplusFont("font:gdiplus:" + std::to_string(size) + ":bold"));
        seen[t].push_back(FindFont("font:" + std::to_string(size % 22) + ":normal"));
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 1; t < 4; ++t) EXPECT_EQ(seen[t], seen[0]);
  Gdiplus::Font* held = FindGdiplusFont("font:gdiplus:16:bold");
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(FindGdiplusFont("font:gdiplus:16:bold"), held);
  const float size = held->GetSize();
  BuildFontTable(1.5f, false);
  Gdiplus::Font* larger = FindGdiplusFont("font:gdiplus:16:bold");
  ASSERT_NE(larger, held);
  EXPECT_GT(larger->GetSize(), size);
  EXPECT_EQ(held->GetLastStatus(), Gdiplus::Ok);
  EXPECT_EQ(held->GetSize(), size);
}

// Runs before any other picture test: the pictures the main window is built with are
// decoded on a worker from the start, while look-ups from any thread (the main window's
// among them) wait for the picture they ask for and all get the one decoded copy.
TEST(ImageCatalogue, EarlyPicturesComeFromTheWorkerOnceWhicheverThreadAsks) {
  auto* own = new Gdiplus::Bitmap(2, 2, PixelFormat32bppARGB);
  AddImage("dialog\\slide-down-pressed.png", own);  // added before the preload: it stays
  StartImagePreload();
  const char* const keys[] = {"close-normal.png", "close-pressed.png",
                              "dialog\\slide-down-normal.png", "dialog\\take-back-normal.png"};
  std::vector<std::thread> threads;
  std::vector<std::vector<Gdiplus::Bitmap*>> seen(4, std::vector<Gdiplus::Bitmap*>(4));
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, &seen, &keys] {
      // Each thread asks in another order, so some ask while the worker is still busy.
      for (int k = 0; k < 4; ++k) seen[t][(k + t) % 4] = FindImage(keys[(k + t) % 4]);
    });
  }
  for (auto& thread : threads) thread.join();
  FinishImagePreload();
  for (int k = 0; k < 4; ++k) {
    Gdiplus::Bitmap* image = FindImage(keys[k]);
    ASSERT_NE(image, nullptr) << keys[k];
    EXPECT_EQ(image->GetLastStatus(), Gdiplus::Ok) << keys[k];
    EXPECT_GT(image->GetWidth(), 0u) << keys[k];
    for (int t = 0; t < 4; ++t) EXPECT_EQ(seen[t][k], image) << keys[k] << " on thread " << t;
  }
  EXPECT_EQ(FindImage("dialog\\slide-down-pressed.png"), own);
  // A picture no window needs at once is still decoded on its first look-up.
  Gdiplus::Bitmap* alert = FindImage("alert.png");
  ASSERT_NE(alert, nullptr);
  EXPECT_EQ(alert->GetLastStatus(), Gdiplus::Ok);
}

TEST(ImageCatalogue, PreloadCataloguesEveryPictureInOrder) {
  PreloadImages();
  for (const char* key : {"close-normal.png", "close-pressed.png", "alert.png", "loading.gif",
                          "preview-edit.png", "application128x128.png",
                          "application128x128-2.png", "dialog\\slide-down-normal.png",
                          "dialog\\take-back-pressed.png"}) {
    Gdiplus::Bitmap* image = FindImage(key);
    ASSERT_NE(image, nullptr) << key;
    EXPECT_EQ(image->GetLastStatus(), Gdiplus::Ok) << key;
    EXPECT_GT(image->GetWidth(), 0u) << key;
  }
  EXPECT_EQ(FindImage("not-preloaded.png"), nullptr);
}

TEST(ImageCatalogue, MissingPictureIsCataloguedOnceInErrorState) {
  Gdiplus::Bitmap* missing = FindOrLoadImage("no-such-picture.png");
  ASSERT_NE(missing, nullptr);
  EXPECT_NE(missing->GetLastStatus(), Gdiplus::Ok);
  EXPECT_EQ(FindOrLoadImage("no-such-picture.png"), missing);
  EXPECT_EQ(FindImage("no-such-picture.png"), missing);
}

// Writes a small picture into the test's Resources folder.
void WritePicture(const std::wstring& name) {
  Gdiplus::Bitmap picture(4, 3, PixelFormat32bppARGB);
  CLSID png = {};
  UINT count = 0, size = 0;
  Gdiplus::GetImageEncodersSize(&count, &size);
  std::vector<BYTE> buffer(size);
  auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  Gdiplus::GetImageEncoders(count, size, encoders);
  for (UINT i = 0; i < count; ++i)
    if (std::wcscmp(encoders[i].MimeType, L"image/png") == 0) png = encoders[i].Clsid;
  picture.Save((ShippedData::TestFolder() + L"Resources\\" + name).c_str(), &png, nullptr);
}

TEST(ImageCatalogue, OnDemandPictureIsReadOnceThenServedFromMemory) {
  WritePicture(L"on-demand.png");
  Gdiplus::Bitmap* first = FindOrLoadImage("on-demand.png");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetLastStatus(), Gdiplus::Ok);
  EXPECT_EQ(first->GetWidth(), 4u);
  ::DeleteFileW((ShippedData::TestFolder() + L"Resources\\on-demand.png").c_str());
  EXPECT_EQ(FindOrLoadImage("on-demand.png"), first);
}

bool KeptErrorMentions(const std::string& text) {
  for (const std::string& error : KeptErrors())
    if (error.find(text) != std::string::npos) return true;
  return false;
}

// A picture is refused before decoding when it claims more pixels than any real one, or
// when its key would read outside Resources; either is a missing picture with an error.
TEST(ImageCatalogue, OversizedAndEscapingPicturesAreMissing) {
  const std::wstring resources = ShippedData::TestFolder() + L"Resources\\";
  WriteText(resources + L"small-black.png", BlackPng(16, 9));
  WriteText(resources + L"too-many-pixels.png", BlackPng(9000, 9000));
  WriteText(ShippedData::TestFolder() + L"outside.png", BlackPng(4, 4));

  Gdiplus::Bitmap* small = FindOrLoadImage("small-black.png");
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(small->GetLastStatus(), Gdiplus::Ok);
  EXPECT_EQ(small->GetWidth(), 16u);
  EXPECT_EQ(small->GetHeight(), 9u);

  for (const char* key : {"too-many-pixels.png", "..\\outside.png", "dialog\\..\\..\\outside.png",
                          "Z:outside.png"}) {
    Gdiplus::Bitmap* refused = FindOrLoadImage(key);
    ASSERT_NE(refused, nullptr) << key;
    EXPECT_NE(refused->GetLastStatus(), Gdiplus::Ok) << key;
    EXPECT_EQ(FindOrLoadImage(key), refused) << key << ": not tried again";
  }
  EXPECT_TRUE(KeptErrorMentions("too-many-pixels.png claims 9000 x 9000 pixels"));
  EXPECT_TRUE(KeptErrorMentions("\"..\\outside.png\" leaves the Resources folder"));
}

TEST(ImageCatalogue, ConcurrentLoadsFromSeveralThreadsKeepOneImagePerKey) {
  std::vector<std::thread> threads;
  std::vector<std::vector<Gdiplus::Bitmap*>> seen(4);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, &seen] {
      for (int i = 0; i < 50; ++i)
        seen[t].push_back(FindOrLoadImage("concurrent-" + std::to_string(i % 10) + ".png"));
    });
  }
  for (auto& thread : threads) thread.join();
  for (int i = 0; i < 50; ++i) {
    for (int t = 1; t < 4; ++t) EXPECT_EQ(seen[t][i], seen[0][i]);
  }
  std::set<Gdiplus::Bitmap*> distinct(seen[0].begin(), seen[0].end());
  EXPECT_EQ(distinct.size(), 10u);
}

}  // namespace
