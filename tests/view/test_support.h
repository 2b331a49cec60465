// Helpers shared by the view library's tests: GDI+ for the whole program, message pumps,
// pixels and a generated animated GIF.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Dispatches whatever is queued for this thread, without waiting.
void PumpPending();
// Pumps until `done()` or `timeout_ms`; true if done.
bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms = 3000);
// Pumps for `ms` milliseconds.
void PumpFor(DWORD ms);

// A 32-bit ARGB bitmap filled with `fill`, with a graphics on it.
struct Canvas {
  Canvas(int width, int height, Gdiplus::ARGB fill = 0xFFFFFFFF);
  Gdiplus::ARGB At(int x, int y);
  bool IsInk(int x, int y) { return At(x, y) != fill; }  // not the fill colour

  Gdiplus::Bitmap bitmap;
  Gdiplus::Graphics graphics;
  Gdiplus::ARGB fill;
};

// The bytes of a 1x1 GIF89a with one frame per delay (hundredths of a second); frame i has
// the colour kGifFrameColors[i % 4].
std::vector<uint8_t> MakeAnimatedGif(const std::vector<uint16_t>& delays);
extern const Gdiplus::ARGB kGifFrameColors[4];
// A GDI+ bitmap read from `bytes` (kept alive by the bitmap's stream).
std::unique_ptr<Gdiplus::Bitmap> BitmapFromBytes(const std::vector<uint8_t>& bytes);

// A top-level popup of a plain class, for tests that need a real window; shown (when
// WS_VISIBLE) without being activated.
HWND CreatePlainWindow(const RECT& rect, DWORD style = WS_POPUP | WS_VISIBLE,
                       WNDPROC proc = nullptr, HWND owner = nullptr);
