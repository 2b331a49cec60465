// Drawing, text, window and markup helpers shared by the library's controls and the host.
//
// GDI+ must be running (the host starts it). Drawing members record GDI+ failures on the
// objects they were made on and carry on; nothing is reported to the caller. Graphics, image
// and text arguments of the drawing members must not be null.
//
// The pattern members are the one place where exceptions leave this library: a pattern that
// does not compile throws std::regex_error to the caller.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <string>
#include <utility>
#include <vector>

#include "view/vantorel_export.h"

class VANTOREL_API Utils {
 public:
  using ColorPiece = std::pair<std::wstring, DWORD>;

  // Text with GDI+: the whole string in `rect` with a solid brush of `color`.
  static void DrawTextW(Gdiplus::Graphics* graphics, Gdiplus::RectF rect, const wchar_t* text,
                        Gdiplus::Font* font, const Gdiplus::StringFormat* format,
                        Gdiplus::Color* color);
  static void DrawTextCenter(Gdiplus::Graphics* graphics, Gdiplus::RectF rect, const wchar_t* text,
                             Gdiplus::Font* font, Gdiplus::Color* color);
  static void DrawTextRightAlign(Gdiplus::Graphics* graphics, Gdiplus::RectF rect,
                                 const wchar_t* text, Gdiplus::Font* font, Gdiplus::Color* color);
  static void DrawTextInRectVerticalCenter(Gdiplus::Graphics* graphics, Gdiplus::RectF rect,
                                           const wchar_t* text, Gdiplus::Font* font,
                                           Gdiplus::Color* color);
  static void DrawTextInRect(Gdiplus::Graphics* graphics, Gdiplus::RectF rect, const wchar_t* text,
                             Gdiplus::Font* font, Gdiplus::Color* color);

  // Text with GDI: word-wrapped, no prefix processing, edit-control line breaking.
  static void DrawTextInRect(HDC dc, const wchar_t* text, int length, RECT rect);
  // (width, height) of the wrapped text; the width never exceeds `max_width`.
  static std::pair<int, int> GetTextExtent(HDC dc, const wchar_t* text, int length, int max_width);
  // How many leading characters of `text` fit in `width` (no ellipsis); 0 for null or "".
  static int numberOfGdiCharactersThatFitWidth(HDC dc, int width, const wchar_t* text, HFONT font);
  static int numberOfGdiplusCharactersThatFitWidth(Gdiplus::Graphics* graphics, float width,
                                                   const wchar_t* text, Gdiplus::Font* font);

  // Fonts from a logical font: `height` as in LOGFONT (negative: character height), the low
  // byte of `charset`, weight 700 or 400. A face longer than 31 characters is cut. The caller
  // deletes the result (delete / DeleteObject).
  static Gdiplus::Font* GetFont(HDC dc, int height, int charset, BOOL bold, const wchar_t* face);
  static HFONT GetHFONT(int height, int charset, BOOL bold, const wchar_t* face);

  // The whole image at its natural size, or scaled into the rectangle.
  static void DrawImage(Gdiplus::Graphics* graphics, Gdiplus::Image* image, int x, int y);
  static void DrawImage(Gdiplus::Graphics* graphics, Gdiplus::Image* image, int x, int y, int width,
                        int height);
  static void DrawImage(Gdiplus::Graphics* graphics, Gdiplus::Image* image,
                        const Gdiplus::Rect& rect);

  // A width x height ARGB bitmap, transparent, with a chevron in `color` (COLORREF, drawn
  // opaque). The caller deletes it.
  static Gdiplus::Bitmap* CreateDropDown(DWORD color, int width, int height);
  // A two-stroke check mark the size of the menu check mark, centred vertically in `rect`;
  // horizontal positions count from the graphics' origin.
  static void DrawTick(Gdiplus::Graphics* graphics, const RECT& rect, DWORD color);

  // Animated images: appends each frame's delay in milliseconds to `delays` (not cleared);
  // false, with `delays` untouched, for an image of one frame.
  static bool StoreGifInternal(Gdiplus::Bitmap* bitmap, std::vector<UINT>& delays);
  // Advances `index` (wrapping after the last stored delay), selects that frame and returns
  // its delay in milliseconds; 0, with nothing selected, when no delays are stored.
  static UINT NextActiveFrameInternal(Gdiplus::Bitmap* bitmap, UINT& index,
                                      const std::vector<UINT>& delays);

  // The largest size of the same aspect ratio inside the maximum; never enlarges.
  static std::pair<int, int> CalculateDrawSize(int width, int height, int max_width,
                                               int max_height);

  // Rounded rectangles. `path` is reset; the diameter is clamped to the rectangle.
  static void CreateRoundRect(Gdiplus::GraphicsPath* path, Gdiplus::RectF rect, int diameter);
  static void FillRoundRect(Gdiplus::Graphics* graphics, Gdiplus::Brush* brush, Gdiplus::RectF rect,
                            Gdiplus::Color border, int radius);
  // Outlines the rectangle and, for `border_width` > 1, adds inner rings until the border is
  // that wide.
  static void DrawRoundRect(Gdiplus::Graphics* graphics, Gdiplus::RectF rect, Gdiplus::Color color,
                            int radius, int border_width);

  // Windows and strings.
  static RECT GetWindowRelativeRect(HWND window);  // in the parent's client coordinates
  static int GetWindowScrollBarThumbWidth(HWND window);
  static std::wstring GetEditValue(HWND window);
  // The folder of `module`'s file with a trailing backslash. Points into one buffer of the
  // library, overwritten by the next call; user-interface thread only.
  static const wchar_t* GetDllModuleDir(HINSTANCE module);
  static const char* NullToEmpty(const char* text);

  // Markup: coloured runs <font color="decimal">text</font> and links <a href="...">text</a>,
  // tags in any letter case. Colours that are not decimal read as 0.
  // Pieces in text order, each run preceded by the (possibly empty) text before it; `plain`
  // receives the text without tags.
  static std::vector<ColorPiece> PickColorParts(const wchar_t* text, std::wstring& plain,
                                                DWORD default_color);
  static std::wstring PickLinkShowContent(const std::wstring& text);

  // Patterns (ECMAScript, case-sensitive). Throw std::regex_error for a pattern that does not
  // compile. std::regex recurses per repeated character: keep texts under a few thousand
  // characters when the pattern repeats over them. The first match anywhere, or the whole
  // text when nothing matches:
  static std::wstring FindIfMatchW(const std::wstring& text, const std::wstring& pattern);
  static std::string FindIfMatch(const std::string& text, const std::string& pattern);
  // True when the pattern matches the whole text.
  static bool IsMatch(const std::string& text, const std::string& pattern);
  // Every match replaced; the replacement uses $&, $1..$9 and $$.
  static std::string RepalceWithPattern(const std::string& text, const std::string& pattern,
                                        const std::string& replacement);

  Utils() = delete;
};
