#include "dialogs/shell_dialog_commands.h"

#include <rapidjson/document.h>

#include "app/process_state.h"
#include "app/product_identity.h"
#include "app/startup_layout.h"
#include "app/terrace_text.h"
#include "common/json_members.h"
#include "dialogs/bounded_text.h"
#include "dialogs/main_thread.h"
#include "dialogs/shell_open.h"
#include "dialogs/ui_about_dialog.h"
#include "dialogs/ui_setting_dialog.h"
#include "dialogs/ui_sheet_dialog.h"
#include "host/resource_catalogues.h"
#include "shell/language.h"
#include "shell/shell_state.h"

namespace {
constexpr size_t kLanguageTipBuffer = 512;
constexpr int kTipDisplayTime = 5000;

UiSheetDialog* SheetTip() { return dynamic_cast<UiSheetDialog*>(HostDialog(kHostDialogSheetTip)); }

// The folder a click on the shown tip opens: the click action is a plain function, and there
// is one tip, shown on the main thread, so the folder lives here.
std::wstring& TipFolder() {
  static std::wstring folder;
  return folder;
}
void OpenTipFolder() { OpenFolderPath(TipFolder()); }
}  // namespace

std::wstring LanguageChangeTip(const std::wstring& format, const std::wstring& product_name) {
  return FormatBounded(format, product_name, kLanguageTipBuffer);
}

void OpenAboutCommand(TERObserveData1*) {
  const float scale = DpiScale();
  UiAboutDialog dialog(scale, FindImage("close-normal.png"), FindImage("close-pressed.png"));
  HWND view = HostWindow(kHostWindowView);
  dialog.SetUpDialog(view, {ScaleLength(520, scale), ScaleLength(380, scale)}, L"");
  dialog.DoModal(view);
}

void ApplyLanguageChange(int language) {
  SetCurrentLanguageNumber(language);
  SaveLanguageNumber(language);
  const std::wstring text =
      LanguageChangeTip(Translate(L"language-change-tip-%s"), ProductDisplayNameWide());
  // The tip's timers belong to the main thread, whichever thread ran the dialog.
  RunOnMainThread([text] {
    if (UiSheetDialog* tip = SheetTip()) {
      tip->SetMessage(text.c_str());
      tip->SetClickAction(nullptr);
      tip->ShowFor(kShowNormal, kTipDisplayTime);
    }
  });
}

void OpenSettingCommand(TERObserveData1*) {
  const float scale = DpiScale();
  UiSettingDialog dialog(scale, FindImage("close-normal.png"), FindImage("close-pressed.png"),
                         false, Translate(L"cancel"), Translate(L"ok"));
  dialog.SetTitle(Translate(L"settings"));
  dialog.SetLanguage(CurrentLanguageNumber());
  dialog.SetUpDialog(nullptr, {ScaleLength(600, scale), ScaleLength(240, scale)});
  if (dialog.DoModal(::GetActiveWindow()) != kPrimaryButtonId) return;
  if (std::unique_ptr<int> chosen = dialog.TakeResult()) ApplyLanguageChange(*chosen);
}

void ShowSheetTipCommand(TERObserveData1* record) {
  const auto* object = static_cast<const rapidjson::Value*>(record->payload);
  const int64_t show = json_members::Int(object, "show");
  const std::wstring message = Utf8ToWide(json_members::String(object, "message"));
  // Beyond the two members every sender gives: "open_folder", a folder the tip's text opens
  // when clicked (a recorder tells where it saved a file).
  const std::wstring folder = Utf8ToWide(json_members::String(object, "open_folder"));
  RunOnMainThread([show, message, folder] {
    UiSheetDialog* tip = SheetTip();
    if (!tip) return;
    TipFolder() = folder;
    tip->SetClickAction(show != 0 && !folder.empty() ? &OpenTipFolder : nullptr);
    if (show != 0) {
      tip->SetMessage(message.c_str());
      tip->ShowFor(kShowNormal, kTipDisplayTime);
    } else {
      tip->ShowFor(SW_HIDE, kTipDisplayTime);
      tip->SetMessage(nullptr);
    }
  });
}
