#include "view/internal/button_layout.h"

#include <algorithm>
#include <cmath>

namespace vantorel {

namespace {

int Trunc(float value) { return static_cast<int>(value); }

bool ImageLeftOrRight(SectionLayoutType type) { return type != SectionLayoutType::kImageAboveText; }

}  // namespace

POINT AnchoredPosition(int x, int y, SIZE size, SIZE parent) {
  POINT at = {x, y};
  if (x < 0) at.x = parent.cx - size.cx + x;
  if (y < 0) at.y = parent.cy - size.cy + y;
  return at;
}

int ImgButtonWidth(const ImgButtonInput& in) {
  const float image_w = static_cast<float>(in.image.cx);
  if (!in.has_text) return in.image.cx;
  if (in.alignment == 1) {
    return Trunc(static_cast<float>(in.logo.cx) + in.text.width +
                 static_cast<float>(in.right_margin + in.left_margin) + image_w +
                 static_cast<float>(in.logo_gap + in.logo_text_gap));
  }
  return Trunc(std::max(image_w, in.text.width)) + in.left_margin + in.right_margin;
}

SIZE ImgButtonSize(const ImgButtonInput& in) {
  if (!in.has_text) return in.image;
  return {ImgButtonWidth(in), Trunc(std::max(static_cast<float>(in.image.cy), in.text.height))};
}

SIZE ImgButtonSizeWithLogo(const ImgButtonInput& in, SIZE requested) {
  ImgButtonInput right = in;
  right.alignment = 1;
  const int base = requested.cy > in.image.cy ? requested.cy : in.image.cy;
  const float height =
      std::max({static_cast<float>(base), static_cast<float>(in.logo.cy), in.text.height});
  return {ImgButtonWidth(right), Trunc(height)};
}

float ImgButtonWrapWidth(const ImgButtonInput& in, int fix_width) {
  return static_cast<float>(fix_width - in.image.cx - in.right_margin - in.left_margin -
                            in.logo_text_gap - in.logo_gap - in.logo.cx);
}

SIZE ImgButtonFixWidthSize(SIZE current, int fix_width, SizeF wrapped) {
  SIZE size = current;
  if (fix_width < size.cx) size.cx = fix_width;
  if (wrapped.height > static_cast<float>(size.cy)) size.cy = Trunc(wrapped.height);
  return size;
}

SIZE SwitchButtonSize(SizeF text, int h_margin, int v_margin) {
  return {Trunc(static_cast<float>(2 * h_margin) + text.width),
          Trunc(static_cast<float>(2 * v_margin) + text.height)};
}

bool LayOutSwitchImage(const SwitchImageInput& in, SwitchImageLayout* out) {
  const float h = static_cast<float>(in.h_margin);
  const float v = static_cast<float>(in.v_margin);
  const float g = static_cast<float>(in.gap);
  const float w_img = in.image.width;
  const float h_img = in.image.height;
  const float tw = in.text.width;
  const float th = in.text.height;
  SizeF content;
  SwitchImageLayout layout;
  if (in.alignment == 1) {
    if (tw > w_img) {
      layout.image.x = Trunc((tw - w_img) / 2 + h);
      layout.text.x = in.h_margin;
      content.width = tw;
    } else {
      layout.image.x = in.h_margin;
      layout.text.x = Trunc((w_img - tw) / 2 + h);
      content.width = w_img;
    }
    layout.text.y = Trunc(v + h_img + g);
    content.height = h_img + g + th;
  } else if (in.alignment == 2) {
    layout.image.x = in.h_margin;
    layout.text.x = Trunc(h + w_img + g);
    content.width = w_img + g + tw;
    if (th > h_img) {
      content.height = th;
      layout.text.y = in.v_margin;
    } else {
      content.height = h_img;
      layout.text.y = Trunc((h_img - th) / 2 + v);
    }
  } else {
    return false;
  }
  layout.image.y = in.v_margin;
  layout.size = {2 * h + content.width, 2 * v + content.height};
  if (in.glyph.width > 0 || in.glyph.height > 0) {
    layout.glyph.left = Trunc(layout.size.width - in.glyph.width - 4 * in.scale);
    layout.glyph.top = Trunc(2 * in.scale);
    layout.glyph.right = layout.glyph.left + Trunc(in.glyph.width);
    layout.glyph.bottom = layout.glyph.top + Trunc(in.glyph.height);
  }
  *out = layout;
  return true;
}

SectionLayout LayOutSection(const SectionInput& in, const SectionMeasure& measure) {
  const bool beside = ImageLeftOrRight(in.type);
  const int w_img = in.image.cx;
  const int h_img = in.image.cy;
  const float h = static_cast<float>(in.h_margin);
  const float v = static_cast<float>(in.v_margin);
  const float gap = in.gap;
  const float cw = static_cast<float>(in.client.cx);
  const float ch = static_cast<float>(in.client.cy);

  float tw = 0;
  float th = 0;
  if (in.has_text) {
    float box_h = 0;
    if (in.fix_height) {
      box_h = ch - 2 * v;
      if (!beside && h_img != 0) box_h -= static_cast<float>(h_img) + gap;
    }
    float box_w = 0;
    if (in.fix_width) {
      box_w = cw - 2 * h;
      if (beside && w_img != 0) box_w -= static_cast<float>(w_img) + gap;
    }
    const SizeF text = measure(box_w, box_h);
    tw = text.width;
    th = text.height;
    if (!beside && box_w > tw) tw = box_w;
  }

  const bool gap_used = beside ? (w_img != 0 && tw != 0) : (h_img != 0 && th != 0);
  const float gu = gap_used ? gap : 0;

  SectionLayout out;
  if (in.fix_width) {
    out.size.cx = in.client.cx;
  } else if (!beside) {
    out.size.cx = Trunc(2 * h + std::max(tw, static_cast<float>(w_img)));
  } else {
    out.size.cx = Trunc(2 * h + static_cast<float>(w_img) + gu + tw);
  }
  if (in.fix_height) {
    out.size.cy = in.client.cy;
  } else if (!beside) {
    out.size.cy = Trunc(2 * v + static_cast<float>(h_img) + gu + th);
  } else {
    out.size.cy = Trunc(2 * v + std::max(static_cast<float>(h_img), th));
  }
  const float width = static_cast<float>(out.size.cx);
  const float height = static_cast<float>(out.size.cy);

  POINT image = {};
  PointF text;
  if (!in.centre) {
    switch (in.type) {
      case SectionLayoutType::kImageAboveText:
        image = {w_img ? in.h_margin : 0, h_img ? in.v_margin : 0};
        text = gap_used ? PointF{h, static_cast<float>(image.y + h_img) + gap} : PointF{h, v};
        break;
      case SectionLayoutType::kImageLeft:
        image = {w_img ? in.h_margin : 0, h_img ? in.v_margin : 0};
        text.x = gap_used ? static_cast<float>(image.x + w_img) + gap : h;
        text.y = (height - th) / 2;
        break;
      case SectionLayoutType::kImageRight:
        text = {h, (height - th) / 2};
        image = {Trunc(h + tw + gap), (out.size.cy - h_img) / 2};
        break;
    }
  } else {
    switch (in.type) {
      case SectionLayoutType::kImageAboveText:
        image.x = (out.size.cx - w_img) / 2;
        image.y = Trunc((height - (static_cast<float>(h_img) + gu + th)) / 2);
        text.x = h;
        text.y = gap_used ? static_cast<float>(image.y + h_img) + gap : (height - th) / 2;
        break;
      case SectionLayoutType::kImageLeft:
        image.x = Trunc((width - (static_cast<float>(w_img) + gu + tw)) / 2);
        image.y = (out.size.cy - h_img) / 2;
        text.x = gap_used ? static_cast<float>(image.x + w_img) + gap : (width - tw) / 2;
        text.y = (height - th) / 2;
        break;
      case SectionLayoutType::kImageRight:
        text.x = gap_used ? (width - (static_cast<float>(w_img) + gu + tw)) / 2 : h;
        text.y = (height - th) / 2;
        image.x = Trunc(text.x + tw + gap);
        image.y = (out.size.cy - h_img) / 2;
        break;
    }
  }
  out.image = {image.x, image.y, image.x + w_img, image.y + h_img};
  out.text = {text.x, text.y, tw, th};
  return out;
}

SectionLayout LayOutSectionWithin(const SectionInput& in, int max_width, int max_height,
                                  const SectionMeasure& measure) {
  const int w_img = in.image.cx;
  const int h_img = in.image.cy;
  const float h = static_cast<float>(in.h_margin);
  const float v = static_cast<float>(in.v_margin);
  const float gap = in.gap;
  SectionLayout out;
  out.image = {0, 0, w_img, h_img};
  if (!in.has_text) {
    out.size = (w_img || h_img) ? SIZE{w_img + 2 * in.h_margin, h_img + 2 * in.v_margin}
                                : in.client;
    return out;
  }
  // A limit that leaves no room for the text is no limit: the text is not squeezed to nothing.
  auto box = [](int limit, float taken) {
    return limit > 0 ? std::max(0.0f, static_cast<float>(limit) - taken) : 0.0f;
  };
  const bool beside = ImageLeftOrRight(in.type);
  SizeF text;
  int x_img = 0;
  int y_img = 0;
  PointF at;
  if (!beside) {
    text = measure(box(max_width, 2 * h), box(max_height, static_cast<float>(h_img) + 2 * v + gap));
    out.size.cx = static_cast<int>(std::ceil(2 * h + std::max(static_cast<float>(w_img), text.width)));
    out.size.cy = static_cast<int>(std::ceil(static_cast<float>(h_img) + 2 * v + gap + text.height));
    x_img = (out.size.cx - w_img) / 2;
    at = {(static_cast<float>(out.size.cx) - text.width) / 2, static_cast<float>(h_img) + v + gap};
  } else {
    text = measure(box(max_width, 2 * h + static_cast<float>(w_img) + gap), box(max_height, 2 * v));
    out.size.cx = static_cast<int>(std::ceil(static_cast<float>(w_img) + 2 * h + gap + text.width));
    out.size.cy = static_cast<int>(std::ceil(2 * v + std::max(static_cast<float>(h_img), text.height)));
    y_img = (out.size.cy - h_img) / 2;
    const float text_y = (static_cast<float>(out.size.cy) - text.height) / 2;
    if (in.type == SectionLayoutType::kImageLeft) {
      x_img = in.h_margin;
      at = {static_cast<float>(w_img) + h + gap, text_y};
    } else {
      x_img = out.size.cx - w_img - in.h_margin;
      at = {h, text_y};
    }
  }
  out.image = {x_img, y_img, x_img + w_img, y_img + h_img};
  out.text = {at.x, at.y, text.width, text.height};
  return out;
}

}  // namespace vantorel
