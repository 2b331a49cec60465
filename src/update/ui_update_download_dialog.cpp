#include "update/ui_update_download_dialog.h"

#include "app/terrace_text.h"
#include "host/resource_catalogues.h"
#include "shell/language.h"
#include "update/update_dialog_layout.h"
#include "winlayer/dc.h"
#include "winlayer/gdi.h"

namespace {
constexpr UINT kTextFlags = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;

std::wstring SizeText(int32_t bytes) {
  TerText text(TerUtilityFile()->SizeText(bytes > 0 ? static_cast<uint64_t>(bytes) : 0));
  return Utf8ToWide(text.str());
}
}  // namespace

UiUpdateDownloadDialog::UiUpdateDownloadDialog(float scale, Gdiplus::Bitmap* close_normal,
                                               Gdiplus::Bitmap* close_pressed)
    : UiProgressDialog(scale, close_normal, close_pressed) {}

void UiUpdateDownloadDialog::Reset() {
  UiProgressDialog::Reset();
  done_state_ = false;
  installer_path_.clear();
  ::EnableWindow(GetDlgItem(kSecondaryButtonId), TRUE);
}

void UiUpdateDownloadDialog::Cancel() {
  if (CancelHook hook = cancel_hook_) hook(finished() ? 1 : 0);
  UiProgressDialog::Cancel();
}

void UiUpdateDownloadDialog::ShowDescription(const std::wstring& text) {
  SetDescription(text);
  SetWindowTextW(text.c_str());
  RepaintText();
}

void UiUpdateDownloadDialog::RepaintText() {
  if (m_hWnd) InvalidateRect(&layout().text, TRUE);
}

void UiUpdateDownloadDialog::EnterReadyState() {
  done_state_ = true;
  ShowDescription(Translate(L"close-app-desc"));
  ::EnableWindow(GetDlgItem(kSecondaryButtonId), FALSE);
}

void UiUpdateDownloadDialog::EnterFailedState() {
  cancel_hook_ = nullptr;
  done_state_ = true;
  ShowDescription(Translate(L"download-failed-check-network"));
}

void UiUpdateDownloadDialog::DrawContent(HDC dc, const RECT& content) {
  // The bar as every progress dialog draws it; the line above it is ours.
  UiProgressDialog::DrawContent(dc, content);
  CDCHandle memory(dc);
  CSelectObject select_font(dc, FindFont("font:16:normal"));
  const std::wstring description = DescriptionText();
  SIZE description_size = {};
  memory.GetTextExtent(description.empty() ? L" " : description.c_str(),
                       description.empty() ? 1 : static_cast<int>(description.size()),
                       &description_size);
  const ProgressLayout& parts = layout();
  const int top = ScaledLength(50, scale());
  memory.FillSolidRect({parts.text.left, top, content.right, top + description_size.cy}, 0xFFFFFF);
  memory.SetBkMode(TRANSPARENT);
  memory.SetTextColor(0);
  RECT description_rect = {ScaledLength(20, scale()), top, content.right,
                           top + description_size.cy};
  memory.DrawText(description.c_str(), -1, &description_rect, kTextFlags);
  if (done_state_) return;

  const std::wstring amounts =
      DownloadAmountsText(Translate(L"update-download"), SizeText(state().done()),
                          Translate(L"update-total"), SizeText(state().total()));
  SIZE amounts_size = {};
  memory.GetTextExtent(amounts.c_str(), static_cast<int>(amounts.size()), &amounts_size);
  RECT amounts_rect = {parts.bar.right - amounts_size.cx, top, parts.bar.right,
                       top + description_size.cy};
  memory.DrawText(amounts.c_str(), -1, &amounts_rect, kTextFlags);
}
