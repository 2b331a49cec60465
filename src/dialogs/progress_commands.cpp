#include "dialogs/progress_commands.h"

#include <rapidjson/document.h>

#include <string>

#include "app/terrace_text.h"
#include "common/json_members.h"
#include "dialogs/main_thread.h"
#include "dialogs/ui_progress_dialog.h"
#include "shell/shell_state.h"

namespace {

UiProgressDialog* Progress() {
  return dynamic_cast<UiProgressDialog*>(HostDialog(kHostDialogProgress));
}

void Notify(TERObserveData1* record, bool finish) {
  UiProgressDialog* dialog = Progress();
  if (!dialog) return;
  if (record->extra2) dialog->SetDone(static_cast<int32_t>(record->extra2));
  if (record->extra1) dialog->SetTotal(static_cast<int32_t>(record->extra1));
  if (record->value) {
    dialog->AddFailures(static_cast<int32_t>(record->value));
    if (record->text) dialog->AppendFailure(Utf8ToWide(record->text));
  }
  if (record->object) {
    dialog->SetDescription(Utf8ToWide(static_cast<const char*>(record->object)));
  }
  if (record->payload) dialog->SetLogo(static_cast<Gdiplus::Bitmap*>(record->payload));
  if (finish) dialog->MarkFinished();
}

}  // namespace

void StartProgressCommand(TERObserveData1* record) {
  if (!OnMainThread()) return;
  UiProgressDialog* dialog = Progress();
  if (!dialog) return;
  TERProgressSetup setup = {};
  if (record->object) setup = *static_cast<const TERProgressSetup*>(record->object);
  const auto* object = static_cast<const rapidjson::Value*>(record->payload);

  dialog->SetShowCounts(json_members::Int(object, "show_current_total_number") != 0);
  dialog->SetLogo(static_cast<Gdiplus::Bitmap*>(setup.logo));
  dialog->Reset();
  const std::string output = json_members::String(object, "output_dir");
  if (!output.empty()) dialog->SetOutputFolder(Utf8ToWide(output));
  const std::string description = json_members::String(object, "desc");
  if (!description.empty()) dialog->SetDescription(Utf8ToWide(description));
  const std::string title = json_members::String(object, "title");
  if (!title.empty()) dialog->SetTitle(Utf8ToWide(title));
  dialog->SetAutoClose(json_members::Int(object, "auto_close_when_finish") != 0);
  dialog->SetDeviceId(json_members::String(object, "device_id"));
  dialog->Start();
  dialog->SetCancelFunction(setup.cancel, setup.cancel_first, setup.cancel_second);
}

void NotifyProgressCommand(TERObserveData1* record) { Notify(record, false); }

void NotifyProgressFinishCommand(TERObserveData1* record) { Notify(record, true); }

void CancelProgressCommand(TERObserveData1* record) {
  UiProgressDialog* dialog = Progress();
  if (dialog && record->text) dialog->CancelDevice(record->text);
}

void ChangeProgressLogoCommand(TERObserveData1* record) {
  UiProgressDialog* dialog = Progress();
  if (dialog && record->payload) dialog->SetLogo(static_cast<Gdiplus::Bitmap*>(record->payload));
}
