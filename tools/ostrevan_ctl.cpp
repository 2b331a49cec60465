// Drives a running product from scripts:
//   wait [seconds]   until its main window is shown
//   close            ask it to close, as a user would
//   visible          print 1 when the main window is visible, else 0
//   hotkey ID        post WM_HOTKEY ID to the main window (keys can't reach a hidden window)
//   module SCRIPT    hand SCRIPT to the recorder test module's window (WM_COPYDATA)
//   dismiss [S]      press the primary button of a message dialog the main window owns,
//                    waiting up to S seconds (default 20) for one to appear; 1 if none did
//   warm             bring up Wine's desktop and services (they outlive the call, so
//                    callers start them with output going nowhere)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
constexpr wchar_t kTitle[] = L"Pellavorne Screen Recorder";

HWND FindMainWindow(bool visible_only = true) {
  HWND window = nullptr;
  while ((window = ::FindWindowExW(nullptr, window, nullptr, kTitle)) != nullptr)
    if (!visible_only || ::IsWindowVisible(window)) return window;
  return nullptr;
}

// A visible, enabled window owned by the main window: a modal message dialog.
HWND FindOwnedDialog(HWND main) {
  struct Search {
    HWND owner;
    HWND found;
  } search = {main, nullptr};
  ::EnumWindows(
      [](HWND window, LPARAM context) -> BOOL {
        auto* s = reinterpret_cast<Search*>(context);
        if (::GetWindow(window, GW_OWNER) != s->owner || !::IsWindowVisible(window) ||
            !::IsWindowEnabled(window))
          return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindRecorderWindow(HWND main) {
  HWND view = ::FindWindowExW(main, nullptr, nullptr, nullptr);
  return view ? ::FindWindowExW(view, nullptr, L"OstrevanRecorderTestModule", nullptr) : nullptr;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: ostrevan_ctl wait [s] | close | visible | hotkey ID | module SCRIPT | warm\n");
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
  if (std::strcmp(argv[1], "visible") == 0) {
    std::printf("%d\n", FindMainWindow(false) && ::IsWindowVisible(FindMainWindow(false)) ? 1 : 0);
    return 0;
  }
  if (std::strcmp(argv[1], "hotkey") == 0 && argc > 2) {
    HWND window = FindMainWindow(false);
    return window && ::PostMessageW(window, WM_HOTKEY, std::atoi(argv[2]), 0) ? 0 : 1;
  }
  if (std::strcmp(argv[1], "module") == 0 && argc > 2) {
    HWND recorder = FindRecorderWindow(FindMainWindow(false));
    if (!recorder) return 1;
    COPYDATASTRUCT data = {};
    data.cbData = static_cast<DWORD>(std::strlen(argv[2]));
    data.lpData = argv[2];
    ::SendMessageW(recorder, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    return 0;
  }
  if (std::strcmp(argv[1], "dismiss") == 0) {
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 20;
    HWND main = FindMainWindow(false);
    for (int i = 0; main && i < seconds * 20; ++i) {
      if (HWND dialog = FindOwnedDialog(main)) {
        const int kPrimaryButton = 5051;
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(kPrimaryButton, BN_CLICKED), 0);
        for (int j = 0; j < 100 && ::IsWindowVisible(dialog); ++j) ::Sleep(50);
        return 0;
      }
      ::Sleep(50);
    }
    std::fprintf(stderr, "no dialog to dismiss\n");
    return 1;
  }
  if (std::strcmp(argv[1], "close") == 0) {
    HWND window = FindMainWindow(false);  // also when hidden to the tray
    if (!window) return 1;
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    return 0;
  }
  return 2;
}
