// The shared look: images, GDI+ fonts, GDI fonts and web addresses by key, plus colours
// read from Option.json on demand. Filled at start-up; values live until the process ends.
#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <string>

// Images: "close-normal.png", "dialog\slide-down-normal.png"… Safe from any thread.
Gdiplus::Bitmap* FindImage(const std::string& key);
void AddImage(const std::string& key, Gdiplus::Bitmap* image);
// Looks the key up and, on a miss, loads Resources\<key> once and catalogues the result,
// even a bitmap in error state, so a missing file is not retried. A key that leaves
// Resources, or a picture claiming more than kPicturePixelBudget pixels, is a missing
// picture with an error line.
Gdiplus::Bitmap* FindOrLoadImage(const std::string& key);
// Enters the pictures every dialog needs, in their fixed order; each is decoded on its first
// look-up, which FindImage answers like any catalogued picture.
void PreloadImages();
// PreloadImages, and a worker that decodes at once the pictures the main window's standing
// dialogs are built with; their look-ups wait for it. FinishImagePreload waits for the worker
// (before GDI+ shuts down). Main thread only.
void StartImagePreload();
void FinishImagePreload();

// Fonts: "font:gdiplus:16:bold", "font:12:normal"… Null for a key outside the table.
// Each font of the table is made on its first look-up. Safe from any thread.
Gdiplus::Font* FindGdiplusFont(const std::string& key);
void AddGdiplusFont(const std::string& key, Gdiplus::Font* font);
HFONT FindFont(const std::string& key);
void AddFont(const std::string& key, HFONT font);
// The 32 GDI+ and 22 GDI Arial fonts at the DPI scale; the character set follows the
// language's script. A later call starts a new table.
void BuildFontTable(float scale, bool default_charset);
// After BuildFontTable: a worker makes at once the GDI+ fonts the main window's standing
// dialogs are built with; their look-ups wait for it. FinishFontPreload waits for the worker
// (before GDI+ shuts down). Main thread only.
void StartFontPreload();
void FinishFontPreload();

// Addresses: "url:help", "email:support"… never null; an unknown key gives "".
const char* FindUrl(const std::string& key);
void AddUrl(const std::string& key, const std::string& text);
// Reads Option.json: the addresses, each passed through `complete` (the language site's
// placeholders), and "product:type".
using UrlCompletion = std::string (*)(const std::string& url);
void LoadOptions(UrlCompletion complete);
int ProductType();

// A "color:" key of Option.json as a colour reference; black when absent.
COLORREF CatalogueColor(const char* key);
