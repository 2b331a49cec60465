// KvSectionButton: the three layouts, its four states, a fixed centred one and a painter.
#include "gallery.h"
#include "view/kv_section_button.h"

namespace {

constexpr DWORD kBlue = 0xD77800;
constexpr DWORD kInk = 0x333333;

KvSectionButton& Make(GalleryPageContext& page, int id, int x, int y, const wchar_t* text,
                      ImgButtonImgAndTextLayoutType1 type) {
  GalleryArt& art = *page.art;
  auto& button = page.Keep<KvSectionButton>();
  button.Create(page.parent, RECT{x, y, x + page.Scale(150), y + page.Scale(60)}, text, 0, 0,
                static_cast<UINT>(id));
  button.SetDpiScale(page.scale)
      .SetFont(page.font)
      .SetImgAndTextLayoutType(type)
      .SetHMargin(page.Scale(10))
      .SetVMargin(page.Scale(6))
      .SetImageAndTextGap(static_cast<float>(page.Scale(6)))
      .SetRoundRect(true)
      .SetRoundRectPoint(POINT{page.Scale(8), page.Scale(8)})
      .SetRoundBkgColorOutsideBorder(0xFFFFFF)
      .SetColorOfNormalStatus(0xFAFAFA, kInk, 0xDDDDDD)
      .SetColorOfHoverStatus(0xF5E6D2, kBlue, kBlue)
      .SetColorOfPressedStatus(kBlue, 0xFFFFFF, kBlue)
      .SetColorOfDisableStatus(0xEEEEEE, 0xAAAAAA, 0xDDDDDD)
      .SetImages(art.record.get(), art.record_on.get(), art.record_on.get(), nullptr);
  button.Load(true);
  return button;
}

int RightOf(HWND window, const GalleryPageContext& page) {
  RECT rect = {};
  ::GetWindowRect(window, &rect);
  ::MapWindowPoints(nullptr, page.parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect.right + page.Scale(10);
}

void BuildPage(GalleryPageContext& page) {
  page.Caption(10, 6, L"KvSectionButton: image above, left, right; hover, pressed, disabled");
  int x = page.Scale(10);
  int y = page.Scale(26);
  x = RightOf(Make(page, 300, x, y, L"Above", kImgAboveText), page);
  x = RightOf(Make(page, 301, x, y, L"Left", kImgLeftTextRight), page);
  x = RightOf(Make(page, 302, x, y, L"Right", kTextLeftImgRight), page);
  ShowSectionHover(Make(page, 303, x, y, L"Hover", kImgLeftTextRight));

  x = page.Scale(10);
  y = page.Scale(90);
  KvSectionButton& pressed = Make(page, 304, x, y, L"Pressed", kImgLeftTextRight);
  pressed.SetCheckStyle(true).SetPressedStatus();
  x = RightOf(pressed, page);
  KvSectionButton& disabled = Make(page, 305, x, y, L"Disabled", kImgLeftTextRight);
  disabled.EnableWindow(FALSE);
  x = RightOf(disabled, page);

  page.Caption(10, 130, L"fixed 160 x 40, centred; a painter of the owner's");
  KvSectionButton& fixed = Make(page, 306, page.Scale(10), page.Scale(150), L"Centred",
                                kImgLeftTextRight);
  ::SetWindowPos(fixed, nullptr, 0, 0, page.Scale(160), page.Scale(40),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  fixed.SetFixWidth(true).SetFixHeight(true).Center(true);
  fixed.Load(false);
  KvSectionButton& painted = Make(page, 307, page.Scale(180), page.Scale(150), L"Painted",
                                  kImgLeftTextRight);
  const float scale = page.scale;
  Gdiplus::Font* font = page.font;
  KvSectionButton::Painter painter = [scale, font](HWND, Gdiplus::Graphics& graphics,
                                                   RECT& client, int) {
    Gdiplus::SolidBrush bar(Gdiplus::Color(255, 0, 120, 215));
    const float inset = 8 * scale;
    graphics.FillRectangle(&bar, inset, client.bottom - 10 * scale,
                           (client.right - 2 * inset) * 0.6f, 4 * scale);
    Gdiplus::SolidBrush ink(Gdiplus::Color(255, 51, 51, 51));
    graphics.DrawString(L"60 %", -1, font, Gdiplus::PointF(inset, 4 * scale), &ink);
  };
  ::SetWindowPos(painted, nullptr, 0, 0, page.Scale(120), page.Scale(40),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  painted.setFuncDrawTextAndImage(painter);
}

}  // namespace

GALLERY_PAGE(30, "section-buttons", BuildPage);
