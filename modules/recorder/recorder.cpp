#include "recorder.h"

#include <objbase.h>

#include <functional>
#include <memory>

#include "contracts/ter_user_defaults.h"
#include "png_file.h"
#include "rapidjson/document.h"
#include "recorder_texts.h"
#include "screen_grabber.h"
#include "view/dispatch_queue.h"

namespace {

// Below this much free space a recording or screenshot is refused at once.
constexpr uint64_t kScreenshotSpace = 16ull << 20;
constexpr uint64_t kRecordingSpace = 64ull << 20;

void OnMainThread(std::function<void()> work) {
  DispatchQueue::DispatchAsync(DispatchQueue::DispatchGetMainQueue(),
                               new std::function<void()>(std::move(work)));
}

// A native thread, not a detached std::thread: MinGW's thread library can hand the record of
// a detached thread that is just ending to a later thread, which then starts without its work.
void RunDetached(std::function<void()> work) {
  auto* owned = new std::function<void()>(std::move(work));
  HANDLE thread = ::CreateThread(
      nullptr, 0,
      [](void* context) -> DWORD {
        std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(context));
        (*work)();
        return 0;
      },
      owned, 0, nullptr);
  if (thread)
    ::CloseHandle(thread);
  else
    (*std::unique_ptr<std::function<void()>>(owned))();  // no thread to be had: do it here
}

std::wstring Text(const char* key) { return RecorderTexts().Get(key); }

std::wstring FolderOf(const std::wstring& path) {
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

SYSTEMTIME Now() {
  SYSTEMTIME time;
  ::GetLocalTime(&time);
  return time;
}

}  // namespace

