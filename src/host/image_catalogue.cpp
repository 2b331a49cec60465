// The image catalogue: the pictures of the Resources folder by key.
#include <condition_variable>
#include <mutex>
#include <set>

#include "app/early_errors.h"
#include "app/terrace_text.h"
#include "common/contained_path.h"
#include "host/catalogue_map.h"
#include "host/picture_size.h"
#include "host/resource_catalogues.h"
#include "host/startup_worker.h"

namespace {

// Modules ask for images from several threads, and look-ups may decode.
std::mutex g_image_lock;
// Signalled whenever the preload worker has catalogued a picture.
std::condition_variable g_image_decoded;

constexpr const char* kPreloadedImages[] = {
    "close-normal.png",      "close-pressed.png",
    "alert.png",             "loading.gif",
    "preview-edit.png",      "record-start.png",
    "screenshot.png",        "application128x128.png",
    "application128x128-2.png", "dialog\\slide-down-normal.png",
    "dialog\\slide-down-pressed.png", "dialog\\take-back-normal.png",
    "dialog\\take-back-pressed.png",
};

// The pictures the main window's standing dialogs are built with. The window is built
// before its first paint, so these are decoded on a worker from the start.
constexpr const char* kEarlyImages[] = {
    "close-normal.png",
    "close-pressed.png",
    "dialog\\slide-down-normal.png",
    "dialog\\slide-down-pressed.png",
    "dialog\\take-back-normal.png",
    "dialog\\take-back-pressed.png",
};

using KeySet = std::set<std::string, std::less<>>;

// Preloaded keys not yet decoded. No first paint needs the others, so each is decoded when
// it is first asked for rather than while the window comes up.
KeySet& Pending() {
  static auto* pending = new KeySet();
  return *pending;
}

// Preloaded keys the worker is decoding, outside the lock.
KeySet& Decoding() {
  static auto* decoding = new KeySet();
  return *decoding;
}

StartupWorker& PreloadWorker() {
  static auto* worker = new StartupWorker();
  return *worker;
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

// With g_image_lock held through `lock`: waits while the worker decodes `key`, then decodes
// it now when it is a preloaded key not yet decoded.
void DecodeIfPending(std::unique_lock<std::mutex>& lock, const std::string& key) {
  g_image_decoded.wait(lock, [&key] { return Decoding().count(key) == 0; });
  auto pending = Pending().find(key);
  if (pending == Pending().end()) return;
  Pending().erase(pending);
  Catalogue<Gdiplus::Bitmap*>()[key] = LoadImageFile(key);
}

void DecodeEarlyImages() {
  for (const char* key : kEarlyImages) {
    {
      std::lock_guard<std::mutex> lock(g_image_lock);
      if (!Pending().erase(key)) continue;  // already asked for, or added by hand
      Decoding().insert(key);
    }
    Gdiplus::Bitmap* image = LoadImageFile(key);
    {
      std::lock_guard<std::mutex> lock(g_image_lock);
      Decoding().erase(key);
      // A picture added meanwhile stays; nobody has seen this one.
      if (!Catalogue<Gdiplus::Bitmap*>().emplace(key, image).second) delete image;
    }
    g_image_decoded.notify_all();
  }
}

}  // namespace

Gdiplus::Bitmap* FindImage(const std::string& key) {
  std::unique_lock<std::mutex> lock(g_image_lock);
  DecodeIfPending(lock, key);
  return FindInCatalogue<Gdiplus::Bitmap*>(key);
}

void AddImage(const std::string& key, Gdiplus::Bitmap* image) {
  std::lock_guard<std::mutex> lock(g_image_lock);
  Pending().erase(key);
  Catalogue<Gdiplus::Bitmap*>()[key] = image;
}

Gdiplus::Bitmap* FindOrLoadImage(const std::string& key) {
  std::unique_lock<std::mutex> lock(g_image_lock);
  DecodeIfPending(lock, key);
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

void StartImagePreload() {
  PreloadImages();
  PreloadWorker().Start(&DecodeEarlyImages);
}

void FinishImagePreload() { PreloadWorker().Finish(); }
