// Recording 1280x1024 at 30 fps for 10 s with the recorder's own session (capture thread,
// encoder thread, MP4 file), next to a bare capture loop (BitBlt of the same screen area into
// a DIB, nothing else) in the same run: frames dropped, and CPU time per frame for capture
// and for encoding, so the encoder's share is visible. A window animates under the captured
// area so the encoder has real work. Needs a display of at least 1280x1024.
// Usage: recorder_bench [seconds]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "capture_session.h"
#include "output_file.h"
#include "screen_grabber.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 1024;
constexpr int kFps = 30;
int g_tick = 0;

LRESULT CALLBACK AnimationProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_TIMER) {
    ++g_tick;
    ::InvalidateRect(window, nullptr, FALSE);
    return 0;
  }
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(window, &paint);
    // Moving bands and a counter: every frame differs, as on a busy screen.
    for (int band = 0; band < 16; ++band) {
      RECT rect = {0, band * kHeight / 16, kWidth, (band + 1) * kHeight / 16};
      HBRUSH brush = ::CreateSolidBrush(RGB((band * 16 + g_tick * 3) & 255, (g_tick * 5) & 255,
                                            (255 - band * 16) & 255));
      ::FillRect(dc, &rect, brush);
      ::DeleteObject(brush);
    }
    RECT box = {(g_tick * 17) % (kWidth - 200), (g_tick * 11) % (kHeight - 200), 0, 0};
    box.right = box.left + 200;
    box.bottom = box.top + 200;
    ::FillRect(dc, &box, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    wchar_t text[64];
    std::swprintf(text, 64, L"frame %d", g_tick);
    ::TextOutW(dc, 40, 40, text, static_cast<int>(wcslen(text)));
    ::EndPaint(window, &paint);
    return 0;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

HWND ShowAnimation() {
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = &AnimationProc;
  window_class.hInstance = ::GetModuleHandleW(nullptr);
  window_class.lpszClassName = L"RecorderBenchAnimation";
  ::RegisterClassW(&window_class);
  HWND window = ::CreateWindowExW(WS_EX_TOPMOST, window_class.lpszClassName, L"bench", WS_POPUP,
                                  0, 0, kWidth, kHeight, nullptr, nullptr,
                                  window_class.hInstance, nullptr);
  ::ShowWindow(window, SW_SHOWNOACTIVATE);
  ::SetTimer(window, 1, 1000 / kFps, nullptr);
  return window;
}

void PumpFor(DWORD milliseconds) {
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < milliseconds) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
  }
}

int64_t ThreadCpuUs() {
  FILETIME created, exited, kernel, user;
  ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
  auto value = [](const FILETIME& time) {
    return (static_cast<int64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime) / 10;
  };
  return value(kernel) + value(user);
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
  if (::GetSystemMetrics(SM_CXVIRTUALSCREEN) < kWidth ||
      ::GetSystemMetrics(SM_CYVIRTUALSCREEN) < kHeight) {
    std::printf("recorder_bench: needs a screen of at least %dx%d\n", kWidth, kHeight);
    return 1;
  }
  HWND animation = ShowAnimation();
  PumpFor(300);
  const RECT area = {0, 0, kWidth, kHeight};

  // Baseline: BitBlt into a DIB, as many frames as the recording should take.
  const int frames = seconds * kFps;
  int64_t bare_us = 0;
  {
    ScreenGrabber grabber(true, area);
    const int64_t start = ThreadCpuUs();
    for (int i = 0; i < frames; ++i) {
      grabber.Grab(false);
      if (i % 8 == 0) PumpFor(0);
    }
    bare_us = ThreadCpuUs() - start;
  }

  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"recorder-bench-" +
                              std::to_wstring(::GetCurrentProcessId());
  auto file = std::make_unique<OutputFile>();
  if (!file->Create(folder, L"bench.mp4")) {
    std::printf("recorder_bench: cannot write to the temporary folder\n");
    return 1;
  }
  SessionOptions options;
  options.frames_per_second = kFps;
  options.area = area;
  CaptureSession session(std::move(file), options);
  if (!session.Start(nullptr)) {
    std::printf("recorder_bench: the encoder did not start\n");
    return 1;
  }
  PumpFor(static_cast<DWORD>(seconds) * 1000);
  const bool saved = session.Finish();
  const SessionStats stats = session.Stats();
  ::DeleteFileW(session.file().final_path().c_str());
  ::RemoveDirectoryW(folder.c_str());
  ::DestroyWindow(animation);

  const double bare = double(bare_us) / frames;
  const double capture = stats.captured ? double(stats.capture_cpu_us) / stats.captured : 0;
  const double encode = stats.encoded ? double(stats.encode_cpu_us) / stats.encoded : 0;
  const int64_t slots = stats.elapsed_us * kFps / 1000000;
  std::printf("recorder_bench: %dx%d at %d fps for %.1f s, encoder %s, file %s\n", stats.width,
              stats.height, kFps, stats.elapsed_us / 1e6, stats.encoder,
              saved ? "saved" : "NOT saved");
  std::printf("  frames: %lld slots, %lld captured, %lld encoded, %lld dropped\n",
              static_cast<long long>(slots), static_cast<long long>(stats.captured),
              static_cast<long long>(stats.encoded), static_cast<long long>(stats.dropped));
  std::printf("  CPU per frame: bare capture loop %.2f ms | recorder capture %.2f ms, encoding %.2f ms\n",
              bare / 1000, capture / 1000, encode / 1000);
  std::printf("  ratio: recorder capture / bare capture %.2f; (capture + encoding) / bare capture %.2f; "
              "encoder share %.0f%%\n",
              bare > 0 ? capture / bare : 0, bare > 0 ? (capture + encode) / bare : 0,
              capture + encode > 0 ? 100 * encode / (capture + encode) : 0);
  std::printf("  frame budget at %d fps: %.2f ms\n", kFps, 1000.0 / kFps);
  return saved ? 0 : 1;
}
