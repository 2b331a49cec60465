#include "dialogs/ui_progress_dialog.h"

#include "dialogs/main_thread.h"
#include "dialogs/shell_open.h"
#include "host/resource_catalogues.h"
#include "shell/language.h"
#include "view/utils.h"
#include "winlayer/dc.h"
#include "winlayer/gdi.h"

namespace {
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT_PTR kAutoCloseTimer = 2;
constexpr UINT kRefreshPeriod = 500;
constexpr UINT kAutoCloseDelay = 500;
constexpr COLORREF kBarOutline = 0xDDDDDD;
constexpr UINT kTextFlags = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;

SIZE WindowSize(HWND window) {
  RECT rect = {};
  ::GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void MoveChild(HWND window, const RECT& rect) {
  ::MoveWindow(window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}
}  // namespace

UiProgressDialog::UiProgressDialog(float scale, Gdiplus::Bitmap* close_normal,
                                   Gdiplus::Bitmap* close_pressed)
    : UiDialog(scale, close_normal, close_pressed) {}

UiProgressDialog::~UiProgressDialog() = default;

void UiProgressDialog::CreateButton(KvSwitchButton& button, int id, const std::wstring& text) {
  button.SetDpiScale(scale());
  button.CreateButton(m_hWnd, button_font_, id);
  button.SetHMargin(Scale(10)).SetVMargin(Scale(8)).SetRadio(false).SetRoundRect(true);
  button.SetRoundRectPoint(POINT{Scale(4), Scale(4)});
  button.Init(0, 0, text.c_str(), CatalogueColor("color:common:button:normal"), 0xFFFFFF,
              CatalogueColor("color:common:button:pressed"), 0xFFFFFF);
}

void UiProgressDialog::SetUp() {
  bar_color_ = CatalogueColor("color:title:background");
  open_folder_text_ = Translate(L"open-folder");
  cancel_text_ = Translate(L"cancel");
  ok_text_ = Translate(L"ok");
  text_font_ = FindFont("font:16:normal");
  button_font_ = FindGdiplusFont("font:gdiplus:16:bold");
  CreateButton(open_folder_, kPrimaryButtonId, open_folder_text_);
  CreateButton(cancel_, kSecondaryButtonId, cancel_text_);
  cancel_label_ = cancel_text_;

  const char* const keys[4] = {"dialog\\slide-down-normal.png", "dialog\\slide-down-pressed.png",
                               "dialog\\take-back-normal.png", "dialog\\take-back-pressed.png"};
  for (int i = 0; i < 4; ++i) expander_images_[i] = FindImage(keys[i]);
  expander_.SetDpiScale(scale());
  expander_.CreateButton(m_hWnd, kExpanderButtonId, true);
  expander_.Init(expander_images_[0], 0, 0, expander_images_[1], nullptr, 0, 0, 0, 0);
  expander_.SetBkgColor(0xFFFFFF);

  failure_box_ = ::CreateWindowExW(
      0, L"EDIT", L"", WS_CHILD | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0, 0,
      0, m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kDetailControlId)),
      ModuleHelper::GetModuleInstance(), nullptr);
  if (failure_box_) {
    ::SendMessageW(failure_box_, WM_SETFONT, reinterpret_cast<WPARAM>(text_font_), FALSE);
    ::SendMessageW(failure_box_, EM_SETLIMITTEXT, 0, 0);  // as long as it grows
    ::ShowScrollBar(failure_box_, SB_VERT, TRUE);
  }
  Relayout();
}

void UiProgressDialog::Relayout() {
  ProgressInput input;
  input.dialog = size();
  input.scale = scale();
  input.expander = WindowSize(expander_);
  input.cancel = WindowSize(cancel_);
  input.open_folder = WindowSize(open_folder_);
  Gdiplus::Bitmap* logo = logo_.load();
  if (logo && logo->GetLastStatus() == Gdiplus::Ok) {
    input.has_logo = true;
    input.logo_pixels = {static_cast<LONG>(logo->GetWidth()), static_cast<LONG>(logo->GetHeight())};
  }
  layout_ = LayoutProgress(input);
  MoveChild(expander_, layout_.expander);
  MoveChild(cancel_, layout_.cancel);
  MoveChild(open_folder_, layout_.open_folder);
}

