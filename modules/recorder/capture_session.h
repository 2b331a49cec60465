// One recording: a capture thread takes the screen at every frame slot into a small pool of
// bitmaps, an encoder thread turns them into the video file. A slot that finds no free
// bitmap (the encoder is behind) or that passes while a capture is late is dropped and
// counted; the capture thread never waits for the encoder, and nobody waits for either
// except Finish.
#pragma once

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "frame_clock.h"
#include "output_file.h"
#include "screen_grabber.h"

struct SessionStats {
  int64_t captured = 0;
  int64_t dropped = 0;
  int64_t encoded = 0;
  int64_t capture_cpu_us = 0;  // CPU time of the capture thread
  int64_t encode_cpu_us = 0;   // CPU time of the encoder thread
  int64_t elapsed_us = 0;      // from the first slot to the stop
  int width = 0;
  int height = 0;
  const char* encoder = "";
};

struct SessionOptions {
  int frames_per_second = 30;
  RECT area = {0, 0, 0, 0};  // empty: the whole virtual screen
  bool draw_cursor = true;
  int pool_size = 4;
};

class CaptureSession {
 public:
  // Called once, on the encoder thread, when writing fails; the session stops by itself.
  using FailureCallback = std::function<void()>;

  CaptureSession(std::unique_ptr<OutputFile> file, const SessionOptions& options);
  ~CaptureSession();  // cancels a session still running
  CaptureSession(const CaptureSession&) = delete;
  CaptureSession& operator=(const CaptureSession&) = delete;

  bool Start(FailureCallback on_failure);
  // Ends capturing; the encoder drains what is queued, finishes the video and commits the
  // file. Blocks until done; true when the file is complete under its final name.
  bool Finish();
  // Abandons the session: nothing is written under the final name.
  void Cancel();
  // Asks a Finish running on another thread to abandon the file; returns at once.
  void Abort();

  int64_t ElapsedMs() const;
  SessionStats Stats() const;
  const OutputFile& file() const { return *file_; }
  bool failed() const { return failed_; }

 private:
  struct Frame {
    std::unique_ptr<ScreenGrabber> grabber;
    int64_t slot = 0;
  };

  void CaptureLoop();
  void EncodeLoopWith(class VideoWriter* writer);
  void StopThreads(bool cancel);

  std::unique_ptr<OutputFile> file_;
  SessionOptions options_;
  FrameClock clock_;
  FailureCallback on_failure_;
  std::vector<std::unique_ptr<Frame>> frames_;

  std::mutex lock_;
  std::condition_variable queued_;
  std::deque<Frame*> free_;
  std::deque<Frame*> ready_;
  bool capture_done_ = false;
  int64_t end_slot_ = 0;

  HANDLE stop_event_ = nullptr;
  std::atomic<bool> cancelled_{false};
  std::atomic<bool> failed_{false};
  std::atomic<bool> writer_ok_{false};
  std::atomic<int64_t> start_ticks_{0};
  std::atomic<int64_t> captured_{0};
  std::atomic<int64_t> dropped_{0};
  std::atomic<int64_t> encoded_{0};
  std::atomic<int64_t> capture_cpu_us_{0};
  std::atomic<int64_t> encode_cpu_us_{0};
  std::atomic<int64_t> elapsed_us_{0};
  std::atomic<const char*> encoder_name_{""};
  std::thread capture_thread_;
  std::thread encode_thread_;
  bool finished_ = false;
};
