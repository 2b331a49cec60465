#include "view/internal/round_rect_figure.h"
#include "view/utils.h"

namespace {

Gdiplus::Color Opaque(DWORD color_ref) {
  return Gdiplus::Color(0xFF, GetRValue(color_ref), GetGValue(color_ref), GetBValue(color_ref));
}

// Keeps the caller's page unit whatever the helper sets.
class PageUnitScope {
 public:
  PageUnitScope(Gdiplus::Graphics* graphics, Gdiplus::Unit unit)
      : graphics_(graphics), previous_(graphics->GetPageUnit()) {
    graphics_->SetPageUnit(unit);
  }
  ~PageUnitScope() { graphics_->SetPageUnit(previous_); }
  PageUnitScope(const PageUnitScope&) = delete;
  PageUnitScope& operator=(const PageUnitScope&) = delete;

 private:
  Gdiplus::Graphics* graphics_;
  Gdiplus::Unit previous_;
};

class QualityScope {
 public:
  explicit QualityScope(Gdiplus::Graphics* graphics)
      : graphics_(graphics),
        smoothing_(graphics->GetSmoothingMode()),
        interpolation_(graphics->GetInterpolationMode()) {
    graphics_->SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics_->SetInterpolationMode(Gdiplus::InterpolationModeHighQuality);
  }
  ~QualityScope() {
    graphics_->SetSmoothingMode(smoothing_);
    graphics_->SetInterpolationMode(interpolation_);
  }
  QualityScope(const QualityScope&) = delete;
  QualityScope& operator=(const QualityScope&) = delete;

 private:
  Gdiplus::Graphics* graphics_;
  Gdiplus::SmoothingMode smoothing_;
  Gdiplus::InterpolationMode interpolation_;
};

}  // namespace

void Utils::CreateRoundRect(Gdiplus::GraphicsPath* path, Gdiplus::RectF rect, int diameter) {
  path->Reset();
  for (const vantorel::ArcBox& arc :
       vantorel::RoundRectArcs(rect.X, rect.Y, rect.Width, rect.Height, diameter)) {
    path->AddArc(arc.x, arc.y, arc.size, arc.size, arc.start_angle, 90.0f);
  }
  path->CloseFigure();
}

void Utils::FillRoundRect(Gdiplus::Graphics* graphics, Gdiplus::Brush* brush, Gdiplus::RectF rect,
                          Gdiplus::Color border, int radius) {
  PageUnitScope unit(graphics, Gdiplus::UnitPixel);
  Gdiplus::Pen pen(border, 1.0f);
  pen.SetAlignment(Gdiplus::PenAlignmentCenter);
  Gdiplus::GraphicsPath path(Gdiplus::FillModeAlternate);
  CreateRoundRect(&path, rect, 2 * radius);
  graphics->FillPath(brush, &path);
  graphics->DrawPath(&pen, &path);
}

void Utils::DrawRoundRect(Gdiplus::Graphics* graphics, Gdiplus::RectF rect, Gdiplus::Color color,
                          int radius, int border_width) {
  PageUnitScope unit(graphics, Gdiplus::UnitPixel);
  Gdiplus::Pen pen(color, 1.0f);
  pen.SetAlignment(Gdiplus::PenAlignmentCenter);
  Gdiplus::GraphicsPath path(Gdiplus::FillModeAlternate);
  CreateRoundRect(&path, rect, 2 * radius);
  graphics->DrawPath(&pen, &path);
  // A wider pen would blur the corners; rings one pixel apart keep them crisp.
  for (int ring = 1; ring < border_width; ++ring) {
    rect.X += 1.0f;
    rect.Width -= 2.0f;
    CreateRoundRect(&path, rect, 2 * radius);
    graphics->DrawPath(&pen, &path);
    rect.Y += 1.0f;
    rect.Height -= 2.0f;
    CreateRoundRect(&path, rect, 2 * radius);
    graphics->DrawPath(&pen, &path);
  }
}

void Utils::DrawTick(Gdiplus::Graphics* graphics, const RECT& rect, DWORD color) {
  const int cx = ::GetSystemMetrics(SM_CXMENUCHECK);
  const int cy = ::GetSystemMetrics(SM_CYMENUCHECK);
  const int y0 = static_cast<int>(rect.top) + (static_cast<int>(rect.bottom - rect.top) - cy) / 2;
  QualityScope quality(graphics);
  Gdiplus::Pen pen(Opaque(color), 2.0f);
  const Gdiplus::Point corner(cx / 2, y0 + cy - 4);
  graphics->DrawLine(&pen, Gdiplus::Point(4, y0 + 3 * cy / 5), corner);
  graphics->DrawLine(&pen, corner, Gdiplus::Point(cx, y0));
}

Gdiplus::Bitmap* Utils::CreateDropDown(DWORD color, int width, int height) {
  auto* bitmap = new Gdiplus::Bitmap(width, height, PixelFormat32bppARGB);
  if (!bitmap) return nullptr;
  {
    Gdiplus::Graphics graphics(bitmap);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQuality);
    Gdiplus::Pen pen(Opaque(color), 2.0f);
    const Gdiplus::Point tip(width / 2, height / 2 + 2);
    graphics.DrawLine(&pen, Gdiplus::Point(2, 4), tip);
    graphics.DrawLine(&pen, Gdiplus::Point(width - 2, 4), tip);
  }
  return bitmap;
}