void UiProgressDialog::Reset() {
  UiDialog::Reset();
  KillTimer(kAutoCloseTimer);
  shown_done_ = 0;
  shown_total_ = 0;
  state_.Reset();
  has_output_folder_ = false;
  output_folder_.clear();
  auto_close_ = false;
  if (expanded_) ToggleDetails();
  if (failure_box_) ::SetWindowTextW(failure_box_, L"");
  SetCancelLabel(cancel_text_);
  Relayout();
}

void UiProgressDialog::SetCancelLabel(const std::wstring& label) {
  cancel_label_ = label;
  cancel_.SetText(cancel_label_.c_str());
}

void UiProgressDialog::SetOutputFolder(const std::wstring& folder) {
  has_output_folder_ = !folder.empty();
  output_folder_ = folder;
}

void UiProgressDialog::SetDeviceId(const std::string& id) {
  std::lock_guard<std::mutex> lock(device_lock_);
  device_id_ = id;
}

void UiProgressDialog::SetCancelFunction(CancelFunction function, void* first, void* second) {
  cancel_first_ = first;
  cancel_second_ = second;
  cancel_function_.store(function);
}

void UiProgressDialog::Start() {
  ::ShowWindow(open_folder_, has_output_folder_ ? SW_SHOWNA : SW_HIDE);
  SetTimer(kRefreshTimer, kRefreshPeriod);
  Show(kShowNormal);
  Invalidate(FALSE);
  UpdateWindow();
}

void UiProgressDialog::Cancel() {
  KillTimer(kRefreshTimer);
  KillTimer(kAutoCloseTimer);
  state_.DropDescription();
  if (TakeFinish()) {
    // The function is taken, so neither a second press nor a later job calls it again.
    if (CancelFunction function = cancel_function_.exchange(nullptr)) {
      function(cancel_first_, cancel_second_);
    }
  }
  Show(SW_HIDE);
  SetClosed(true);
}

bool UiProgressDialog::CancelDevice(const std::string& id) {
  {
    std::lock_guard<std::mutex> lock(device_lock_);
    if (finished() || device_id_ != id) return false;
  }
  if (!TakeFinish()) return false;
  // Timers and windows belong to the main thread.
  RunOnMainThread([this] {
    KillTimer(kRefreshTimer);
    KillTimer(kAutoCloseTimer);
    Show(SW_HIDE);
    state_.DropDescription();
  });
  return true;
}

void UiProgressDialog::AppendFailure(const std::wstring& item) {
  std::wstring line = ProgressFailureLine(Translate(L"[Fail] "), state_.failed(), item);
  RunOnMainThread([this, line = std::move(line)] { InsertFailureLine(line); });
}

