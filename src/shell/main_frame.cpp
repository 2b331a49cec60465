#include "shell/main_frame.h"

#include <glog/logging.h>

#include <functional>

#include "app/process_state.h"
#include "common/win32/app_module.h"
#include "common/win32/dc.h"
#include "host/application_manifest.h"
#include "host/command_bus.h"
#include "host/platform_handler.h"
#include "host/resource_catalogues.h"
#include "linguo/linguo.h"
#include "shell/hot_keys.h"
#include "view/dispatch_queue.h"

BOOL CMainFrame::PreTranslateMessage(MSG*) {
  // The executable carries no accelerator table, so there is nothing to translate.
  return FALSE;
}

BOOL CMainFrame::OnIdle() { return FALSE; }

LRESULT CMainFrame::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  DispatchQueue::DispatchQueueInit(m_hWnd);
  SetMainWindowHandle(m_hWnd);

  {
    CClientDC device_context(m_hWnd);
    wxLocale* locale = wxGetLocale();
    BuildFontTable(device_context, DpiScale(),
                   locale && locale->IsDefaultCharsetLanguage() != 0);
  }
  LoadModulesAndRegisterPlatformCommands(&PlatformHandler);

  if (CMessageLoop* loop = AppModule().GetMessageLoop()) {
    loop->AddMessageFilter(this);
    loop->AddIdleHandler(this);
  }
  CreateModuleWindows(m_hWnd, m_hWnd);
  // Every receiver is registered by now; from here on sends take no lock.
  CommandBus::Host().Open();
  return 0;
}

LRESULT CMainFrame::OnClose(UINT, WPARAM, LPARAM, BOOL&) {
  TERObserveData1 record = {};
  record.name = "LIBPLATFORM_COMMAND_EXIT_PROGRAMME";
  SendCommand(&record);
  if (record.value != 0) return 0;  // a module objects; everything stays as it is

  WithdrawFromMessageLoop();
  ::PostQuitMessage(0);
  return 0;
}

LRESULT CMainFrame::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  handled = FALSE;
  return 0;
}

LRESULT CMainFrame::OnDispatchQueue(UINT, WPARAM wparam, LPARAM, BOOL&) {
  auto* closure = reinterpret_cast<std::function<void()>*>(wparam);
  if (closure && *closure) {
    (*closure)();
  } else {
    LOG(ERROR) << "Empty closure reached the main window; ignored";
  }
  delete closure;
  return 0;
}

LRESULT CMainFrame::OnHotKey(UINT, WPARAM wparam, LPARAM, BOOL&) {
  SendHotKeyCommand(static_cast<int>(wparam));
  return 0;
}

LRESULT CMainFrame::OnActivation(UINT, WPARAM, LPARAM, BOOL&) {
  Restore();
  return 0;
}

void CMainFrame::Restore() {
  ShowWindow(IsIconic() ? SW_RESTORE : SW_SHOW);
  ::SetForegroundWindow(m_hWnd);
  ::SetActiveWindow(m_hWnd);
}

void CMainFrame::WithdrawFromMessageLoop() {
  if (CMessageLoop* loop = AppModule().GetMessageLoop()) {
    loop->RemoveMessageFilter(this);
    loop->RemoveIdleHandler(this);
  }
}
