#include "view/path_helper.h"

CPathHelper::~CPathHelper() {
  DeleteOldPath();
}

void CPathHelper::DeleteOldPath() {
  delete m_pPath;
  m_pPath = nullptr;
}

Gdiplus::GraphicsPath* CPathHelper::CreateRoundRect(const Gdiplus::Rect& rect, int radius) {
  DeleteOldPath();
  m_pPath = new Gdiplus::GraphicsPath(Gdiplus::FillModeAlternate);
  if (!m_pPath) return nullptr;
  const INT x = rect.X;
  const INT y = rect.Y;
  const INT w = rect.Width;
  const INT h = rect.Height;
  const INT d = 2 * radius;
  Gdiplus::GraphicsPath& path = *m_pPath;
  path.AddArc(x, y, d, d, 180.0f, 90.0f);
  path.AddLine(x + radius, y, x + w - d, y);
  path.AddArc(x + w - d, y, d, d, 270.0f, 90.0f);
  path.AddLine(x + w, y + d, x + w, y + h - d);
  path.AddArc(x + w - d, y + h - d, d, d, 0.0f, 90.0f);
  path.AddLine(x + w - d, y + h, x + d, y + h);
  path.AddArc(x, y + h - d, d, d, 90.0f, 90.0f);
  path.AddLine(x, y + h - d, x, y + d);
  path.CloseFigure();
  return m_pPath;
}
