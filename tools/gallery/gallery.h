// The control gallery: every control of Vantorel in its states, at two scales side by side.
//
// A page is one source file that registers a build function:
//   GALLERY_PAGE(30, "lists", BuildListsPage);
// The function creates its controls inside `page.parent` (a panel that reflects
// notifications, white, one per page and scale) and keeps every facade with page.Keep; the
// panel grows to hold them. Lengths go through page.Scale().
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <memory>
#include <vector>

// Pictures drawn at design size (the controls scale them).
struct GalleryArt {
  GalleryArt();
  std::unique_ptr<Gdiplus::Bitmap> record, record_on, camera, camera_on, cross, cross_on,
      box, box_checked, logo, logo_on, wide, wide_on, wide_off;
};

struct GalleryPageContext {
  HWND parent;
  float scale;
  Gdiplus::Font* font;       // 13 pixels at scale
  Gdiplus::Font* bold_font;  // 15 pixels at scale, bold
  HFONT hfont;               // the same as a GDI font
  GalleryArt* art;
  std::vector<std::shared_ptr<void>>* kept;

  int Scale(int length) const { return static_cast<int>(static_cast<float>(length) * scale); }
  template <class T>
  T& Keep() {
    auto object = std::make_shared<T>();
    kept->push_back(object);
    return *object;
  }
  // A grey caption at design position (x, y).
  void Caption(int x, int y, const wchar_t* text) const;
};

using GalleryBuild = void (*)(GalleryPageContext& page);

struct GalleryPage {
  int order;
  const char* name;
  GalleryBuild build;
};

bool RegisterGalleryPage(const GalleryPage& page);
const std::vector<GalleryPage>& GalleryPages();  // by order

#define GALLERY_PAGE(order, name, build) \
  static const bool gallery_page_registered_##build = RegisterGalleryPage({order, name, build})

// Shows a state that needs the pointer without moving it.
void ShowHover(HWND owner_drawn_button);
void ShowSectionHover(HWND section_button);
