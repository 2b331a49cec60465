#include "host/platform_handler.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <map>
#include <string>
#include <string_view>

#include "app/early_errors.h"
#include "app/process_state.h"
#include "dialogs/message_commands.h"
#include "dialogs/progress_commands.h"
#include "dialogs/shell_dialog_commands.h"
#include "app/product_identity.h"
#include "app/terrace_text.h"
#include "host/application_manifest.h"
#include "host/resource_catalogues.h"
#include "shell/language.h"
#include "shell/main_frame.h"
#include "shell/main_thread_call.h"
#include "shell/shell_state.h"
#include "update/update_check.h"

namespace {

using CommandFunction = void (*)(TERObserveData1* record);

// Answers are fresh copies on the runtime heap; the sender frees them with free().
char* CopyText(const std::string& text) { return ::_strdup(text.c_str()); }
wchar_t* CopyText(const std::wstring& text) { return ::_wcsdup(text.c_str()); }

std::string TextArgument(const TERObserveData1* record) {
  return record->text ? std::string(record->text) : std::string();
}

// Window-state commands change the frame's flags and saved rectangle: they run on the main
// thread, where the frame lives and dies, and the sender waits for them. Once the frame is
// gone they do nothing.
template <void (CMainFrame::*Operation)()>
void OnFrame(TERObserveData1*) {
  CallOnMainThread([] {
    if (CMainFrame* frame = MainFrame()) (frame->*Operation)();
  });
}

void FindUrlCommand(TERObserveData1* record) {
  record->object = const_cast<char*>(FindUrl(TextArgument(record)));
}

void FindImageCommand(TERObserveData1* record) {
  record->object = FindOrLoadImage(TextArgument(record));
}

void ProductAlias(TERObserveData1* record) { record->text = CopyText(ProductDisplayName()); }
void ProductVersionCommand(TERObserveData1* record) { record->text = CopyText(ProductVersion()); }
void ProductBrand(TERObserveData1* record) { record->text = CopyText(BrandWord()); }

void TemporaryDirectory(TERObserveData1* record) {
  record->wide_text = CopyText(TemporaryFolder(true));
}

void PersonalProductDirectory(TERObserveData1* record) {
  // The sender's own text stays the sender's; the answer replaces the pointer.
  const wchar_t* name = record->wide_text;
  const std::wstring folder = name ? DocumentsFolder(name) : DocumentsProductFolder();
  if (folder.empty()) {
    LogError("LIBPLATFORM_COMMAND_GET_PERSONAL_PRODUCT_DIR: refused sub-folder \"" +
             WideToUtf8(name) + "\", which leaves the documents folder");
    record->wide_text = nullptr;
    return;
  }
  record->wide_text = CopyText(folder);
}

void ModuleWindow(TERObserveData1* record) {
  HWND window = nullptr;
  if (FindModuleWindow(TextArgument(record), &window)) record->window = window;
}

void GdiplusFont(TERObserveData1* record) {
  record->object = FindGdiplusFont(TextArgument(record));
}

void GdiFont(TERObserveData1* record) { record->object = FindFont(TextArgument(record)); }

void DpiScaleCommand(TERObserveData1* record) {
  auto* scale = static_cast<float*>(std::malloc(sizeof(float)));
  if (scale) *scale = DpiScale();
  record->object = scale;
}

void ReplaceLanguageSubDirectory(TERObserveData1* record) {
  record->payload = CopyText(ReplaceLanguagePlaceholders(TextArgument(record)));
}

void CheckForUpdateCommand(TERObserveData1* record) {
  record->window = HostWindow(kHostWindowView);
  StartRequestedUpdateCheck(record);
}

void ExitApplication(TERObserveData1*) {
  if (HWND window = MainWindowHandle()) ::PostMessageW(window, WM_CLOSE, 0, 0);
}

// Built once, read-only afterwards; looked up by view so a command allocates nothing. The
// three "LIBCOMM_COMMAND_" names are registered to the handler but have no row: they belong
// to the update library and the host does nothing with them.
const std::map<std::string_view, CommandFunction>& CommandTable() {
  static const std::map<std::string_view, CommandFunction> table = {
      {"LIBPLATFORM_COMMAND_PRESS_MAX_OR_RESET", &OnFrame<&CMainFrame::ToggleMaximize>},
      {"LIBPLATFORM_COMMAND_OPEN_ABOUT", &OpenAboutCommand},
      {"LIBPLATFORM_COMMAND_FIND_URL", &FindUrlCommand},
      {"LIBPLATFORM_COMMAND_FIND_IMAGE", &FindImageCommand},
      {"LIBPLATFORM_COMMAND_CHECK_FOR_UPDATE", &CheckForUpdateCommand},
      {"LIBPLATFORM_COMMAND_OPEN_SETTING", &OpenSettingCommand},
      {"LIBPLATFORM_COMMAND_GET_PRODUCT_ALIAS", &ProductAlias},
      {"LIBPLATFORM_COMMAND_NOTIFY_PROGRESS", &NotifyProgressCommand},
      {"LIBPLATFORM_COMMAND_NOTIFY_PROGRESS_FINISH", &NotifyProgressFinishCommand},
      {"LIBPLATFORM_COMMAND_START_PROGRESS", &StartProgressCommand},
      {"LIBPLATFORM_COMMAND_CANCEL_PROGRESS", &CancelProgressCommand},
      {"LIBPLATFORM_COMMAND_SHOW_SHEET_TIP", &ShowSheetTipCommand},
      {"LIBPLATFORM_COMMAND_GET_TEMP_DIR", &TemporaryDirectory},
      {"LIBPLATFORM_COMMAND_OPEN_ALERT_MESSAGE", &OpenAlertMessageCommand},
      {"LIBPLATFORM_COMMAND_OPEN_LINK_ALERT_MESSAGE", &OpenLinkAlertMessageCommand},
      {"LIBPLATFORM_COMMAND_OPEN_CONFIRM_MESSAGE", &OpenConfirmMessageCommand},
      {"LIBPLATFORM_COMMAND_GET_PRODUCT_VERSION", &ProductVersionCommand},
      {"LIBPLATFORM_COMMAND_GET_MODULE_HWND", &ModuleWindow},
      {"LIBPLATFORM_COMMAND_GET_PRODUCT_BRAND", &ProductBrand},
      {"LIBPLATFORM_COMMAND_GET_GDIPLUS_FONT", &GdiplusFont},
      {"LIBPLATFORM_COMMAND_GET_FONT", &GdiFont},
      {"LIBPLATFORM_COMMAND_GET_PERSONAL_PRODUCT_DIR", &PersonalProductDirectory},
      {"LIBPLATFORM_COMMAND_GET_DPI_SCALE_PERCENT", &DpiScaleCommand},
      {"LIBPLATFORM_COMMAND_CHANGE_PROGRESS_LOGO", &ChangeProgressLogoCommand},
      {"LIBPLATFORM_COMMAND_REPLACE_I18N_SUB_DIR", &ReplaceLanguageSubDirectory},
      {"LIBPLATFORM_COMMAND_MINIMIZE_TO_TRAY", &OnFrame<&CMainFrame::Minimize>},
      {"LIBPLATFORM_COMMAND_RESTORE_FROM_TRAY", &OnFrame<&CMainFrame::RestoreUnlessHidden>},
      {"LIBPLATFORM_COMMAND_CLOSE_WINDOW", &OnFrame<&CMainFrame::HideToTray>},
      {"LIBPLATFORM_COMMAND_EXIT_APP", &ExitApplication},
  };
  return table;
}

}  // namespace

void PlatformHandler(TERObserveData1* record) {
  if (!record || !record->name) return;
  const auto& table = CommandTable();
  auto found = table.find(std::string_view(record->name));
  if (found != table.end()) found->second(record);
}
