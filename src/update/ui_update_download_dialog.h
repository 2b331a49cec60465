// The installer download: the progress dialog's bar with the amounts downloaded and in all,
// then the notice that the product closes for the installation, or that the download failed.
// One standing instance (host dialog 1), driven by the update flow.
#pragma once

#include <string>

#include "dialogs/ui_progress_dialog.h"

class UiUpdateDownloadDialog : public UiProgressDialog {
 public:
  // Called first when the user cancels or closes, with the finished flag.
  using CancelHook = void (*)(int finished);

  UiUpdateDownloadDialog(float scale, Gdiplus::Bitmap* close_normal,
                         Gdiplus::Bitmap* close_pressed);

  void Reset() override;
  void Cancel() override;
  void DrawContent(HDC dc, const RECT& content) override;

  void SetCancelHook(CancelHook hook) { cancel_hook_ = hook; }
  // The line above the bar; also the window's text, for assistive tools.
  void ShowDescription(const std::wstring& text);
  void SetInstallerPath(const std::wstring& path) { installer_path_ = path; }
  // The installer is saved and the shell is about to close: no amounts, no cancel.
  void EnterReadyState();
  // The download failed; Cancel only hides the dialog from now on.
  void EnterFailedState();

  bool done_state() const { return done_state_; }
  const std::wstring& installer_path() const { return installer_path_; }

 private:
  void RepaintText();

  std::wstring installer_path_;
  CancelHook cancel_hook_ = nullptr;
  bool done_state_ = false;
};
