#include "capture_session.h"

#include <objbase.h>
#include <timeapi.h>

#include <future>

#include "video_writer.h"

namespace {

int64_t NowUs() {
  static const int64_t frequency = [] {
    LARGE_INTEGER value;
    ::QueryPerformanceFrequency(&value);
    return value.QuadPart;
  }();
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  return now.QuadPart / frequency * 1000000 + now.QuadPart % frequency * 1000000 / frequency;
}

int64_t ThreadCpuUs() {
  FILETIME created, exited, kernel, user;
  if (!::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
  auto value = [](const FILETIME& time) {
    return (static_cast<int64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime) / 10;
  };
  return value(kernel) + value(user);
}

}  // namespace

CaptureSession::CaptureSession(std::unique_ptr<OutputFile> file, const SessionOptions& options)
    : file_(std::move(file)), options_(options), clock_(options.frames_per_second) {
  stop_event_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

CaptureSession::~CaptureSession() {
  if (!finished_) Cancel();
  if (stop_event_) ::CloseHandle(stop_event_);
}

bool CaptureSession::Start(FailureCallback on_failure) {
  on_failure_ = std::move(on_failure);
  for (int i = 0; i < options_.pool_size; ++i) {
    auto frame = std::make_unique<Frame>();
    frame->grabber = std::make_unique<ScreenGrabber>(true, options_.area);
    if (!frame->grabber->ok()) return false;
    free_.push_back(frame.get());
    frames_.push_back(std::move(frame));
  }
  if (!stop_event_) return false;
  // The writer is made on the encoder thread (COM belongs to the thread); Start waits only
  // for its answer.
  std::promise<bool> began;
  std::future<bool> answer = began.get_future();
  encode_thread_ = std::thread([this, &began] {
    ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    const ScreenGrabber& first = *frames_.front()->grabber;
    std::unique_ptr<VideoWriter> writer = BeginVideoWriter(
        file_.get(), first.width(), first.height(), options_.frames_per_second);
    if (writer) encoder_name_ = writer->name();
    began.set_value(writer != nullptr);
    if (writer) {
      writer_ok_ = true;
      EncodeLoopWith(writer.get());
    }
    writer.reset();
    ::CoUninitialize();
  });
  if (!answer.get()) {
    encode_thread_.join();
    finished_ = true;
    file_->Drop();
    return false;
  }
  start_ticks_ = NowUs();
  capture_thread_ = std::thread([this] { CaptureLoop(); });
  return true;
}

void CaptureSession::CaptureLoop() {
  ::timeBeginPeriod(1);
  const int64_t cpu_start = ThreadCpuUs();
  int64_t last = -1;
  int64_t elapsed = 0;
  for (;;) {
    elapsed = NowUs() - start_ticks_;
    const FrameSlot slot = clock_.Next(last, elapsed);
    if (slot.wait_us > 0) {
      const DWORD wait_ms = static_cast<DWORD>((slot.wait_us + 999) / 1000);
      if (::WaitForSingleObject(stop_event_, wait_ms) == WAIT_OBJECT_0) break;
      continue;
    }
    dropped_ += slot.missed;
    last = slot.index;
    Frame* frame = nullptr;
    {
      std::lock_guard<std::mutex> guard(lock_);
      if (!free_.empty()) {
        frame = free_.front();
        free_.pop_front();
      }
    }
    if (frame && frame->grabber->Grab(options_.draw_cursor)) {
      frame->slot = slot.index;
      std::lock_guard<std::mutex> guard(lock_);
      ready_.push_back(frame);
      ++captured_;
      queued_.notify_one();
    } else {
      ++dropped_;
      if (frame) {
        std::lock_guard<std::mutex> guard(lock_);
        free_.push_back(frame);
      }
    }
    if (::WaitForSingleObject(stop_event_, 0) == WAIT_OBJECT_0) break;
  }
  elapsed = NowUs() - start_ticks_;
  elapsed_us_ = elapsed;
  capture_cpu_us_ = ThreadCpuUs() - cpu_start;
  ::timeEndPeriod(1);
  std::lock_guard<std::mutex> guard(lock_);
  // The video lasts until the stop, not just until the last frame began.
  const int64_t stop_slot = elapsed * options_.frames_per_second / 1000000;
  end_slot_ = stop_slot > last + 1 ? stop_slot : last + 1;
  capture_done_ = true;
  queued_.notify_one();
}

void CaptureSession::EncodeLoopWith(VideoWriter* writer) {
  const int64_t cpu_start = ThreadCpuUs();
  bool ok = true;
  for (;;) {
    Frame* frame = nullptr;
    {
      std::unique_lock<std::mutex> guard(lock_);
      queued_.wait(guard, [this] { return !ready_.empty() || capture_done_ || cancelled_; });
      if (cancelled_) break;
      if (ready_.empty()) break;  // capture is done and everything is written
      frame = ready_.front();
      ready_.pop_front();
    }
    const ScreenGrabber& grabber = *frame->grabber;
    const BgrxImage image = {grabber.pixels(), grabber.width(), grabber.height(),
                             grabber.stride()};
    ok = writer->AddFrame(image, frame->slot);
    {
      std::lock_guard<std::mutex> guard(lock_);
      free_.push_back(frame);
    }
    if (!ok) break;
    ++encoded_;
  }
  if (ok && !cancelled_) {
    int64_t end_slot;
    {
      std::lock_guard<std::mutex> guard(lock_);
      end_slot = end_slot_;
    }
    ok = writer->Finish(end_slot);
  }
  encode_cpu_us_ = ThreadCpuUs() - cpu_start;
  if (!ok && !cancelled_) {
    failed_ = true;
    ::SetEvent(stop_event_);
    if (on_failure_) on_failure_();
  }
}

void CaptureSession::StopThreads(bool cancel) {
  if (cancel) {
    cancelled_ = true;
    std::lock_guard<std::mutex> guard(lock_);
    queued_.notify_one();
  }
  if (stop_event_) ::SetEvent(stop_event_);
  if (capture_thread_.joinable()) capture_thread_.join();
  if (encode_thread_.joinable()) encode_thread_.join();
}

bool CaptureSession::Finish() {
  if (finished_) return false;
  StopThreads(false);
  finished_ = true;
  if (failed_ || cancelled_ || !writer_ok_) {
    file_->Drop();
    return false;
  }
  return file_->Commit();
}

void CaptureSession::Cancel() {
  if (finished_) return;
  StopThreads(true);
  finished_ = true;
  file_->Drop();
}

void CaptureSession::Abort() {
  cancelled_ = true;
  {
    std::lock_guard<std::mutex> guard(lock_);
    queued_.notify_one();
  }
  if (stop_event_) ::SetEvent(stop_event_);
}

int64_t CaptureSession::ElapsedMs() const {
  if (!start_ticks_) return 0;
  const int64_t stopped = elapsed_us_;
  return (stopped ? stopped : NowUs() - start_ticks_) / 1000;
}

SessionStats CaptureSession::Stats() const {
  SessionStats stats;
  stats.captured = captured_;
  stats.dropped = dropped_;
  stats.encoded = encoded_;
  stats.capture_cpu_us = capture_cpu_us_;
  stats.encode_cpu_us = encode_cpu_us_;
  stats.elapsed_us = elapsed_us_;
  if (!frames_.empty()) {
    stats.width = frames_.front()->grabber->width();
    stats.height = frames_.front()->grabber->height();
  }
  stats.encoder = encoder_name_;
  return stats;
}
