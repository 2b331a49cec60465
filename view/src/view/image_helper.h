// Owns one GDI+ image loaded from a file or from a resource of this library.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include "view/vantorel_export.h"

class VANTOREL_API CImageHelper {
 public:
  CImageHelper() = default;
  ~CImageHelper();
  // Copies hold their own clone of the image.
  CImageHelper(const CImageHelper& other);
  CImageHelper& operator=(const CImageHelper& other);

  // Replaces the held image: `name` is a file path, or a numeric resource id (MAKEINTRESOURCE)
  // of type `type` in this library's module. Null, and nothing held, when it cannot be loaded.
  // The helper keeps the result.
  Gdiplus::Image* Load_Image(const wchar_t* name, const wchar_t* type);
  float GetWidth() const;  // 0 without an image
  float GetHeight() const;

 private:
  void Reset(Gdiplus::Image* image);

  Gdiplus::Image* m_pImage = nullptr;
};
