#include "dialogs/message_commands.h"

#include <algorithm>
#include <functional>
#include <memory>

#include "app/process_state.h"
#include "app/startup_layout.h"
#include "app/terrace_text.h"
#include "dialogs/link_alert_payload.h"
#include "dialogs/main_thread.h"
#include "dialogs/ui_alert_dialog.h"
#include "host/resource_catalogues.h"
#include "shell/language.h"

namespace {

std::wstring WideArgument(const TERObserveData1* record) {
  return record->wide_text ? std::wstring(record->wide_text) : std::wstring();
}

int WidthArgument(const TERObserveData1* record) {
  return static_cast<int>(std::clamp<int64_t>(record->value, 0, 0x7FFF));
}

void RunLinkAlert(const std::string& json, const std::shared_ptr<TERLinkHandler>& handler) {
  LinkAlertPayload payload;
  if (!ParseLinkAlertPayload(json.data(), json.size(), &payload)) return;
  const float scale = DpiScale();
  UiLinkAlertDialog dialog(scale, FindImage("close-normal.png"), FindImage("close-pressed.png"),
                           FindImage("alert.png"), 0, false, Translate(L"cancel"),
                           Translate(L"ok"));
  dialog.SetSubTitle(Utf8ToWide(payload.sub_title));
  dialog.SetTitle(Utf8ToWide(payload.title));
  if (handler && *handler) {
    dialog.SetLinkHandler([handler](const std::wstring& address) { return (*handler)(address); });
  }
  const SIZE size = BoundedMessageDialogSize(payload.width, payload.height, scale);
  const std::wstring ok = Translate(L"ok");
  dialog.SetUpDialog(MainWindowHandle(), size, Utf8ToWide(payload.link), ok.c_str());
  dialog.DoModal(MainWindowHandle());
}

}  // namespace

SIZE BoundedMessageDialogSize(int width, int height, float scale) {
  return {std::max(width, ScaleLength(200, scale)), std::max(height, ScaleLength(100, scale))};
}

int RunMessageDialog(const std::wstring& message, int width, bool confirm) {
  const float scale = DpiScale();
  UiAlertDialog dialog(scale, FindImage("close-normal.png"), FindImage("close-pressed.png"),
                       FindImage("alert.png"), confirm ? 1 : 0, true, Translate(L"cancel"),
                       Translate(L"ok"));
  dialog.SetFitToContent();
  SIZE size = BoundedMessageDialogSize(width, 0, scale);
  size.cy = 0;  // fitted to the content
  dialog.SetUpDialog(MainWindowHandle(), size, message);
  return static_cast<int>(dialog.DoModal(MainWindowHandle()));
}

void OpenAlertMessageCommand(TERObserveData1* record) {
  RunOnMainThreadLater(
      [message = WideArgument(record), width = WidthArgument(record)] {
        RunMessageDialog(message, width, false);
      });
}

void OpenConfirmMessageCommand(TERObserveData1* record) {
  // The callback is ours from here on: called once with the answer, on every path that shows
  // the dialog, and deleted.
  std::shared_ptr<TERConfirmCallback> callback(static_cast<TERConfirmCallback*>(record->object));
  auto answer = [callback](const std::wstring& message, int width) {
    const int confirmed = RunMessageDialog(message, width, true) == kPrimaryButtonId ? 1 : 0;
    if (callback && *callback) (*callback)(confirmed);
    return confirmed;
  };
  if (OnMainThread()) {
    record->value = answer(WideArgument(record), WidthArgument(record));
    return;
  }
  RunOnMainThreadLater([answer, message = WideArgument(record), width = WidthArgument(record)] {
    answer(message, width);
  });
}

void OpenLinkAlertMessageCommand(TERObserveData1* record) {
  std::shared_ptr<TERLinkHandler> handler(static_cast<TERLinkHandler*>(record->object));
  if (!record->payload) return;
  RunOnMainThreadLater([json = std::string(static_cast<const char*>(record->payload)), handler] {
    RunLinkAlert(json, handler);
  });
}
