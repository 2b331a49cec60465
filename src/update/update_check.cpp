#include "update/update_check.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "app/process_state.h"
#include "app/product_identity.h"
#include "app/terrace_text.h"
#include "dialogs/main_thread.h"
#include "dialogs/ui_alert_dialog.h"
#include "dialogs/ui_sheet_dialog.h"
#include "host/post_task.h"
#include "host/resource_catalogues.h"
#include "shell/language.h"
#include "shell/shell_state.h"
#include "update/installer_handoff.h"
#include "update/ui_update_download_dialog.h"
#include "update/ui_update_list_dialog.h"
#include "update/update_list_json.h"
#include "upfetch/upfetch.h"

namespace {

constexpr int kSheetTipShowCommand = kShowNormal;
constexpr int kSheetTipMilliseconds = 5000;
constexpr int kAlertWidth = 440;
constexpr int32_t kStopDownload = -2;

// Download results, as the worker hands them to the main thread in `value`.
constexpr int64_t kDownloadSaved = 1;
constexpr int64_t kDownloadStopped = 5;
constexpr int64_t kDownloadFailed = 6;

// Written by one side and read by the other; a stale read delays the effect by one
// progress callback at most.
std::atomic<bool> checking{false};
std::atomic<bool> download_cancelled{false};
// From the update-now action to the download result; a check meanwhile would release the
// list the download is reading.
std::atomic<bool> downloading{false};
// Filled by the check worker, read and released by the download worker; the flow runs
// them one after the other.
UFUpdateData* update_list = nullptr;

UiUpdateListDialog* ListDialog() {
  return dynamic_cast<UiUpdateListDialog*>(HostDialog(kHostDialogUpdateList));
}
UiUpdateDownloadDialog* DownloadDialog() {
  return dynamic_cast<UiUpdateDownloadDialog*>(HostDialog(kHostDialogUpdateDownload));
}
UiSheetDialog* SheetTip() { return dynamic_cast<UiSheetDialog*>(HostDialog(kHostDialogSheetTip)); }

void RunOnWorker(std::function<void()> work) {
  PostTask(std::string(), 0, new PostedTaskFunction([work](IKvTask*) { work(); }));
}

// Results cross threads in a zeroed command record; its texts are the runtime heap's.
TERObserveData1* NewResult() {
  return static_cast<TERObserveData1*>(std::calloc(1, sizeof(TERObserveData1)));
}

void FreeResult(TERObserveData1* record) {
  if (!record) return;
  std::free(record->payload);
  std::free(record->wide_text);
  std::free(record);
}

void ShowAlert(const std::wstring& message) {
  HWND owner = HostWindow(kHostWindowView);
  UiAlertDialog alert(DpiScale(), FindImage("close-normal.png"), FindImage("close-pressed.png"),
                      FindImage("alert.png"), 0, false, Translate(L"cancel"), Translate(L"ok"));
  alert.SetFitToContent();
  alert.SetUpDialog(owner, {alert.Scale(kAlertWidth), 0}, message);
  alert.DoModal(owner);
}

std::wstring Formatted(const wchar_t* key, const std::wstring& argument) {
  wchar_t* text = TerUtilityString()->FormatWide(Translate(key).c_str(), argument.c_str());
  std::wstring result = text ? text : L"";
  std::free(text);
  return result;
}

void StartDownload();

void ShowUpdateList() {
  UiUpdateListDialog* list = ListDialog();
  if (!list) return;
  list->Reset();
  list->SetUpdateNowAction(&StartDownload);
  list->Show(SW_SHOW);
}

void ShowCheckResult(bool asked, TERObserveData1* record) {
  if (record->value == 0) {
    if (asked) ShowAlert(Translate(L"update-failed-check-network"));
  } else if (record->payload) {
    UiUpdateListDialog* list = ListDialog();
    UpdateListText text;
    if (list && FormatUpdateList(static_cast<const char*>(record->payload), record->reserved10,
                                 WideToUtf8(Translate(L"version")), &text)) {
      list->SetUpdateNowAction(&StartDownload);
      list->ClearNotes();
      list->set_has_update(true);
      list->AppendNotes(Utf8ToWide(text.text));
      if (asked) {
        list->Reset();
        list->Show(SW_SHOW);
      } else if (UiSheetDialog* tip = SheetTip(); tip && !tip->IsWindowVisible()) {
        const std::wstring message =
            Formatted(L"new-version-found-%s", Utf8ToWide(text.first_version));
        tip->SetMessage(message.c_str());
        tip->SetClickAction(&ShowUpdateList);
        tip->ShowFor(kSheetTipShowCommand, kSheetTipMilliseconds);
      }
    }
  } else if (asked) {
    ShowAlert(Formatted(L"is-lastest-version-%s", ProductVersionWide()));
  }
  FreeResult(record);
}

void RunCheck(bool asked) {
  // A list left from a check whose result could not be shown is not leaked.
  UFFreeUFUpdateData(update_list);
  update_list = nullptr;
  const std::string root = FindUrl("url:root:brand");
  const std::string brand = BrandWord();
  const std::string name = ProductDisplayName();
  const std::string version = ProductVersion();
  const UFCheckParameters parameters = {root.c_str(), brand.c_str(), name.c_str(),
                                        version.c_str(), ProductType(), 0};
  TERObserveData1* record = NewResult();
  const int answer = UFCheckForUpdate(&update_list, &parameters);
  if (record && answer == UF_OK) {
    const std::string json =
        UpdateListJson(update_list, LanguageName(CurrentLanguageNumber()));
    record->payload = ::_strdup(json.c_str());
    record->reserved10 = record->payload ? json.size() : 0;
    record->value = 1;
  } else if (record) {
    record->value = answer == UF_NO_UPDATE ? 1 : 0;
  }
  checking = false;
  if (record) RunOnMainThreadLater([asked, record] { ShowCheckResult(asked, record); });
}

int32_t OnDownloadProgress(void* context, double total, double done) {
  if (download_cancelled) return kStopDownload;
  auto* dialog = static_cast<UiUpdateDownloadDialog*>(context);
  dialog->SetDone(static_cast<int32_t>(done));
  dialog->SetTotal(static_cast<int32_t>(total));
  return 0;
}

void OnDownloadCancelled(int) {
  download_cancelled = true;
  checking = false;
}

void DownloadFinished(TERObserveData1* record) {
  downloading = false;
  if (UiUpdateListDialog* list = ListDialog()) list->set_has_update(false);
  UiUpdateDownloadDialog* dialog = DownloadDialog();
  if (record->value == kDownloadSaved && dialog) {
    const std::wstring installer = record->wide_text ? record->wide_text : L"";
    dialog->SetInstallerPath(installer);
    dialog->EnterReadyState();
    HandOverToInstaller(installer);
  } else if (record->value == kDownloadFailed && dialog) {
    dialog->EnterFailedState();
  }
  FreeResult(record);
}

void RunDownload() {
  TERObserveData1* record = NewResult();
  if (!record) {
    downloading = false;
    return;
  }
  UiUpdateDownloadDialog* dialog = DownloadDialog();
  if (!update_list) {
    // Nothing to fetch: say so rather than leave the dialog waiting for ever.
    record->value = kDownloadFailed;
  } else {
    const int answer = UFDownloadUpdate(update_list, &OnDownloadProgress, dialog);
    if (answer == UF_OK) {
      record->value = kDownloadSaved;
      record->wide_text = ::_wcsdup(Utf8ToWide(update_list->local_path).c_str());
    } else {
      record->value = answer == UF_STOPPED ? kDownloadStopped : kDownloadFailed;
    }
    UFFreeUFUpdateData(update_list);
    update_list = nullptr;
  }
  RunOnMainThreadLater([record] { DownloadFinished(record); });
  download_cancelled = false;
}

void StartDownload() {
  UiUpdateDownloadDialog* dialog = DownloadDialog();
  if (!dialog || downloading.exchange(true)) return;
  dialog->Reset();
  dialog->SetCancelHook(&OnDownloadCancelled);
  dialog->ShowDescription(Translate(L"downloading-update"));
  dialog->Start();
  RunOnWorker(&RunDownload);
}

void Start(bool asked) {
  if (downloading) return;
  download_cancelled = false;
  UiUpdateListDialog* list = ListDialog();
  if (list && list->has_update()) {
    ShowUpdateList();
    return;
  }
  if (checking.exchange(true)) return;
  RunOnWorker([asked] { RunCheck(asked); });
}

}  // namespace

void StartAutomaticUpdateCheck(TERObserveData1* record) {
  if (record) RunOnMainThread([asked = record->value != 0] { Start(asked); });
}

void StartRequestedUpdateCheck(TERObserveData1* record) { StartAutomaticUpdateCheck(record); }
