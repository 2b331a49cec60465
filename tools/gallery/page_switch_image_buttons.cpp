// KvSwitchImageButton: image above or left of its text, delete glyph, grey when disabled.
#include "gallery.h"
#include "view/kv_switch_image_button.h"

namespace {

constexpr DWORD kBlue = 0xD77800;
constexpr DWORD kInk = 0x333333;

void BuildPage(GalleryPageContext& page) {
  GalleryArt& art = *page.art;
  page.Caption(10, 6, L"KvSwitchImageButton: normal, selected, hover, disabled, delete glyph, image left");
  const wchar_t* texts[] = {L"Screen", L"Window", L"Region", L"Camera", L"Clip 1", L"Game"};
  int x = page.Scale(10);
  for (int i = 0; i < 6; ++i) {
    auto& item = page.Keep<KvSwitchImageButton>();
    item.SetDpiScale(page.scale);
    item.CreateButton(page.parent, page.font, 200 + i);
    item.SetRoundRect(true).SetColorBorder(0xDDDDDD);
    if (i == 4) item.SetImageDeleteNormal(art.cross.get()).SetImageDeletePressed(art.cross_on.get());
    if (i == 5) item.SetTextAlign(2);
    Gdiplus::Bitmap* normal = i == 3 ? art.camera.get() : art.record.get();
    Gdiplus::Bitmap* pressed = i == 3 ? art.camera_on.get() : art.record_on.get();
    item.Init(x, page.Scale(26), texts[i], 0xFFFFFF, kInk, normal, 0xF5E6D2, kBlue, pressed);
    if (i == 1 || i == 4) item.SetPressedStatus();
    if (i == 2) ShowHover(item);
    if (i == 3) item.EnableWindow(FALSE);
    x += static_cast<int>(item.GetWidth()) + page.Scale(8);
  }
}

}  // namespace

GALLERY_PAGE(20, "switch-image-buttons", BuildPage);
