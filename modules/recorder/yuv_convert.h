// Colour conversion of captured frames for the H.264 encoders: 32-bit BGRX rows to planar
// I420 or semi-planar NV12, BT.601 limited range (what players assume for SD and screen
// content without colour tags). Width and height must be even.
#pragma once

#include <cstdint>

struct BgrxImage {
  const uint8_t* pixels;
  int width;
  int height;
  int stride;  // bytes from one row to the next
};

// `y` holds width*height bytes, `u` and `v` (width/2)*(height/2) each.
void BgrxToI420(const BgrxImage& image, uint8_t* y, uint8_t* u, uint8_t* v);
// `y` holds width*height bytes, `uv` width*(height/2) bytes of interleaved U, V.
void BgrxToNv12(const BgrxImage& image, uint8_t* y, uint8_t* uv);