std::wstring Recorder::OutputFolder() const {
  std::wstring folder;
  if (ITerUserDefaults* preferences = StandardUserDefaults()) {
    if (char* text = preferences->GetString("recorder:output-dir", nullptr)) {
      folder = ToUtf16(text);
      std::free(text);
    }
  }
  if (folder.empty()) folder = link_->DocumentsProductFolder();
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

int Recorder::FramesPerSecond() const {
  int64_t fps = 30;
  if (ITerUserDefaults* preferences = StandardUserDefaults())
    fps = preferences->GetInt("recorder:fps", nullptr, 30);
  return fps < 1 || fps > 60 ? 30 : static_cast<int>(fps);
}

void Recorder::ReportWriteError(WriteError error, const std::wstring& folder) {
  const char* key = error == WriteError::kDiskFull ? "disk-full-%s" : "folder-unwritable-%s";
  link_->Alert(FormatText(Text(key), folder));
}

void Recorder::Refuse(Refusal refusal) {
  if (const char* key = RefusalTextKey(refusal)) link_->Alert(Text(key));
}

std::unique_ptr<OutputFile> Recorder::OpenOutput(const std::wstring& name,
                                                 uint64_t needed_bytes) {
  const std::wstring folder = OutputFolder();
  auto file = std::make_unique<OutputFile>();
  if (folder.empty() || !file->Create(folder, name)) {
    ReportWriteError(file->error(), folder);
    return nullptr;
  }
  if (FreeSpace(folder) < needed_bytes) {
    file->Drop();
    ReportWriteError(WriteError::kDiskFull, folder);
    return nullptr;
  }
  return file;
}

void Recorder::TakeScreenshot() {
  auto grabber = std::make_shared<ScreenGrabber>(false);
  if (!grabber->Grab(false)) {
    link_->Alert(Text("capture-failed"));
    return;
  }
  std::shared_ptr<OutputFile> file =
      OpenOutput(DatedName(L"Screenshot", Now(), L".png"), kScreenshotSpace);
  if (!file) return;
  // Encoding a large screen takes a while: off the main thread, answer back on it.
  RunDetached([this, grabber, file] {
    ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    const bool written = WritePng(grabber->pixels(), grabber->width(), grabber->height(),
                                  grabber->stride(), file.get()) &&
                         file->Commit();
    ::CoUninitialize();
    OnMainThread([this, file, written] {
      const std::wstring folder = FolderOf(file->final_path());
      if (written)
        link_->SheetTip(FormatText(Text("screenshot-saved-%s"), folder), folder);
      else
        ReportWriteError(file->error(), folder);
    });
  });
}

void Recorder::StartRecording() {
  const Refusal refusal = CheckStart(state_);
  if (refusal != Refusal::kNone) return Refuse(refusal);
  std::unique_ptr<OutputFile> file =
      OpenOutput(DatedName(L"Recording", Now(), L".mp4"), kRecordingSpace);
  if (!file) return;
  SessionOptions options;
  options.frames_per_second = FramesPerSecond();
  session_ = std::make_unique<CaptureSession>(std::move(file), options);
  if (!session_->Start([this] { OnMainThread([this] { OnSessionFailed(); }); })) {
    session_.reset();
    link_->Alert(Text("encoder-failed"));
    return;
  }
  state_ = RecorderState::kRecording;
}

void Recorder::OnSessionFailed() {
  if (state_ != RecorderState::kRecording || !session_) return;
  const std::wstring folder = FolderOf(session_->file().final_path());
  const WriteError error = session_->file().error();
  session_->Finish();  // the threads end at once; the file is dropped
  session_.reset();
  state_ = RecorderState::kIdle;
  if (error != WriteError::kNone)
    ReportWriteError(error, folder);
  else
    link_->Alert(Text("encoder-failed"));
}

void Recorder::StopRecording() {
  const Refusal refusal = CheckStop(state_);
  if (refusal != Refusal::kNone) return Refuse(refusal);
  state_ = RecorderState::kSaving;
  save_cancelled_ = false;
  const std::wstring path = session_->file().final_path();
  const std::wstring folder = FolderOf(path);

  // The progress dialog runs while the encoder drains and the file is closed.
  rapidjson::Document json(rapidjson::kObjectType);
  auto& allocator = json.GetAllocator();
  auto text = [&](const std::wstring& value) {
    return rapidjson::Value(ToUtf8(value).c_str(), allocator);
  };
  json.AddMember("device_id", "recorder", allocator);
  json.AddMember("output_dir", text(folder), allocator);
  json.AddMember("title", text(Text("saving-recording")), allocator);
  json.AddMember("desc", text(path.substr(folder.size())), allocator);
  json.AddMember("auto_close_when_finish", 1, allocator);
  json.AddMember("show_current_total_number", 1, allocator);
  void* setup[4] = {nullptr, nullptr, this, reinterpret_cast<void*>(&Recorder::CancelSaving)};
  TERObserveData1 start = {};
  start.name = "LIBPLATFORM_COMMAND_START_PROGRESS";
  start.object = setup;
  start.payload = static_cast<rapidjson::Value*>(&json);
  link_->Send(&start);

  if (saver_.joinable()) saver_.join();
  saver_ = std::thread([this] {
    CaptureSession* session = session_.get();
    // Counts for the dialog while the encoder catches up; the capture has stopped by then.
    std::thread progress([this, session] {
      while (state_ == RecorderState::kSaving && !save_cancelled_) {
        const SessionStats stats = session->Stats();
        TERObserveData1 notify = {};
        notify.name = "LIBPLATFORM_COMMAND_NOTIFY_PROGRESS";
        notify.extra2 = static_cast<uint64_t>(stats.encoded);
        notify.extra1 = static_cast<uint64_t>(stats.captured);
        link_->Send(&notify);
        ::Sleep(100);
        if (stats.captured && stats.encoded >= stats.captured) break;
      }
    });
    const bool saved = session->Finish();
    progress.join();
    const SessionStats stats = session->Stats();
    TERObserveData1 finish = {};
    finish.name = "LIBPLATFORM_COMMAND_NOTIFY_PROGRESS_FINISH";
    finish.extra2 = static_cast<uint64_t>(stats.encoded);
    finish.extra1 = static_cast<uint64_t>(stats.captured);
    std::string failure;
    if (!saved && !save_cancelled_) {
      failure = ToUtf8(session->file().final_path());
      finish.value = 1;
      finish.text = &failure[0];
    }
    link_->Send(&finish);
    const bool cancelled = save_cancelled_;
    OnMainThread([this, saved, cancelled] { OnSaved(saved, cancelled); });
  });
}

// Called by the progress dialog on the main thread while the saver may be in Finish.
void Recorder::CancelSaving(void* recorder, void*) {
  auto* self = static_cast<Recorder*>(recorder);
  self->save_cancelled_ = true;
  if (self->session_) self->session_->Abort();
}

void Recorder::OnSaved(bool saved, bool cancelled) {
  if (saver_.joinable()) saver_.join();
  if (!session_) return;
  const std::wstring folder = FolderOf(session_->file().final_path());
  const WriteError error = session_->file().error();
  last_elapsed_ms_ = session_->ElapsedMs();
  session_.reset();
  state_ = RecorderState::kIdle;
  if (saved)
    link_->SheetTip(FormatText(Text("recording-saved-%s"), folder), folder);
  else if (!cancelled)
    error != WriteError::kNone ? ReportWriteError(error, folder)
                               : link_->Alert(Text("encoder-failed"));
}

void Recorder::FinishBeforeExit() {
  if (state_ == RecorderState::kRecording) {
    session_->Finish();
    session_.reset();
    state_ = RecorderState::kIdle;
  }
  if (saver_.joinable()) saver_.join();
}