void UiProgressDialog::InsertFailureLine(const std::wstring& line) {
  if (!failure_box_) return;
  const LRESULT end = ::GetWindowTextLengthW(failure_box_);
  ::SendMessageW(failure_box_, EM_SETSEL, end, end);
  ::SendMessageW(failure_box_, EM_SCROLLCARET, 0, 0);
  ::SendMessageW(failure_box_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
}

void UiProgressDialog::SetLogo(Gdiplus::Bitmap* logo) {
  logo_.store(logo);
  RunOnMainThread([this] {
    if (m_hWnd) InvalidateRect(&layout_.logo, TRUE);
  });
}

std::wstring UiProgressDialog::CountText() const {
  return ProgressCountText(shown_done_, shown_total_, show_counts_);
}

void UiProgressDialog::InvalidateNumbers() {
  InvalidateRect(&layout_.bar, FALSE);
  InvalidateRect(&layout_.text, FALSE);
}

LRESULT UiProgressDialog::OnTimer(UINT, WPARAM wparam, LPARAM, BOOL&) {
  if (wparam == kRefreshTimer) {
    Refresh();
  } else if (wparam == kAutoCloseTimer) {
    KillTimer(kAutoCloseTimer);
    Show(SW_HIDE);
    state_.DropDescription();
  }
  return 0;
}

void UiProgressDialog::Refresh() {
  const bool description_changed = state_.TakeDescriptionChanged();
  if (state_.done() != shown_done_ || state_.total() != shown_total_ || description_changed) {
    shown_done_ = state_.done();
    shown_total_ = state_.total();
    InvalidateNumbers();
  }
  if (finished()) Finish();
}

void UiProgressDialog::Finish() {
  const int32_t failed = state_.failed();
  state_.SetDescription(ProgressFinishText(Translate(L"failed"), Translate(L"finish"), failed,
                                           *state_.Description()));
  if (failed != 0) {
    auto_close_ = false;
    state_.SetDone(state_.total() - failed);
  }
  shown_done_ = state_.done();
  shown_total_ = state_.total();
  KillTimer(kRefreshTimer);
  if (auto_close_) {
    SetClosed(true);
    InvalidateNumbers();
    UpdateWindow();
    // Half a second to read the final state, without stopping the main thread meanwhile.
    SetTimer(kAutoCloseTimer, kAutoCloseDelay);
    return;
  }
  SetCancelLabel(ok_text_);
  Relayout();
  InvalidateNumbers();
}

void UiProgressDialog::DrawContent(HDC dc, const RECT& content) {
  CDCHandle memory(dc);
  CSelectObject select_font(dc, text_font_);
  {
    CPen outline;
    outline.CreatePen(PS_SOLID, 1, kBarOutline);
    CSelectObject select_pen(dc, outline);
    CSelectObject select_brush(dc, ::GetStockObject(WHITE_BRUSH));
    const RECT& bar = layout_.bar;
    memory.RoundRect(bar.left, bar.top, bar.right, bar.bottom, Scale(8), Scale(8));
  }
  const RECT& inner = layout_.bar_fill;
  const int fill = ProgressFillWidth(inner.right - inner.left, shown_done_, shown_total_);
  if (fill > 0) memory.FillSolidRect({inner.left, inner.top, inner.left + fill, inner.bottom}, bar_color_);

  const std::wstring count = CountText();
  const std::wstring description = *state_.Description();
  SIZE count_size = {};
  memory.GetTextExtent(count.c_str(), static_cast<int>(count.size()), &count_size);
  SIZE description_size = {};
  memory.GetTextExtent(description.empty() ? L" " : description.c_str(),
                       description.empty() ? 1 : static_cast<int>(description.size()),
                       &description_size);
  const int top = layout_.description_top;
  RECT band = {layout_.text.left, top, layout_.text.right, top + description_size.cy};
  memory.FillSolidRect(band, 0xFFFFFF);
  memory.SetBkMode(TRANSPARENT);
  memory.SetTextColor(0);
  RECT description_rect = band;
  description_rect.right = ProgressDescriptionRight(content.right, count_size.cx, scale());
  memory.DrawText(description.c_str(), -1, &description_rect, kTextFlags | DT_END_ELLIPSIS);
  RECT count_rect = {layout_.bar.right - count_size.cx, band.top, layout_.bar.right, band.bottom};
  memory.DrawText(count.c_str(), -1, &count_rect, kTextFlags);

  if (Gdiplus::Bitmap* logo = logo_.load()) {
    Gdiplus::Graphics graphics(dc);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    const RECT& rect = layout_.logo;
    Utils::DrawImage(&graphics, logo, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top);
  }
}

LRESULT UiProgressDialog::OnEditColor(UINT, WPARAM, LPARAM, BOOL&) {
  return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
}

LRESULT UiProgressDialog::OnCancelButton(WORD, WORD, HWND, BOOL&) {
  Cancel();
  return 0;
}

LRESULT UiProgressDialog::OnOpenFolder(WORD, WORD, HWND, BOOL&) {
  if (!output_folder_.empty()) OpenFolderPath(output_folder_);
  return 0;
}

LRESULT UiProgressDialog::OnExpander(WORD, WORD, HWND, BOOL&) {
  ToggleDetails();
  return 0;
}

void UiProgressDialog::SetExpanderImages(bool expanded) {
  expander_.SetNormalImage(expander_images_[expanded ? 2 : 0]);
  expander_.SetPressedImage(expander_images_[expanded ? 3 : 1]);
  ::InvalidateRect(expander_, nullptr, FALSE);
}

void UiProgressDialog::ToggleDetails() {
  expanded_ = !expanded_;
  SetExpanderImages(expanded_);
  const SIZE collapsed = size();
  const int extra = layout_.details_height;
  if (expanded_) {
    SetWindowPos(nullptr, 0, 0, collapsed.cx, collapsed.cy + extra,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (failure_box_) {
      ::SetWindowPos(failure_box_, nullptr, 0, collapsed.cy, collapsed.cx, extra,
                     SWP_NOZORDER | SWP_SHOWWINDOW);
    }
    RECT strip = {0, WindowSize(expander_).cy, collapsed.cx, collapsed.cy + extra};
    InvalidateRect(&strip, TRUE);
  } else {
    SetWindowPos(nullptr, 0, 0, collapsed.cx, collapsed.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (failure_box_) ::ShowWindow(failure_box_, SW_HIDE);
  }
}
