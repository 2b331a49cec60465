// The recorder module: receives the recorder commands that the hot keys and the home
// module send, and the close question. Everything runs on the thread that sends; the host
// sends these on the main thread.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <map>
#include <string_view>

#include "host/module_api.h"
#include "module_link.h"
#include "recorder.h"
#include "recorder_texts.h"

namespace {

ModuleLink g_link;
Recorder g_recorder(&g_link);
// Asked before each user action rather than at registration: the host answers only once
// its handler is registered, and a language chosen in the settings counts at once.
void FollowLanguage() {
  RecorderTexts().SetLanguage(LanguageFromSubDirectory(g_link.LanguageSubDirectory()));
}

void Screenshot(TERObserveData1*) {
  FollowLanguage();
  g_recorder.TakeScreenshot();
}
void Start(TERObserveData1*) {
  FollowLanguage();
  g_recorder.StartRecording();
}
void Stop(TERObserveData1*) {
  FollowLanguage();
  g_recorder.StopRecording();
}
// Never refuses the close: a running recording is saved first.
void Exit(TERObserveData1*) { g_recorder.FinishBeforeExit(); }

// value: 0 idle, 1 recording, 2 saving; extra1: milliseconds recorded (the last recording's
// when idle); extra2: frames dropped so far.
void Status(TERObserveData1* record) {
  record->value = static_cast<int64_t>(g_recorder.state());
  record->extra1 = static_cast<uint64_t>(g_recorder.ElapsedMs());
  record->extra2 = static_cast<uint64_t>(g_recorder.DroppedFrames());
}

// wide_text: the output folder, a malloc'ed copy the sender frees.
void OutputFolder(TERObserveData1* record) {
  record->wide_text = ::_wcsdup(g_recorder.OutputFolder().c_str());
}

void OpenOutputFolder(TERObserveData1*) {
  const std::wstring folder = g_recorder.OutputFolder();
  ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  ::ShellExecuteW(nullptr, L"open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

using Handler = void (*)(TERObserveData1*);

const std::map<std::string_view, Handler>& Handlers() {
  static const std::map<std::string_view, Handler> table = {
      {"LIBRECORDER_COMMAND_START_SCREEN_CAPTURE", &Screenshot},
      {"LIBRECORDER_COMMAND_START_SCREEN_RECORDER", &Start},
      {"LIBRECORDER_COMMAND_STOP_SCREEN_RECORDER", &Stop},
      {"LIBRECORDER_COMMAND_GET_STATUS", &Status},
      {"LIBRECORDER_COMMAND_GET_OUTPUT_DIR", &OutputFolder},
      {"LIBRECORDER_COMMAND_OPEN_OUTPUT_DIR", &OpenOutputFolder},
      {"LIBPLATFORM_COMMAND_EXIT_PROGRAMME", &Exit},
  };
  return table;
}

void Receive(TERObserveData1* record) {
  if (!record || !record->name) return;
  const auto found = Handlers().find(record->name);
  if (found != Handlers().end()) found->second(record);
}

}  // namespace

TER_MODULE_EXPORT int RegisterModule(ModuleChannel* channel) {
  g_link.Attach(channel);
  channel->receive = &Receive;
  return 1;
}
