// Drives a running product from scripts:
//   wait [seconds]   until its main window is shown
//   close            ask it to close, as a user would
//   visible          print 1 when the main window is visible, else 0
//   hotkey ID        post WM_HOTKEY ID to the main window (keys can't reach a hidden window)
//   module SCRIPT    hand SCRIPT to the recorder test module's window (WM_COPYDATA)
//   dismiss [S]      press the primary button of a message dialog the main window owns,
//                    waiting up to S seconds (default 20) for one to appear; 1 if none did
//   reachable X Y [S]  wait up to S seconds (default 20) until a click at screen point X,Y
//                    would reach the main window: it is enabled and no other window (a
//                    dialog closing a moment later) covers the point; 1 if it did not
//   moving [S]       wait up to S seconds (default 20) until the main window's thread runs
//                    the system's move loop (a drag was taken up); 1 if it did not
//   windows          list the main window and the top-level windows it owns (for failure
//                    reports: class, title, visible, enabled, rectangle)
//   warm             bring up Wine's desktop and services (they outlive the call, so
//                    callers start them with output going nowhere)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
constexpr wchar_t kTitle[] = L"Pellavorne Screen Recorder";

// Empty for a window that is gone.
std::wstring ClassOf(HWND window) {
  wchar_t class_name[256] = L"";
  ::GetClassNameW(window, class_name, 256);
  return class_name;
}

// The product's frame: its title, and the class name the window layer gives it (another
// program's window may carry the same title).
bool IsProductFrame(HWND window) { return ClassOf(window).rfind(L"Ostrevan:", 0) == 0; }

HWND FindMainWindow(bool visible_only = true) {
  HWND window = nullptr;
  while ((window = ::FindWindowExW(nullptr, window, nullptr, kTitle)) != nullptr)
    if (IsProductFrame(window) && (!visible_only || ::IsWindowVisible(window))) return window;
  return nullptr;
}

void PrintWindow(const char* what, HWND window) {
  wchar_t title[256] = L"";
  ::GetWindowTextW(window, title, 256);
  RECT rect = {};
  ::GetWindowRect(window, &rect);
  std::printf("%s %p class=%ls title=\"%ls\" visible=%d enabled=%d rect=%ld,%ld,%ld,%ld\n", what,
              static_cast<void*>(window), ClassOf(window).c_str(), title,
              ::IsWindowVisible(window) ? 1 : 0, ::IsWindowEnabled(window) ? 1 : 0, rect.left,
              rect.top, rect.right, rect.bottom);
}

void PrintOwnedWindows(HWND main) {
  PrintWindow("main", main);
  ::EnumWindows(
      [](HWND window, LPARAM owner) -> BOOL {
        if (::GetWindow(window, GW_OWNER) == reinterpret_cast<HWND>(owner))
          PrintWindow("owned", window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(main));
}

// Where a module's window should have been: every window under the frame.
void PrintChildWindows(HWND main) {
  ::EnumChildWindows(
      main,
      [](HWND window, LPARAM) -> BOOL {
        PrintWindow("child", window);
        return TRUE;
      },
      0);
}

// A visible, enabled window owned by the main window while the main window is disabled: a
// modal message dialog (the sheet tip is owned and visible too, but holds nothing disabled,
// and the dialog may be announced before it is shown).
HWND FindOwnedDialog(HWND main) {
  if (::IsWindowEnabled(main)) return nullptr;
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
        // The sheet tip's link has the primary button's number.
        HWND primary = ::GetDlgItem(window, 5051);
        if (!primary || ClassOf(primary) == L"SysLink") return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The test module's window, at whatever depth under the frame it was put.
HWND FindRecorderWindow(HWND main) {
  if (!main) return nullptr;
  HWND found = nullptr;
  ::EnumChildWindows(
      main,
      [](HWND window, LPARAM context) -> BOOL {
        if (ClassOf(window) != L"OstrevanRecorderTestModule") return TRUE;
        *reinterpret_cast<HWND*>(context) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: ostrevan_ctl wait [s] | close | visible | hotkey ID | module SCRIPT | dismiss [s] | reachable X Y [s] | moving [s] | windows | warm\n");
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
    HWND main = FindMainWindow(false);
    HWND recorder = FindRecorderWindow(main);
    if (!recorder) {
      std::fprintf(stderr, "no test module window under the main window %p\n",
                   static_cast<void*>(main));
      if (main) {
        PrintOwnedWindows(main);
        PrintChildWindows(main);
      }
      return 1;
    }
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
  if (std::strcmp(argv[1], "reachable") == 0 && argc > 3) {
    const POINT point = {std::atoi(argv[2]), std::atoi(argv[3])};
    const int seconds = argc > 4 ? std::atoi(argv[4]) : 20;
    for (int i = 0; i < seconds * 20; ++i) {
      HWND main = FindMainWindow();
      HWND under = ::WindowFromPoint(point);
      if (main && ::IsWindowEnabled(main) && under &&
          (under == main || ::IsChild(main, under)))
        return 0;
      ::Sleep(50);
    }
    return 1;
  }
  if (std::strcmp(argv[1], "moving") == 0) {
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 20;
    for (int i = 0; i < seconds * 20; ++i) {
      GUITHREADINFO info = {};
      info.cbSize = sizeof(info);
      HWND main = FindMainWindow();
      if (main && ::GetGUIThreadInfo(::GetWindowThreadProcessId(main, nullptr), &info) &&
          (info.flags & GUI_INMOVESIZE))
        return 0;
      ::Sleep(50);
    }
    return 1;
  }
  if (std::strcmp(argv[1], "windows") == 0) {
    HWND main = FindMainWindow(false);
    if (!main) return 1;
    PrintOwnedWindows(main);
    return 0;
  }
  if (std::strcmp(argv[1], "close") == 0) {
    HWND window = FindMainWindow(false);  // also when hidden to the tray
    if (!window) return 1;
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    return 0;
  }
  return 2;
}
