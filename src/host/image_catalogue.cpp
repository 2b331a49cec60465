// The image catalogue: the pictures of the Resources folder by key.
#include <mutex>
#include <set>

#include "app/early_errors.h"
#include "app/terrace_text.h"
#include "common/contained_path.h"
#include "host/catalogue_map.h"
#include "host/picture_size.h"
#include "host/resource_catalogues.h"

namespace {

// Modules ask for images from several threads, and look-ups may decode.
std::mutex g_image_lock;

constexpr const char* kPreloadedImages[] = {
    "close-normal.png",      "close-pressed.png",
    "alert.png",             "loading.gif",
    "preview-edit.png",      "record-start.png",
    "screenshot.png",        "application128x128.png",
    "application128x128-2.png", "dialog\\slide-down-normal.png",
    "dialog\\slide-down-pressed.png", "dialog\\take-back-normal.png",
    "dialog\\take-back-pressed.png",
};

// Preloaded keys not yet decoded. No first paint needs a picture, so each is decoded when
// it is first asked for rather than while the window comes up.
std::set<std::string, std::less<>>& Pending() {
  static auto* pending = new std::set<std::string, std::less<>>();
  return *pending;
}

std::wstring ResourcesFolder() {
  TerText folder(TerUtilityApp()->ApplicationFolder());
  return Utf8ToWide(folder.get()) + L"Resources\\";
}

// What a missing file gives: an object whose status tells the failure, so users that
// check the status draw nothing.
Gdiplus::Bitmap* MissingPicture() { return new Gdiplus::Bitmap(0, 0, PixelFormat32bppARGB); }

Gdiplus::Bitmap* LoadImageFile(const std::string& key) {
  if (!IsContainedRelativePath(key)) {
    LogError("Picture key \"" + key + "\" leaves the Resources folder; treated as missing");
    return MissingPicture();
  }
  const std::wstring path = ResourcesFolder() + Utf8ToWide(key);
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

// With g_image_lock held: decodes `key` now when it is a preloaded key not yet decoded.
void DecodeIfPending(const std::string& key) {
  auto pending = Pending().find(key);
  if (pending == Pending().end()) return;
  Pending().erase(pending);
  Catalogue<Gdiplus::Bitmap*>()[key] = LoadImageFile(key);
}

}  // namespace

Gdiplus::Bitmap* FindImage(const std::string& key) {
  std::lock_guard<std::mutex> lock(g_image_lock);
  DecodeIfPending(key);
  return FindInCatalogue<Gdiplus::Bitmap*>(key);
}

void AddImage(const std::string& key, Gdiplus::Bitmap* image) {
  std::lock_guard<std::mutex> lock(g_image_lock);
  Pending().erase(key);
  Catalogue<Gdiplus::Bitmap*>()[key] = image;
}

Gdiplus::Bitmap* FindOrLoadImage(const std::string& key) {
  std::lock_guard<std::mutex> lock(g_image_lock);
  DecodeIfPending(key);
  auto& catalogue = Catalogue<Gdiplus::Bitmap*>();
  auto found = catalogue.find(key);
  if (found != catalogue.end() && found->second) return found->second;
  Gdiplus::Bitmap* image = LoadImageFile(key);
  catalogue[key] = image;
  return image;
}

void PreloadImages() {
  std::lock_guard<std::mutex> lock(g_image_lock);
  for (const char* key : kPreloadedImages)
    if (!Catalogue<Gdiplus::Bitmap*>().count(key)) Pending().insert(key);
}
