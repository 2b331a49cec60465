// The standing progress dialog of module jobs: title, optional logo, a description and a bar
// with a percentage or counts, an open-folder button, Cancel (OK once the work is over) and
// an expandable box listing failures. Counts and texts may be reported from any thread; the
// dialog samples them every 500 ms on the main thread.
#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "dialogs/progress_layout.h"
#include "dialogs/progress_state.h"
#include "dialogs/ui_dialog.h"
#include "view/kv_switch_button.h"

class UiProgressDialog : public UiDialog {
 public:
  using CancelFunction = void (*)(void* first, void* second);

  UiProgressDialog(float scale, Gdiplus::Bitmap* close_normal, Gdiplus::Bitmap* close_pressed);
  ~UiProgressDialog() override;

  BEGIN_MSG_MAP(UiProgressDialog)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(WM_CTLCOLOREDIT, OnEditColor)
    COMMAND_ID_HANDLER(kCloseButtonId, OnCancelButton)
    COMMAND_ID_HANDLER(kSecondaryButtonId, OnCancelButton)
    COMMAND_ID_HANDLER(kPrimaryButtonId, OnOpenFolder)
    COMMAND_ID_HANDLER(kExpanderButtonId, OnExpander)
    CHAIN_MSG_MAP(UiDialog)
  END_MSG_MAP()

  // Main thread.
  void Reset() override;
  virtual void Start();
  virtual void Cancel();
  virtual void Relayout();
  void ToggleDetails();
  void SetShowCounts(bool show) { show_counts_ = show; }
  void SetAutoClose(bool auto_close) { auto_close_ = auto_close; }
  void SetOutputFolder(const std::wstring& folder);
  void SetDeviceId(const std::string& id);
  void SetCancelFunction(CancelFunction function, void* first, void* second);

  // Any thread.
  void SetDone(int32_t done) { state_.SetDone(done); }
  void SetTotal(int32_t total) { state_.SetTotal(total); }
  void AddFailures(int32_t count) { state_.AddFailures(count); }
  void SetDescription(const std::wstring& text) { state_.SetDescription(text); }
  void AppendFailure(const std::wstring& item);
  void SetLogo(Gdiplus::Bitmap* logo);
  // "LIBPLATFORM_COMMAND_CANCEL_PROGRESS": closes a running job of that device without
  // calling its cancel function; false when the id does not match or the job is over.
  bool CancelDevice(const std::string& id);

  void DrawContent(HDC dc, const RECT& content) override;

  // What the dialog shows, for tests.
  const ProgressState& state() const { return state_; }
  std::wstring CountText() const;
  std::wstring DescriptionText() const { return *state_.Description(); }
  bool expanded() const { return expanded_; }
  const std::wstring& cancel_label() const { return cancel_label_; }
  bool auto_close() const { return auto_close_; }
  const ProgressLayout& layout() const { return layout_; }
  HWND failure_box() const { return failure_box_; }

 protected:
  void SetUp() override;

 private:
  LRESULT OnTimer(UINT, WPARAM wparam, LPARAM, BOOL&);
  LRESULT OnEditColor(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCancelButton(WORD, WORD, HWND, BOOL&);
  LRESULT OnOpenFolder(WORD, WORD, HWND, BOOL&);
  LRESULT OnExpander(WORD, WORD, HWND, BOOL&);

  void Refresh();
  void Finish();
  void InsertFailureLine(const std::wstring& line);
  void CreateButton(KvSwitchButton& button, int id, const std::wstring& text);
  void InvalidateNumbers();
  void SetExpanderImages(bool expanded);
  void SetCancelLabel(const std::wstring& label);

  KvSwitchButton open_folder_;
  KvSwitchButton cancel_;
  bool has_output_folder_ = false;
  bool auto_close_ = false;
  std::wstring output_folder_;
  std::wstring open_folder_text_;
  std::wstring cancel_text_;
  std::wstring ok_text_;
  std::wstring cancel_label_;  // what the cancel button reads now
  mutable std::mutex device_lock_;  // the cancel command reads it on the sender's thread
  std::string device_id_;
  int32_t shown_done_ = 0;
  int32_t shown_total_ = 0;
  ProgressState state_;
  COLORREF bar_color_ = 0;
  HFONT text_font_ = nullptr;
  Gdiplus::Font* button_font_ = nullptr;
  std::atomic<CancelFunction> cancel_function_{nullptr};
  void* cancel_first_ = nullptr;
  void* cancel_second_ = nullptr;
  bool show_counts_ = false;
  KvImgButton expander_;
  bool expanded_ = false;
  Gdiplus::Bitmap* expander_images_[4] = {};
  HWND failure_box_ = nullptr;
  std::atomic<Gdiplus::Bitmap*> logo_{nullptr};
  ProgressLayout layout_;
};
