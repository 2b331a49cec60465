#include "winlayer/dc.h"

CMemoryDC::CMemoryDC(HDC target, const RECT& rect) : m_hDCOriginal(target), m_rcPaint(rect) {
  m_hDC = target;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (!target || width <= 0 || height <= 0) return;
  memory_dc_ = ::CreateCompatibleDC(target);
  if (memory_dc_) bitmap_ = ::CreateCompatibleBitmap(target, width, height);
  if (bitmap_) previous_bitmap_ = ::SelectObject(memory_dc_, bitmap_);
  if (!previous_bitmap_ || previous_bitmap_ == HGDI_ERROR) {
    if (bitmap_) ::DeleteObject(bitmap_);
    if (memory_dc_) ::DeleteDC(memory_dc_);
    bitmap_ = nullptr;
    memory_dc_ = nullptr;
    previous_bitmap_ = nullptr;
    return;
  }
  m_hDC = memory_dc_;
  ::SetViewportOrgEx(memory_dc_, -rect.left, -rect.top, nullptr);
}

CMemoryDC::~CMemoryDC() {
  if (!memory_dc_) return;
  ::BitBlt(m_hDCOriginal, m_rcPaint.left, m_rcPaint.top, m_rcPaint.right - m_rcPaint.left,
           m_rcPaint.bottom - m_rcPaint.top, memory_dc_, m_rcPaint.left, m_rcPaint.top,
           SRCCOPY);
  ::SelectObject(memory_dc_, previous_bitmap_);
  ::DeleteObject(bitmap_);
  ::DeleteDC(memory_dc_);
  m_hDC = nullptr;
}
