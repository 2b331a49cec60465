#include "view/kv_combo_box.h"

#include "view/internal/ter_combo_box.h"

KvComboBox::KvComboBox() : m_pImpl(new TERComboBox()) {}
KvComboBox::~KvComboBox() { delete m_pImpl; }

HWND KvComboBox::Create(HWND parent, const RECT& rect, const wchar_t* text, DWORD style,
                        DWORD exstyle, UINT id, void* param) {
  return m_pImpl->CreateCombo(parent, rect, text, style, exstyle, id, param);
}

int KvComboBox::SetCheck(int item, int check) { return m_pImpl->SetCheck(item, check); }
int KvComboBox::GetCheck(int item) { return m_pImpl->GetCheck(item); }
void KvComboBox::SelectAll(int check) { m_pImpl->SelectAll(check); }
KvComboBox::operator HWND() const { return m_pImpl->m_hWnd; }
