// Pictures made in memory for the tests, of any claimed size, without an image library.
#pragma once

#include <cstdint>
#include <string>

// A valid 1-bit greyscale PNG, all black. Its data compresses about a thousand to one, so a
// 30000 × 30000 picture (a decompression bomb: gigabytes once decoded) is under a megabyte.
std::string BlackPng(uint32_t width, uint32_t height);
