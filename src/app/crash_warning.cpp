#include "app/crash_warning.h"

#include <windows.h>

#include "app/process_state.h"
#include "app/startup_layout.h"
#include "dialogs/ui_alert_dialog.h"
#include "host/resource_catalogues.h"
#include "shell/language.h"

void ShowCrashWarning(const std::wstring& text) {
  const float scale = DpiScale();
  // Recentred: with no owner that puts it in the middle of the screen, not at the corner.
  UiAlertDialog dialog(scale, FindImage("close-normal.png"), FindImage("close-pressed.png"),
                       FindImage("alert.png"), 0, true, Translate(L"cancel"), Translate(L"ok"));
  dialog.SetFitToContent();
  const std::wstring open = Translate(L"open");
  dialog.SetUpDialog(nullptr, {ScaleLength(600, scale), 0}, text, open.c_str());
  dialog.DoModal(::GetActiveWindow());
}
