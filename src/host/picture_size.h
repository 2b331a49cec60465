// A picture's dimensions read from its first bytes, before anything is decoded, so that a
// small file claiming billions of pixels (a decompression bomb) is refused cheaply.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct PictureSize {
  uint32_t width = 0;
  uint32_t height = 0;
};

// Far above any picture the product ships or a module asks for (8192 × 8192), far below what
// exhausts memory when decoded at four bytes a pixel.
constexpr uint64_t kPicturePixelBudget = 64ull << 20;

// PNG, GIF, JPEG and BMP headers. False when the bytes are none of these or are cut before
// the dimensions; such files are left to the decoder.
bool ReadPictureSize(const unsigned char* bytes, size_t size, PictureSize* out);
// How many leading bytes ReadPictureSize may need (JPEG keeps its size after other segments).
constexpr size_t kPictureHeaderBytes = 256 * 1024;

bool FitsPixelBudget(const PictureSize& size);

// The file's dimensions, read from at most kPictureHeaderBytes; false when unknown.
bool ReadPictureFileSize(const std::wstring& path, PictureSize* out);
