#include "host/resource_catalogues.h"

#include <map>
#include <mutex>
#include <system_error>
#include <thread>

#include "app/data_file_problem.h"
#include "app/early_errors.h"
#include "app/terrace_text.h"
#include "common/contained_path.h"
#include "host/picture_size.h"
#include "ter_user_defaults.h"
#include "view/utils.h"

namespace {

// Catalogues are never torn down: windows and modules hold their values to the end.
template <typename Value>
std::map<std::string, Value, std::less<>>& Catalogue() {
  static auto* catalogue = new std::map<std::string, Value, std::less<>>();
  return *catalogue;
}

template <typename Value>
Value Find(const std::string& key) {
  const auto& catalogue = Catalogue<Value>();
  auto found = catalogue.find(key);
  return found == catalogue.end() ? Value() : found->second;
}

// Modules may ask for images from several threads; loading on a miss writes the catalogue.
std::mutex g_image_lock;
std::mutex g_preload_lock;
std::thread g_preload;
int g_product_type = 0;

constexpr const char* kPreloadedImages[] = {
    "close-normal.png",      "close-pressed.png",
    "alert.png",             "loading.gif",
    "preview-edit.png",      "record-start.png",
    "screenshot.png",        "application128x128.png",
    "application128x128-2.png", "dialog\\slide-down-normal.png",
    "dialog\\slide-down-pressed.png", "dialog\\take-back-normal.png",
    "dialog\\take-back-pressed.png",
};

constexpr const char* kUrlKeys[] = {
    "url:help",       "url:support", "url:feedback", "url:question",
    "url:brand",      "url:root:brand", "url:product", "url:facebook",
    "url:twitter",    "url:google",  "url:history",  "email:support",
};

struct FontSizes {
  int size;
  bool normal;
  bool bold;
};

constexpr FontSizes kGdiplusFonts[] = {
    {12, true, true}, {13, true, true}, {14, true, true}, {15, true, true}, {16, true, true},
    {17, true, true}, {18, true, true}, {19, true, true}, {20, true, true}, {21, true, true},
    {26, true, true}, {29, true, true}, {30, true, true}, {31, true, true}, {56, true, true},
    {22, true, false}, {23, true, false},
};
constexpr FontSizes kGdiFonts[] = {
    {12, true, true}, {13, true, true}, {14, true, true}, {15, true, true}, {16, true, true},
    {17, true, true}, {18, true, true}, {19, true, true}, {20, true, true}, {21, true, true},
    {22, true, false}, {23, false, true},
};

std::wstring ResourcesFolder() {
  TerText folder(TerUtilityApp()->ApplicationFolder());
  return Utf8ToWide(folder.get()) + L"Resources\\";
}

// What a missing file gives: an object whose status tells the failure, so users that
// check the status draw nothing.
Gdiplus::Bitmap* MissingPicture() {
  return new Gdiplus::Bitmap(0, 0, PixelFormat32bppARGB);
}

Gdiplus::Bitmap* LoadImageFile(const std::wstring& folder, const std::string& key) {
  if (!IsContainedRelativePath(key)) {
    LogError("Picture key \"" + key + "\" leaves the Resources folder; treated as missing");
    return MissingPicture();
  }
  const std::wstring path = folder + Utf8ToWide(key);
  PictureSize size;
  if (ReadPictureFileSize(path, &size) && !FitsPixelBudget(size)) {
    LogError("Picture Resources\\" + key + " claims " + std::to_string(size.width) + " x " +
             std::to_string(size.height) + " pixels, beyond any real picture; treated as missing");
    return MissingPicture();
  }
  // A missing or undecodable file still gives an object whose status tells the failure;
  // GDI+ objects come from its own allocator, which answers null instead of throwing.
  return new Gdiplus::Bitmap(path.c_str(), FALSE);
}

std::string FontKey(const char* family, int size, bool bold) {
  return std::string(family) + std::to_string(size) + (bold ? ":bold" : ":normal");
}

}  // namespace

Gdiplus::Bitmap* FindImage(const std::string& key) {
  FinishImagePreload();
  std::lock_guard<std::mutex> lock(g_image_lock);
  return Find<Gdiplus::Bitmap*>(key);
}

