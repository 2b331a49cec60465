// The GDI+ and GDI font catalogues: Arial in the sizes the table lists.
#include <map>
#include <mutex>

#include "host/catalogue_map.h"
#include "host/resource_catalogues.h"
#include "host/startup_worker.h"
#include "view/utils.h"

namespace {

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

struct FontSpec {
  int height;  // device pixels
  bool bold;
};

// The GDI+ fonts the main window's standing dialogs are built with. The process's first
// GDI+ font costs Wine several milliseconds: a worker makes them while the modules load.
constexpr const char* kEarlyGdiplusFonts[] = {
    "font:gdiplus:16:normal",
    "font:gdiplus:16:bold",
    "font:gdiplus:15:bold",
};

// Making 54 fonts costs start-up tens of milliseconds under Wine, and most are never used:
// the table is fixed at start, each font is made on its first look-up.
struct FontTable {
  std::mutex lock;
  BYTE charset = ANSI_CHARSET;
  std::map<std::string, FontSpec, std::less<>> gdiplus;
  std::map<std::string, FontSpec, std::less<>> gdi;
};

FontTable& Table() {
  static auto* table = new FontTable();
  return *table;
}

StartupWorker& PreloadWorker() {
  static auto* worker = new StartupWorker();
  return *worker;
}

std::string FontKey(const char* family, int size, bool bold) {
  return std::string(family) + std::to_string(size) + (bold ? ":bold" : ":normal");
}

template <size_t N>
void FillSpecs(const FontSizes (&sizes)[N], const char* family, float scale,
               std::map<std::string, FontSpec, std::less<>>* specs) {
  specs->clear();
  for (const FontSizes& entry : sizes) {
    const int height = static_cast<int>(static_cast<float>(entry.size) * scale);
    if (entry.bold) (*specs)[FontKey(family, entry.size, true)] = {height, true};
    if (entry.normal) (*specs)[FontKey(family, entry.size, false)] = {height, false};
  }
}

// With the table's lock held: the catalogued font, made now when the table lists it.
template <typename Font, typename Make>
Font FindOrMake(const std::string& key, const std::map<std::string, FontSpec, std::less<>>& specs,
                Make make) {
  auto& catalogue = Catalogue<Font>();
  auto found = catalogue.find(key);
  if (found != catalogue.end()) return found->second;
  auto spec = specs.find(key);
  if (spec == specs.end()) return Font();
  Font font = make(spec->second);
  catalogue[key] = font;
  return font;
}

}  // namespace

Gdiplus::Font* FindGdiplusFont(const std::string& key) {
  FontTable& table = Table();
  std::lock_guard<std::mutex> lock(table.lock);
  return FindOrMake<Gdiplus::Font*>(key, table.gdiplus, [&table](const FontSpec& spec) {
    // Any screen device context measures alike; a memory one needs no window or thread.
    HDC screen = ::CreateCompatibleDC(nullptr);
    Gdiplus::Font* font = Utils::GetFont(screen, spec.height, table.charset, spec.bold, L"Arial");
    if (screen) ::DeleteDC(screen);
    return font;
  });
}

void AddGdiplusFont(const std::string& key, Gdiplus::Font* font) {
  std::lock_guard<std::mutex> lock(Table().lock);
  Catalogue<Gdiplus::Font*>()[key] = font;
}

HFONT FindFont(const std::string& key) {
  FontTable& table = Table();
  std::lock_guard<std::mutex> lock(table.lock);
  return FindOrMake<HFONT>(key, table.gdi, [&table](const FontSpec& spec) {
    return Utils::GetHFONT(spec.height, table.charset, spec.bold, L"Arial");
  });
}

void AddFont(const std::string& key, HFONT font) {
  std::lock_guard<std::mutex> lock(Table().lock);
  Catalogue<HFONT>()[key] = font;
}

void BuildFontTable(float scale, bool default_charset) {
  FontTable& table = Table();
  std::lock_guard<std::mutex> lock(table.lock);
  table.charset = default_charset ? DEFAULT_CHARSET : ANSI_CHARSET;
  FillSpecs(kGdiplusFonts, "font:gdiplus:", scale, &table.gdiplus);
  FillSpecs(kGdiFonts, "font:", scale, &table.gdi);
  // Fonts of an earlier table stay valid for whoever holds them; look-ups make new ones.
  Catalogue<Gdiplus::Font*>().clear();
  Catalogue<HFONT>().clear();
}

void StartFontPreload() {
  PreloadWorker().Start([] {
    for (const char* key : kEarlyGdiplusFonts) FindGdiplusFont(key);
  });
}

void FinishFontPreload() { PreloadWorker().Finish(); }
