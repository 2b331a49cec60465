// Sizes and positions of the library's buttons as plain arithmetic over measured values, so
// every rule is testable without a window. Text sizes come in already measured (GDI+, the
// button's font); image sizes already scaled.
#pragma once

#include <windows.h>

#include <functional>

namespace vantorel {

struct SizeF {
  float width = 0;
  float height = 0;
};

struct PointF {
  float x = 0;
  float y = 0;
};

// A design length at the control's DPI scale, truncated.
inline int Scale(int length, float scale) {
  return static_cast<int>(static_cast<float>(length) * scale);
}

// Where a button of `size` goes in a parent client area of `parent`: a negative coordinate
// counts from the right or bottom edge (x = -8 leaves 8 pixels to the right edge).
POINT AnchoredPosition(int x, int y, SIZE size, SIZE parent);

// Image button. `image` is the normal image at scale, truncated.
struct ImgButtonInput {
  SIZE image = {};
  bool has_text = false;
  SizeF text;
  int alignment = 0;  // 0: text over the image, 1: text right of the image (check box)
  int left_margin = 0;
  int right_margin = 0;
  SIZE logo = {};
  int logo_gap = 0;
  int logo_text_gap = 0;
};
SIZE ImgButtonSize(const ImgButtonInput& in);
// The width a text change gives; the height stays as it was.
int ImgButtonWidth(const ImgButtonInput& in);
// After a check-box logo of `requested` size (0: the logo's own scaled size, already in
// in.logo) has been set.
SIZE ImgButtonSizeWithLogo(const ImgButtonInput& in, SIZE requested);
// The width the text may wrap in for a fixed button width.
float ImgButtonWrapWidth(const ImgButtonInput& in, int fix_width);
// The size after wrapping to `fix_width`; `wrapped` is the text measured in that width.
SIZE ImgButtonFixWidthSize(SIZE current, int fix_width, SizeF wrapped);

// Switch (text) button.
SIZE SwitchButtonSize(SizeF text, int h_margin, int v_margin);

// Switch image button.
struct SwitchImageInput {
  SizeF image;  // normal image at scale
  SizeF text;
  int alignment = 1;  // 1: image above text, 2: image left of text
  int h_margin = 0;
  int v_margin = 0;
  int gap = 0;
  SizeF glyph;  // delete glyph at scale; 0 when there is none
  float scale = 1.0f;
};
struct SwitchImageLayout {
  SizeF size;
  POINT image = {};
  POINT text = {};
  RECT glyph = {};  // empty when there is no glyph
};
// False (layout untouched) for an alignment other than 1 or 2.
bool LayOutSwitchImage(const SwitchImageInput& in, SwitchImageLayout* out);

// Section button: the three arrangements of image and text.
enum class SectionLayoutType { kImageAboveText = 0, kImageLeft = 1, kImageRight = 2 };

struct RectF {
  float x = 0;
  float y = 0;
  float width = 0;
  float height = 0;
};

// Measures the button's text wrapped in a box (0: unbounded in that direction), centred for
// image-above-text, vertically centred otherwise.
using SectionMeasure = std::function<SizeF(float box_width, float box_height)>;

struct SectionInput {
  SectionLayoutType type = SectionLayoutType::kImageAboveText;
  SIZE client = {};  // current client size
  SIZE image = {};   // normal image at scale; 0 without an image
  bool has_text = false;
  int h_margin = 0;
  int v_margin = 0;
  float gap = 0;
  bool fix_width = false;
  bool fix_height = false;
  bool centre = false;
};
struct SectionLayout {
  SIZE size = {};
  RECT image = {};  // left/top = position, right/bottom = position + size
  RectF text;
};
// The layout Load makes.
SectionLayout LayOutSection(const SectionInput& in, const SectionMeasure& measure);
// The layout reload makes within an optional limit (0: none in that direction).
SectionLayout LayOutSectionWithin(const SectionInput& in, int max_width, int max_height,
                                  const SectionMeasure& measure);

}  // namespace vantorel