void AddImage(const std::string& key, Gdiplus::Bitmap* image) {
  std::lock_guard<std::mutex> lock(g_image_lock);
  Catalogue<Gdiplus::Bitmap*>()[key] = image;
}

Gdiplus::Bitmap* FindOrLoadImage(const std::string& key) {
  FinishImagePreload();
  std::lock_guard<std::mutex> lock(g_image_lock);
  auto& catalogue = Catalogue<Gdiplus::Bitmap*>();
  auto found = catalogue.find(key);
  if (found != catalogue.end() && found->second) return found->second;
  Gdiplus::Bitmap* image = LoadImageFile(ResourcesFolder(), key);
  catalogue[key] = image;
  return image;
}

void PreloadImages() {
  const std::wstring folder = ResourcesFolder();
  for (const char* key : kPreloadedImages) AddImage(key, LoadImageFile(folder, key));
}

void StartImagePreload() {
  std::lock_guard<std::mutex> lock(g_preload_lock);
  if (g_preload.joinable()) return;
  try {
    g_preload = std::thread(&PreloadImages);
  } catch (const std::system_error&) {
    PreloadImages();  // no thread to spare: load them here
  }
}

void FinishImagePreload() {
  std::lock_guard<std::mutex> lock(g_preload_lock);
  if (g_preload.joinable()) g_preload.join();
}

Gdiplus::Font* FindGdiplusFont(const std::string& key) { return Find<Gdiplus::Font*>(key); }
void AddGdiplusFont(const std::string& key, Gdiplus::Font* font) {
  Catalogue<Gdiplus::Font*>()[key] = font;
}
HFONT FindFont(const std::string& key) { return Find<HFONT>(key); }
void AddFont(const std::string& key, HFONT font) { Catalogue<HFONT>()[key] = font; }

void BuildFontTable(HDC device_context, float scale, bool default_charset) {
  const BYTE charset = default_charset ? DEFAULT_CHARSET : ANSI_CHARSET;
  auto height = [scale](int size) { return static_cast<int>(static_cast<float>(size) * scale); };
  for (const FontSizes& entry : kGdiplusFonts) {
    for (bool bold : {true, false}) {
      if (!(bold ? entry.bold : entry.normal)) continue;
      AddGdiplusFont(FontKey("font:gdiplus:", entry.size, bold),
                     Utils::GetFont(device_context, height(entry.size), charset, bold, L"Arial"));
    }
  }
  for (const FontSizes& entry : kGdiFonts) {
    for (bool bold : {true, false}) {
      if (!(bold ? entry.bold : entry.normal)) continue;
      AddFont(FontKey("font:", entry.size, bold),
              Utils::GetHFONT(height(entry.size), charset, bold, L"Arial"));
    }
  }
}

const char* FindUrl(const std::string& key) {
  static const char kEmpty[] = "";
  const auto& catalogue = Catalogue<std::string>();
  auto found = catalogue.find(key);
  return found == catalogue.end() ? kEmpty : found->second.c_str();
}

void AddUrl(const std::string& key, const std::string& text) {
  Catalogue<std::string>()[key] = text;
}

void LoadOptions(UrlCompletion complete) {
  TerText folder(TerUtilityApp()->ApplicationFolder());
  const std::string path = folder.str() + "Option.json";
  if (!InitUserDefaults("url", Utf8ToWide(path).c_str())) {
    LogError("Option.json could not be used: " + path + ": " + DataFileProblem(Utf8ToWide(path)) +
             "; every address is empty");
    return;
  }
  ITerUserDefaults* options = GetUserDefaults("url");
  for (const char* key : kUrlKeys) {
    TerText text(options->GetString(key, nullptr));
    AddUrl(key, complete(text.str()));
  }
  g_product_type = static_cast<int>(options->GetInt("product:type", nullptr, 0));
}

int ProductType() { return g_product_type; }

COLORREF CatalogueColor(const char* key) {
  ITerUserDefaults* options = GetUserDefaults("url");
  if (!options) return 0;
  const TerColor color = options->GetColor(key, nullptr, TerColor{0, 0, 0});
  return RGB(color.red & 0xFF, color.green & 0xFF, color.blue & 0xFF);
}
