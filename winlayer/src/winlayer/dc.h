// Device contexts: owned (CDC), borrowed (CDCHandle), scoped (CPaintDC, CClientDC, CWindowDC)
// and a double buffer (CMemoryDC).
#pragma once

#include <windows.h>

// Drawing calls shared by every DC class. t_bManaged: the object deletes its DC (DeleteDC).
template <bool t_bManaged>
class CDCT {
 public:
  HDC m_hDC = nullptr;

  CDCT() = default;
  explicit CDCT(HDC dc) : m_hDC(dc) {}
  ~CDCT() {
    if (t_bManaged && m_hDC) ::DeleteDC(m_hDC);
  }
  CDCT(const CDCT& other) : m_hDC(t_bManaged ? nullptr : other.m_hDC) {
    static_assert(!t_bManaged, "an owned DC cannot be copied");
  }
  CDCT& operator=(const CDCT&) = delete;
  CDCT(CDCT&& other) noexcept : m_hDC(other.m_hDC) {
    if (t_bManaged) other.m_hDC = nullptr;
  }

  operator HDC() const { return m_hDC; }
  bool IsNull() const { return m_hDC == nullptr; }
  void Attach(HDC dc) {
    if (t_bManaged && m_hDC && m_hDC != dc) ::DeleteDC(m_hDC);
    m_hDC = dc;
  }
  HDC Detach() {
    HDC dc = m_hDC;
    m_hDC = nullptr;
    return dc;
  }

  HDC CreateCompatibleDC(HDC dc = nullptr) {
    Attach(::CreateCompatibleDC(dc));
    return m_hDC;
  }
  BOOL DeleteDC() {
    if (!m_hDC) return FALSE;
    const BOOL deleted = ::DeleteDC(m_hDC);
    m_hDC = nullptr;
    return deleted;
  }

  HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
  HGDIOBJ GetCurrentObject(UINT type) const { return ::GetCurrentObject(m_hDC, type); }
  int SaveDC() { return ::SaveDC(m_hDC); }
  BOOL RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }

  BOOL SetViewportOrg(int x, int y, POINT* previous = nullptr) {
    return ::SetViewportOrgEx(m_hDC, x, y, previous);
  }
  BOOL GetViewportOrg(POINT* origin) const { return ::GetViewportOrgEx(m_hDC, origin); }
  BOOL OffsetViewportOrg(int dx, int dy, POINT* previous = nullptr) {
    return ::OffsetViewportOrgEx(m_hDC, dx, dy, previous);
  }
  int SelectClipRgn(HRGN region) { return ::SelectClipRgn(m_hDC, region); }
  int IntersectClipRect(const RECT& rect) {
    return ::IntersectClipRect(m_hDC, rect.left, rect.top, rect.right, rect.bottom);
  }
  int ExcludeClipRect(const RECT& rect) {
    return ::ExcludeClipRect(m_hDC, rect.left, rect.top, rect.right, rect.bottom);
  }
  int GetClipBox(RECT* rect) const { return ::GetClipBox(m_hDC, rect); }

  COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
  COLORREF SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
  int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
  COLORREF SetDCBrushColor(COLORREF color) { return ::SetDCBrushColor(m_hDC, color); }
  COLORREF SetDCPenColor(COLORREF color) { return ::SetDCPenColor(m_hDC, color); }

  int FillRect(const RECT& rect, HBRUSH brush) { return ::FillRect(m_hDC, &rect, brush); }
  // Fills with a colour without a brush of one's own (the DC keeps its background colour).
  void FillSolidRect(const RECT& rect, COLORREF color) {
    const COLORREF previous = ::SetBkColor(m_hDC, color);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, previous);
  }
  int FrameRect(const RECT& rect, HBRUSH brush) { return ::FrameRect(m_hDC, &rect, brush); }
  BOOL FillRgn(HRGN region, HBRUSH brush) { return ::FillRgn(m_hDC, region, brush); }
  BOOL Rectangle(int left, int top, int right, int bottom) {
    return ::Rectangle(m_hDC, left, top, right, bottom);
  }
  BOOL RoundRect(int left, int top, int right, int bottom, int width, int height) {
    return ::RoundRect(m_hDC, left, top, right, bottom, width, height);
  }
  BOOL Ellipse(int left, int top, int right, int bottom) {
    return ::Ellipse(m_hDC, left, top, right, bottom);
  }
  BOOL MoveTo(int x, int y, POINT* previous = nullptr) {
    return ::MoveToEx(m_hDC, x, y, previous);
  }
  BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
  COLORREF SetPixel(int x, int y, COLORREF color) { return ::SetPixel(m_hDC, x, y, color); }
  COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
  BOOL BitBlt(int x, int y, int width, int height, HDC source, int source_x, int source_y,
              DWORD rop = SRCCOPY) {
    return ::BitBlt(m_hDC, x, y, width, height, source, source_x, source_y, rop);
  }
  int DrawText(const wchar_t* text, int length, RECT* rect, UINT format) {
    return ::DrawTextW(m_hDC, text, length, rect, format);
  }
  BOOL TextOut(int x, int y, const wchar_t* text, int length) {
    return ::TextOutW(m_hDC, x, y, text, length);
  }
  BOOL GetTextExtent(const wchar_t* text, int length, SIZE* size) const {
    return ::GetTextExtentPoint32W(m_hDC, text, length, size);
  }
  BOOL DrawIconEx(int x, int y, HICON icon, int width, int height, UINT flags = DI_NORMAL) {
    return ::DrawIconEx(m_hDC, x, y, icon, width, height, 0, nullptr, flags);
  }
  int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }
};

