#include "view/image_helper.h"

#include <objidl.h>

#include <cstring>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

HMODULE ThisModule() {
  return reinterpret_cast<HMODULE>(&__ImageBase);
}

Gdiplus::Image* Usable(Gdiplus::Image* image) {
  if (image && image->GetLastStatus() == Gdiplus::Ok) return image;
  delete image;
  return nullptr;
}

Gdiplus::Image* LoadFromResource(const wchar_t* name, const wchar_t* type) {
  HRSRC resource = ::FindResourceW(ThisModule(), name, type);
  if (!resource) return nullptr;
  const DWORD size = ::SizeofResource(ThisModule(), resource);
  HGLOBAL loaded = ::LoadResource(ThisModule(), resource);
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  if (!data || size == 0) return nullptr;

  // GDI+ reads the stream for as long as the image lives, so it gets its own movable copy.
  HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, size);
  if (!copy) return nullptr;
  void* target = ::GlobalLock(copy);
  if (!target) {
    ::GlobalFree(copy);
    return nullptr;
  }
  std::memcpy(target, data, size);
  ::GlobalUnlock(copy);
  IStream* stream = nullptr;
  if (FAILED(::CreateStreamOnHGlobal(copy, TRUE, &stream))) {
    ::GlobalFree(copy);
    return nullptr;
  }
  Gdiplus::Image* image = Usable(new Gdiplus::Image(stream));
  stream->Release();  // the image holds its own reference
  return image;
}

}  // namespace

CImageHelper::~CImageHelper() {
  delete m_pImage;
}

CImageHelper::CImageHelper(const CImageHelper& other)
    : m_pImage(other.m_pImage ? Usable(other.m_pImage->Clone()) : nullptr) {}

CImageHelper& CImageHelper::operator=(const CImageHelper& other) {
  if (this != &other) Reset(other.m_pImage ? Usable(other.m_pImage->Clone()) : nullptr);
  return *this;
}

void CImageHelper::Reset(Gdiplus::Image* image) {
  delete m_pImage;
  m_pImage = image;
}

Gdiplus::Image* CImageHelper::Load_Image(const wchar_t* name, const wchar_t* type) {
  Reset(nullptr);
  if (!name) return nullptr;
  if (IS_INTRESOURCE(name)) {
    Reset(LoadFromResource(name, type));
  } else {
    Reset(Usable(new Gdiplus::Image(name)));
  }
  return m_pImage;
}

float CImageHelper::GetWidth() const {
  return m_pImage ? static_cast<float>(m_pImage->GetWidth()) : 0.0f;
}

float CImageHelper::GetHeight() const {
  return m_pImage ? static_cast<float>(m_pImage->GetHeight()) : 0.0f;
}
