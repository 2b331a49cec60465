#include "yuv_convert.h"

namespace {

// Fixed-point BT.601 coefficients scaled by 256.
inline uint8_t Luma(int r, int g, int b) {
  return static_cast<uint8_t>(((66 * r + 129 * g + 25 * b + 128) >> 8) + 16);
}
inline uint8_t ChromaU(int r, int g, int b) {
  return static_cast<uint8_t>(((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128);
}
inline uint8_t ChromaV(int r, int g, int b) {
  return static_cast<uint8_t>(((112 * r - 94 * g - 18 * b + 128) >> 8) + 128);
}

// One pass over a pair of rows: four luma samples and one averaged chroma pair per 2x2 block.
template <typename StoreChroma>
void ConvertRows(const BgrxImage& image, uint8_t* y, StoreChroma store) {
  for (int row = 0; row < image.height; row += 2) {
    const uint8_t* top = image.pixels + static_cast<int64_t>(row) * image.stride;
    const uint8_t* bottom = top + image.stride;
    uint8_t* y_top = y + static_cast<int64_t>(row) * image.width;
    uint8_t* y_bottom = y_top + image.width;
    for (int column = 0; column < image.width; column += 2) {
      const uint8_t* p[4] = {top + column * 4, top + column * 4 + 4, bottom + column * 4,
                             bottom + column * 4 + 4};
      y_top[column] = Luma(p[0][2], p[0][1], p[0][0]);
      y_top[column + 1] = Luma(p[1][2], p[1][1], p[1][0]);
      y_bottom[column] = Luma(p[2][2], p[2][1], p[2][0]);
      y_bottom[column + 1] = Luma(p[3][2], p[3][1], p[3][0]);
      const int r = (p[0][2] + p[1][2] + p[2][2] + p[3][2] + 2) >> 2;
      const int g = (p[0][1] + p[1][1] + p[2][1] + p[3][1] + 2) >> 2;
      const int b = (p[0][0] + p[1][0] + p[2][0] + p[3][0] + 2) >> 2;
      store(row / 2, column / 2, ChromaU(r, g, b), ChromaV(r, g, b));
    }
  }
}

}  // namespace

void BgrxToI420(const BgrxImage& image, uint8_t* y, uint8_t* u, uint8_t* v) {
  const int half = image.width / 2;
  ConvertRows(image, y, [&](int row, int column, uint8_t cu, uint8_t cv) {
    u[row * half + column] = cu;
    v[row * half + column] = cv;
  });
}

void BgrxToNv12(const BgrxImage& image, uint8_t* y, uint8_t* uv) {
  ConvertRows(image, y, [&](int row, int column, uint8_t cu, uint8_t cv) {
    uint8_t* pair = uv + static_cast<int64_t>(row) * image.width + column * 2;
    pair[0] = cu;
    pair[1] = cv;
  });
}
