// Helpers shared by the view library's tests: GDI+ for the whole program, message pumps,
// pixels and a generated animated GIF.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

void PumpPending();  // dispatches what is queued for this thread, without waiting
bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms = 3000);  // true if done
void PumpFor(DWORD ms);

// A white 32-bit ARGB bitmap with a graphics on it.
struct Canvas {
  Canvas(int width, int height);
  Gdiplus::ARGB At(int x, int y);

  Gdiplus::Bitmap bitmap;
  Gdiplus::Graphics graphics;
};

// A 1x1 GIF89a with one frame per delay (hundredths of a second); frame i has the colour
// kGifFrameColors[i % 4].
std::vector<uint8_t> MakeAnimatedGif(const std::vector<uint16_t>& delays);
extern const Gdiplus::ARGB kGifFrameColors[4];
std::unique_ptr<Gdiplus::Bitmap> BitmapFromBytes(const std::vector<uint8_t>& bytes);

// A top-level popup of a plain class; shown (when WS_VISIBLE) without being activated.
HWND CreatePlainWindow(const RECT& rect, DWORD style = WS_POPUP | WS_VISIBLE,
                       WNDPROC proc = nullptr);
