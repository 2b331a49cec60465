#include <algorithm>
#include <memory>
#include <vector>

#include "view/internal/frame_delays.h"
#include "view/utils.h"

namespace {

// {6AEDBD6D-3FB5-418A-83A6-7F45229DC872}
const GUID kFrameDimensionTime = {
    0x6aedbd6d, 0x3fb5, 0x418a, {0x83, 0xa6, 0x7f, 0x45, 0x22, 0x9d, 0xc8, 0x72}};

constexpr PROPID kFrameDelayProperty = 0x5100;

}  // namespace

void Utils::DrawImage(Gdiplus::Graphics* graphics, Gdiplus::Image* image, int x, int y) {
  DrawImage(graphics, image,
            Gdiplus::Rect(x, y, static_cast<INT>(image->GetWidth()),
                          static_cast<INT>(image->GetHeight())));
}

void Utils::DrawImage(Gdiplus::Graphics* graphics, Gdiplus::Image* image, int x, int y, int width,
                      int height) {
  DrawImage(graphics, image, Gdiplus::Rect(x, y, width, height));
}

void Utils::DrawImage(Gdiplus::Graphics* graphics, Gdiplus::Image* image,
                      const Gdiplus::Rect& rect) {
  graphics->DrawImage(image, rect, 0, 0, static_cast<INT>(image->GetWidth()),
                      static_cast<INT>(image->GetHeight()), Gdiplus::UnitPixel);
}

bool Utils::StoreGifInternal(Gdiplus::Bitmap* bitmap, std::vector<UINT>& delays) {
  const UINT dimension_count = bitmap->GetFrameDimensionsCount();
  if (dimension_count == 0) return false;
  std::vector<GUID> dimensions(dimension_count);
  bitmap->GetFrameDimensionsList(dimensions.data(), dimension_count);
  const UINT frame_count = bitmap->GetFrameCount(&dimensions[0]);
  if (frame_count <= 1) return false;

  const UINT size = bitmap->GetPropertyItemSize(kFrameDelayProperty);
  std::vector<UINT> values;
  if (size >= sizeof(Gdiplus::PropertyItem)) {
    // PropertyItem points into the same block, right behind itself.
    std::unique_ptr<BYTE[]> block(new BYTE[size]);
    auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(block.get());
    if (bitmap->GetPropertyItem(kFrameDelayProperty, size, item) == Gdiplus::Ok && item->value) {
      const size_t count = item->length / sizeof(UINT);
      const auto* first = static_cast<const UINT*>(item->value);
      values.assign(first, first + count);
    }
  }
  vantorel::AppendFrameDelays(values.data(), values.size(), frame_count, delays);
  return true;
}

UINT Utils::NextActiveFrameInternal(Gdiplus::Bitmap* bitmap, UINT& index,
                                    const std::vector<UINT>& delays) {
  if (delays.empty()) return 0;
  index = vantorel::NextFrameIndex(index, delays.size());
  bitmap->SelectActiveFrame(&kFrameDimensionTime, index);
  return delays[index];
}

std::pair<int, int> Utils::CalculateDrawSize(int width, int height, int max_width, int max_height) {
  if (width <= max_width && height <= max_height) return {width, height};
  // An empty side has no aspect ratio to keep (and would divide by zero).
  if (width <= 0 || height <= 0) {
    return {std::max(0, std::min(width, max_width)), std::max(0, std::min(height, max_height))};
  }
  const double scale =
      std::min(static_cast<double>(max_width) / width, static_cast<double>(max_height) / height);
  return {static_cast<int>(width * scale), static_cast<int>(height * scale)};
}
