#include "view/kv_tree_view_check_box.h"

#include "view/internal/ter_tree_view_check_box.h"

KvTreeViewCheckBox::KvTreeViewCheckBox() : m_pImpl(new TERTreeViewCheckBox()) {}

KvTreeViewCheckBox::~KvTreeViewCheckBox() { delete m_pImpl; }

HWND KvTreeViewCheckBox::CreateTree(HWND parent, int id, RECT rect, DWORD background,
                                    Gdiplus::Bitmap* expanded, Gdiplus::Bitmap* collapsed,
                                    Gdiplus::Bitmap* checked, Gdiplus::Bitmap* unchecked) {
  return m_pImpl->CreateTree(parent, id, rect, background, expanded, collapsed, checked,
                             unchecked);
}

KvTreeViewCheckBox::operator HWND() const { return m_pImpl->m_hWnd; }

BOOL KvTreeViewCheckBox::MoveWindow(const RECT* rect, BOOL repaint) {
  return rect ? m_pImpl->MoveWindow(*rect, repaint) : FALSE;
}

HTREEITEM KvTreeViewCheckBox::AppendItem(HTREEITEM parent, unsigned kind, const wchar_t* text,
                                         Gdiplus::Image* image, int width, int height,
                                         bool has_children, int number) {
  return m_pImpl->AppendItem(parent, kind, text, image, width, height, has_children, number);
}

BOOL KvTreeViewCheckBox::UpdateItem(HTREEITEM item, const wchar_t* text, int enabled,
                                    int number, void* user) {
  return m_pImpl->UpdateItem(item, text, enabled, number, user);
}

BOOL KvTreeViewCheckBox::DeleteItem(HTREEITEM item) { return m_pImpl->DeleteItem(item); }

int KvTreeViewCheckBox::GetItemNumber(HTREEITEM item) const {
  return m_pImpl->GetItemNumber(item);
}

int KvTreeViewCheckBox::GetItemCheck(HTREEITEM item) const { return m_pImpl->GetItemCheck(item); }

void KvTreeViewCheckBox::CheckItem(HTREEITEM item, int checked) {
  m_pImpl->CheckItem(item, checked);
}

void KvTreeViewCheckBox::SetXMargin(int margin) { m_pImpl->SetXMargin(margin); }

void KvTreeViewCheckBox::SetHighLightColor(DWORD background, DWORD text) {
  m_pImpl->SetHighLightColor(background, text);
}

void KvTreeViewCheckBox::SetCheckItemCallback(CheckCallback& callback) {
  m_pImpl->SetCheckItemCallback(callback);
}
