// KvEdit, KvComboBox (check list) and KvLink.
#include "gallery.h"
#include "view/kv_combo_box.h"
#include "view/kv_edit.h"
#include "view/kv_link.h"

namespace {

void BuildPage(GalleryPageContext& page) {
  const int height = page.Scale(24);
  auto rect = [&](int x, int y, int width) {
    return RECT{page.Scale(x), page.Scale(y), page.Scale(x + width), page.Scale(y) + height};
  };
  page.Caption(10, 6, L"KvEdit: cue banner, text, read only");
  const wchar_t* texts[] = {L"", L"https://example.com/notes", L"Read only"};
  for (int i = 0; i < 3; ++i) {
    auto& edit = page.Keep<KvEdit>();
    edit.Create(page.parent, rect(10 + 190 * i, 26, 180), texts[i], 0x50810080, 0,
                static_cast<UINT>(400 + i));
    edit.SetFont(page.hfont);
    if (i == 0) edit.setTipValue(L"Type an address");
    if (i == 2) edit.SetReadOnly(TRUE);
  }

  page.Caption(10, 62, L"KvComboBox: two of three checked, none checked");
  for (int i = 0; i < 2; ++i) {
    auto& combo = page.Keep<KvComboBox>();
    RECT box = rect(10 + 190 * i, 82, 180);
    box.bottom += page.Scale(120);
    combo.Create(page.parent, box, nullptr,
                 WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED |
                     CBS_HASSTRINGS,
                 0, static_cast<UINT>(410 + i));
    ::SendMessageW(combo, WM_SETFONT, reinterpret_cast<WPARAM>(page.hfont), TRUE);
    for (const wchar_t* text : {L"Video", L"Audio", L"Screenshots"}) {
      ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    if (i == 0) {
      combo.SetCheck(1, 1);
      combo.SetCheck(2, 1);
    }
  }

  page.Caption(10, 118, L"KvLink");
  auto& link = page.Keep<KvLink>();
  link.Create(page.parent, rect(10, 138, 360),
              L"Read the <a href=\"https://example.com/notes\">release notes</a> first.", 0, 0,
              420);
  ::SendMessageW(link, WM_SETFONT, reinterpret_cast<WPARAM>(page.hfont), TRUE);
}

}  // namespace

GALLERY_PAGE(40, "edit-combo-link", BuildPage);
