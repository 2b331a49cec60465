#include "view/kv_list_view.h"

#include <cstdarg>

#include "view/internal/ter_list_view.h"

KvListView::KvListView() : m_pImpl(new TERListView()) {}

KvListView::~KvListView() { delete m_pImpl; }

int KvListView::CreateListView(HWND parent, const RECT& rect, UINT id, bool stripes,
                               bool visible, bool single_selection) {
  return m_pImpl->Create(parent, rect, id, stripes, visible, single_selection) ? 0 : -1;
}

KvListView::operator HWND() const { return m_pImpl->m_hWnd; }

void KvListView::SetDpiScale(float scale) { m_pImpl->SetDpiScale(scale); }

int KvListView::DpiScale(int length) const { return m_pImpl->DpiScale(length); }

void KvListView::SetItemCount(int count) {
  ::SendMessageW(m_pImpl->m_hWnd, LVM_SETITEMCOUNT, count, 0);
}

int KvListView::GetItemCount() const { return m_pImpl->RowCount(); }

int KvListView::InsertItemTexts(int row, ...) {
  va_list texts;
  va_start(texts, row);
  const int index = m_pImpl->InsertItemTexts(row, false, nullptr, texts);
  va_end(texts);
  return index;
}

int KvListView::AppendItemTexts(const wchar_t* first, ...) {
  va_list texts;
  va_start(texts, first);
  const int index = m_pImpl->InsertItemTexts(m_pImpl->RowCount(), true, first, texts);
  va_end(texts);
  return index;
}

void KvListView::SetItemHeight(int height) { m_pImpl->SetItemHeight(height); }

void KvListView::SetCheckBoxImage(Gdiplus::Bitmap* checked, Gdiplus::Bitmap* unchecked,
                                  Gdiplus::Bitmap* disabled) {
  m_pImpl->SetCheckBoxImage(checked, unchecked, disabled);
}

void KvListView::SetDefaultPhoto(Gdiplus::Image* photo) { m_pImpl->SetDefaultPhoto(photo); }

void KvListView::SetHeaderCheck(int checked) { m_pImpl->SetHeaderCheck(checked != 0); }

BOOL KvListView::GetHeaderChecked() const { return m_pImpl->GetHeaderChecked(); }

void KvListView::RefreshHeaderCheck() { m_pImpl->RefreshHeaderCheck(); }

bool KvListView::setListViewHeaderCheck(bool checked) { return m_pImpl->SetAllChecks(checked); }

void KvListView::setFuncHeaderCheck(HeaderCheckCallback callback) {
  m_pImpl->SetHeaderCheckCallback(std::move(callback));
}

HWND KvListView::GetInnerHeader() const { return m_pImpl->GetInnerHeader(); }

void KvListView::RefreshColumn(int column) { m_pImpl->RefreshColumn(column); }

void KvListView::RefreshCell(int column, int row) { m_pImpl->RefreshCell(column, row); }

void KvListView::RefreshRangeCell(int first_column, int last_column, int row) {
  m_pImpl->RefreshRangeCell(first_column, last_column, row);
}

void KvListView::SetSelectedChecked() { m_pImpl->SetSelectedChecked(); }

LRESULT KvListView::SelectItem(int row) { return m_pImpl->SelectItem(row); }

void KvListView::SetPhotoGetFunc(const PhotoGetter& getter) { m_pImpl->m_fnGetPhoto = getter; }

void KvListView::SetRenderFunc(const RowRenderer& renderer) { m_pImpl->m_fnRender = renderer; }

void KvListView::SetFuncGetCheckState(const RowTest& getter) { m_pImpl->m_fnGetCheck = getter; }

void KvListView::SetFuncSetCheckState(const CheckStateSetter& setter) {
  m_pImpl->m_fnSetCheck = setter;
}

void KvListView::SetTestCanCheckFunc(const RowTest& test) { m_pImpl->m_fnCanCheck = test; }

void KvListView::SetScrollItemScopeFuncCallback(const ScrollScopeCallback& callback) {
  m_pImpl->m_fnScrollScope = callback;
}

void KvListView::SetItemCheckedChangeCallback(const CheckedChangeCallback& callback) {
  m_pImpl->m_fnCheckedChange = callback;
}

void KvListView::setFuncDrawPhotoColumn(PhotoColumnPainter painter) {
  m_pImpl->m_fnDrawPhotoColumn = std::move(painter);
}