using CDC = CDCT<true>;
using CDCHandle = CDCT<false>;

// BeginPaint/EndPaint for a WM_PAINT handler.
class CPaintDC : public CDCHandle {
 public:
  explicit CPaintDC(HWND window) : m_hWnd(window) { m_hDC = ::BeginPaint(window, &m_ps); }
  ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
  CPaintDC(const CPaintDC&) = delete;
  CPaintDC& operator=(const CPaintDC&) = delete;

  HWND m_hWnd;
  PAINTSTRUCT m_ps{};
};

class CClientDC : public CDCHandle {
 public:
  explicit CClientDC(HWND window) : m_hWnd(window) { m_hDC = ::GetDC(window); }
  ~CClientDC() {
    if (m_hDC) ::ReleaseDC(m_hWnd, m_hDC);
  }
  CClientDC(const CClientDC&) = delete;
  CClientDC& operator=(const CClientDC&) = delete;

  HWND m_hWnd;
};

class CWindowDC : public CDCHandle {
 public:
  explicit CWindowDC(HWND window) : m_hWnd(window) { m_hDC = ::GetWindowDC(window); }
  ~CWindowDC() {
    if (m_hDC) ::ReleaseDC(m_hWnd, m_hDC);
  }
  CWindowDC(const CWindowDC&) = delete;
  CWindowDC& operator=(const CWindowDC&) = delete;

  HWND m_hWnd;
};

// Double buffer for `rect` (logical coordinates of `target`): draw into this object with the
// same coordinates as into the target; the result is copied to the target on destruction.
// When no buffer can be made (empty rect, no memory) drawing goes straight to the target.
class CMemoryDC : public CDCHandle {
 public:
  CMemoryDC(HDC target, const RECT& rect);
  ~CMemoryDC();
  CMemoryDC(const CMemoryDC&) = delete;
  CMemoryDC& operator=(const CMemoryDC&) = delete;

  bool IsBuffered() const { return memory_dc_ != nullptr; }

  HDC m_hDCOriginal;
  RECT m_rcPaint;

 private:
  HDC memory_dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_bitmap_ = nullptr;
};
