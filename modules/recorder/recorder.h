// The recorder as the user meets it: screenshot, start, stop, the alerts for what cannot
// be done, the progress dialog while a recording is saved and the tip when it is. Lives on
// the main thread; its workers hand results back through the dispatch queue.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "capture_session.h"
#include "module_link.h"
#include "recorder_state.h"

class Recorder {
 public:
  explicit Recorder(ModuleLink* link) : link_(link) {}

  void TakeScreenshot();
  void StartRecording();
  void StopRecording();
  // The program is closing: a recording is finished and saved first.
  void FinishBeforeExit();

  RecorderState state() const { return state_; }
  // The running recording's length, or the last one's once it has been saved.
  int64_t ElapsedMs() const { return session_ ? session_->ElapsedMs() : last_elapsed_ms_; }
  int64_t DroppedFrames() const { return session_ ? session_->Stats().dropped : 0; }
  // The preference "recorder:output-dir" when set, else the documents product folder.
  std::wstring OutputFolder() const;
  int FramesPerSecond() const;  // the preference "recorder:fps" (1 to 60), else 30

 private:
  // Opens the output file or tells the user why it cannot be.
  std::unique_ptr<OutputFile> OpenOutput(const std::wstring& name, uint64_t needed_bytes);
  void ReportWriteError(WriteError error, const std::wstring& folder);
  void Refuse(Refusal refusal);
  void OnSessionFailed();
  void OnSaved(bool saved, bool cancelled);
  static void CancelSaving(void* recorder, void* unused);

  ModuleLink* link_;
  std::atomic<RecorderState> state_{RecorderState::kIdle};
  std::unique_ptr<CaptureSession> session_;
  std::thread saver_;
  std::atomic<bool> save_cancelled_{false};
  int64_t last_elapsed_ms_ = 0;
};
