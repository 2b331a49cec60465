// KvImgButton (push buttons and check boxes) and KvSwitchButton.
#include "gallery.h"
#include "view/kv_img_button.h"
#include "view/kv_switch_button.h"

namespace {

constexpr DWORD kBlue = 0xD77800;  // 0x00BBGGRR
constexpr DWORD kInk = 0x333333;
constexpr DWORD kPaper = 0xF0F0F0;

int RightOf(HWND window, const GalleryPageContext& page) {
  RECT rect = {};
  ::GetWindowRect(window, &rect);
  ::MapWindowPoints(nullptr, page.parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect.right + page.Scale(10);
}

void BuildImageButtons(GalleryPageContext& page) {
  GalleryArt& art = *page.art;
  page.Caption(10, 6, L"KvImgButton: normal, hover, disabled");
  int x = page.Scale(10);
  const int y = page.Scale(26);
  for (int state = 0; state < 3; ++state) {
    auto& icon = page.Keep<KvImgButton>();
    icon.SetDpiScale(page.scale);
    icon.CreateButton(page.parent, 100 + state, true);
    icon.SetBkgColor(0xFFFFFF);
    icon.Init(art.record.get(), x, y, art.record_on.get());
    x = RightOf(icon, page);
    auto& plate = page.Keep<KvImgButton>();
    plate.SetDpiScale(page.scale);
    plate.CreateButton(page.parent, 110 + state, true);
    plate.setFont(page.bold_font);
    plate.SetTextColor(0xFFFFFF, 0xFFFFFF, 0xDDDDDD);
    plate.SetDisableImage(art.wide_off.get());
    plate.Init(art.wide.get(), x, y, art.wide_on.get(), L"Save", 0, 0, 0, 0);
    x = RightOf(plate, page) + page.Scale(10);
    if (state == 1) {
      ShowHover(icon);
      ShowHover(plate);
    } else if (state == 2) {
      icon.EnableWindow(FALSE);
      plate.EnableWindow(FALSE);
    }
  }

  page.Caption(10, 66, L"check box with logo: unchecked, checked, disabled");
  x = page.Scale(10);
  for (int state = 0; state < 3; ++state) {
    auto& box = page.Keep<KvImgButton>();
    box.SetDpiScale(page.scale);
    box.CreateButton(page.parent, 120 + state, true);
    box.SetBkgColor(0xFFFFFF);
    box.setFont(page.font);
    box.SetTextColor(kInk, 0x000000, 0x999999);
    box.Init(art.box.get(), x, page.Scale(86), art.box_checked.get(), L"Microphone", 1, 0, 0, 1);
    box.SetCheckBoxCheckLogoGapAndLogoTextGap(page.Scale(6), page.Scale(6));
    box.SetCheckBoxLogoImage(art.logo.get(), art.logo_on.get(), 0, 0);
    box.SetChecked(state == 1);
    if (state == 2) box.EnableWindow(FALSE);
    x = RightOf(box, page) + page.Scale(10);
  }
}

void BuildSwitchButtons(GalleryPageContext& page) {
  page.Caption(10, 118, L"KvSwitchButton: normal, selected, hover, disabled; rounded, bordered");
  int x = page.Scale(10);
  const wchar_t* texts[] = {L"General", L"Video", L"Audio", L"Hot keys", L"Rounded", L"Border"};
  for (int i = 0; i < 6; ++i) {
    auto& tab = page.Keep<KvSwitchButton>();
    tab.SetDpiScale(page.scale);
    tab.CreateButton(page.parent, page.font, 130 + i);
    if (i == 4) tab.SetRoundRect(true);
    if (i == 5) tab.SetRoundRect(true).SetColorBorder(kBlue);
    tab.Init(x, page.Scale(138), texts[i], kPaper, kInk, kBlue, 0xFFFFFF);
    if (i == 1 || i == 5) tab.SetPressedStatus();
    if (i == 2) ShowHover(tab);
    if (i == 3) tab.EnableWindow(FALSE);
    x = RightOf(tab, page) - page.Scale(4);
  }
}

void BuildPage(GalleryPageContext& page) {
  BuildImageButtons(page);
  BuildSwitchButtons(page);
}

}  // namespace

GALLERY_PAGE(10, "image-and-switch-buttons", BuildPage);
