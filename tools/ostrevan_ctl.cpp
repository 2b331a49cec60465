// Drives a running product from scripts: "wait [seconds]" until its main window is shown,
// "close" to ask it to close as a user would; "warm" brings up Wine's desktop and services
// (they outlive the call, so callers start them with output going nowhere).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
constexpr wchar_t kTitle[] = L"Pellavorne Screen Recorder";

HWND FindMainWindow() {
  HWND window = nullptr;
  while ((window = ::FindWindowExW(nullptr, window, nullptr, kTitle)) != nullptr)
    if (::IsWindowVisible(window)) return window;
  return nullptr;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: ostrevan_ctl wait [seconds] | close | warm\n");
    return 2;
  }
  if (std::strcmp(argv[1], "wait") == 0) {
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 30;
    for (int i = 0; i < seconds * 20; ++i) {
      if (FindMainWindow()) return 0;
      ::Sleep(50);
    }
    std::fprintf(stderr, "the main window did not appear\n");
    return 1;
  }
  if (std::strcmp(argv[1], "warm") == 0) {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"warm", WS_POPUP, 0, 0, 1, 1, nullptr,
                                    nullptr, nullptr, nullptr);
    if (window) ::DestroyWindow(window);
    return window ? 0 : 1;
  }
  if (std::strcmp(argv[1], "close") == 0) {
    HWND window = FindMainWindow();
    if (!window) return 1;
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    return 0;
  }
  return 2;
}
