#include "app/run.h"

#include <memory>

#include "app/admin_check.h"
#include "app/process_state.h"
#include "app/product_identity.h"
#include "app/startup_layout.h"
#include "winlayer/app_module.h"
#include "winlayer/message_loop.h"
#include "shell/hot_keys.h"
#include "shell/main_frame.h"
#include "shell/tray_icon.h"

namespace {
constexpr UINT kCopyGlobalData = 0x0049;  // WM_COPYGLOBALDATA

float MeasureDpiScale() {
  HDC screen = ::GetDC(nullptr);
  const int logical_pixels = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 96;
  if (screen) ::ReleaseDC(nullptr, screen);
  return DpiScaleFromLogPixels(logical_pixels);
}

// Lets files be dropped onto an elevated window from an unelevated shell.
void AllowDropsFromLowerIntegrity() {
  using ChangeFilter = BOOL(WINAPI*)(UINT, DWORD);
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  auto change = user32 ? reinterpret_cast<ChangeFilter>(reinterpret_cast<void*>(
                             ::GetProcAddress(user32, "ChangeWindowMessageFilter")))
                       : nullptr;
  if (!change) return;
  change(WM_DROPFILES, MSGFLT_ADD);
  change(kCopyGlobalData, MSGFLT_ADD);
}
}  // namespace

int Run(const wchar_t*, int show_command) {
  auto loop = std::make_unique<CMessageLoop>();
  AppModule().AddMessageLoop(loop.get());

  SetDpiScale(MeasureDpiScale());
  RECT frame_rect = MainFrameDefaultRect(DpiScale(), ::GetSystemMetrics(SM_CXSCREEN),
                                         ::GetSystemMetrics(SM_CYSCREEN));

  int exit_code = 0;
  auto frame = std::make_unique<CMainFrame>();
  if (frame->CreateEx(nullptr, frame_rect, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN)) {
    frame->SetWindowText(ProductDisplayNameWide().c_str());
    frame->ShowWindow(show_command);
    // Painted now rather than by the loop: the steps below (the tray icon waits on the shell's
    // process) take tens of milliseconds, and the window would stay blank meanwhile.
    ::RedrawWindow(frame->m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (IsRunningAsAdministrator()) AllowDropsFromLowerIntegrity();

    HICON icon = static_cast<HICON>(::LoadImageW(AppModule().GetResourceInstance(),
                                                 MAKEINTRESOURCEW(128), IMAGE_ICON, 32, 32, 0));
    AddTrayIcon(frame->m_hWnd, icon, ProductDisplayNameWide());
    RegisterHotKeys(frame->m_hWnd);

    exit_code = loop->Run();

    AppModule().RemoveMessageLoop();
    UnregisterHotKeys(frame->m_hWnd);
    RemoveTrayIcon();
    if (icon) ::DestroyIcon(icon);
  } else {
    AppModule().RemoveMessageLoop();
  }
  if (frame->IsWindow()) frame->DestroyWindow();
  frame.reset();
  loop.reset();
  return exit_code;
}
