#include "view/font_helper.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

constexpr float kLoadedFontSize = 14.0f;

template <typename LogFont>
void AdjustForGdi(LogFont& font) {
  font.lfCharSet = ANSI_CHARSET;
  font.lfOutPrecision = OUT_DEVICE_PRECIS;
  font.lfClipPrecision = CLIP_CHARACTER_PRECIS;
  font.lfQuality = CLEARTYPE_QUALITY;
  font.lfPitchAndFamily = 0;
}

}  // namespace

CFontHelper::CFontHelper()
    : m_pCollection(new Gdiplus::PrivateFontCollection()), m_pFamily(new Gdiplus::FontFamily()) {}

CFontHelper::~CFontHelper() {
  DeleteOldFont();
  delete m_pFamily;
  delete m_pCollection;
}

void CFontHelper::DeleteOldFont() {
  delete m_pFont;
  m_pFont = nullptr;
}

int CFontHelper::LoadFont(const wchar_t* name, const wchar_t* type) {
  if (!m_pCollection) return 0;
  auto module = reinterpret_cast<HMODULE>(&__ImageBase);
  HRSRC resource = ::FindResourceW(module, name, type);
  if (!resource) return 0;
  const DWORD size = ::SizeofResource(module, resource);
  HGLOBAL loaded = ::LoadResource(module, resource);
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  if (!data || size == 0) return 0;
  // Resource memory lives as long as the library, which outlives the collection.
  if (m_pCollection->AddMemoryFont(data, static_cast<INT>(size)) != Gdiplus::Ok) return 0;
  return SetFontStyle(Gdiplus::FontStyleRegular, kLoadedFontSize);
}

int CFontHelper::SetFontStyle(Gdiplus::FontStyle style, float size) {
  if (!m_pCollection || !m_pFamily || m_pCollection->GetFamilyCount() <= 0) return 0;
  INT found = 0;
  if (m_pCollection->GetFamilies(1, m_pFamily, &found) != Gdiplus::Ok || found < 1) return 0;
  DeleteOldFont();
  m_pFont = new Gdiplus::Font(m_pFamily, size, style, Gdiplus::UnitPixel);
  return 1;
}

HFONT CFontHelper::FontToHFONT_A(HWND window) const {
  if (!m_pFont || !window) return nullptr;
  Gdiplus::Graphics graphics(window);
  LOGFONTA font = {};
  if (m_pFont->GetLogFontA(&graphics, &font) != Gdiplus::Ok) return nullptr;
  AdjustForGdi(font);
  return ::CreateFontIndirectA(&font);
}

HFONT CFontHelper::FontToHFONT_W(HWND window) const {
  if (!m_pFont || !window) return nullptr;
  Gdiplus::Graphics graphics(window);
  LOGFONTW font = {};
  if (m_pFont->GetLogFontW(&graphics, &font) != Gdiplus::Ok) return nullptr;
  AdjustForGdi(font);
  return ::CreateFontIndirectW(&font);
}
