// Copies the whole virtual screen (every monitor) into a 32-bit top-down bitmap, with the
// mouse cursor drawn in. One grabber per thread; it keeps its bitmap between frames.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <type_traits>

struct DcDeleter {
  void operator()(HDC dc) const { ::DeleteDC(dc); }
};
struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { ::DeleteObject(object); }
};
using OwnedDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;
using OwnedBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;

class ScreenGrabber {
 public:
  // With `even_size` the picture is cut to even width and height, as H.264's 4:2:0 needs.
  // An empty `area` means the whole virtual screen.
  explicit ScreenGrabber(bool even_size, const RECT& area = RECT{0, 0, 0, 0});
  ~ScreenGrabber();
  ScreenGrabber(const ScreenGrabber&) = delete;
  ScreenGrabber& operator=(const ScreenGrabber&) = delete;

  bool ok() const { return pixels_ != nullptr; }
  bool Grab(bool with_cursor);
  const uint8_t* pixels() const { return pixels_; }
  int width() const { return width_; }
  int height() const { return height_; }
  int stride() const { return width_ * 4; }

 private:
  void DrawCursor();

  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  uint8_t* pixels_ = nullptr;
  OwnedDc memory_;
  OwnedBitmap bitmap_;
  HGDIOBJ previous_ = nullptr;
};
