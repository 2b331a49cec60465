#include "shell/main_frame.h"

#include <glog/logging.h>

#include <functional>

#include "app/process_state.h"
#include "app/single_instance.h"
#include "app/startup_layout.h"
#include "dialogs/ui_progress_dialog.h"
#include "dialogs/ui_sheet_dialog.h"
#include "winlayer/app_module.h"
#include "winlayer/dc.h"
#include "host/application_manifest.h"
#include "host/command_bus.h"
#include "host/platform_handler.h"
#include "host/resource_catalogues.h"
#include "linguo/linguo.h"
#include "shell/hot_keys.h"
#include "shell/language.h"
#include "shell/main_thread_call.h"
#include "shell/shell_state.h"
#include "shell/tray_icon.h"
#include "shell/tray_menu.h"
#include "update/ui_update_download_dialog.h"
#include "update/ui_update_list_dialog.h"
#include "update/update_check.h"
#include "view/kv_themed_shadow_wnd.h"
#include "view/dispatch_queue.h"

namespace {
constexpr int kFrameCorner = 20;
constexpr float kViewCorner = 20.0f;
constexpr int kShadowSize = 12;
}  // namespace

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame() {
  // Nobody may find a dialog that is going away, nor make one for a frame that is.
  SetHostDialogMaker(nullptr);
  SetHostDialog(kHostDialogUpdateDownload, nullptr);
  SetHostDialog(kHostDialogSheetTip, nullptr);
  SetHostDialog(kHostDialogUpdateList, nullptr);
  SetHostDialog(kHostDialogProgress, nullptr);
  DeleteShadow();
  if (MainFrame() == this) SetMainFrame(nullptr);
}

BOOL CMainFrame::PreTranslateMessage(MSG*) {
  // The executable carries no accelerator table, so there is nothing to translate.
  return FALSE;
}

BOOL CMainFrame::OnIdle() {
  // The first idle comes after the first paint: the standing dialogs are made then, unless
  // a command needed one sooner.
  HostDialog(kHostDialogProgress);
  return FALSE;
}

LRESULT CMainFrame::OnCreate(UINT, WPARAM, LPARAM lparam, BOOL&) {
  DispatchQueue::DispatchQueueInit(m_hWnd);
  StartMainThreadCalls();
  SetMainWindowHandle(m_hWnd);
  SetMainFrame(this);

  wxLocale* locale = wxGetLocale();
  BuildFontTable(DpiScale(), locale && locale->IsDefaultCharsetLanguage() != 0);
  StartFontPreload();
  LoadModulesAndRegisterPlatformCommands(&PlatformHandler);

  margin_ = 2.0f;
  title_color_ = CatalogueColor("color:title:background");
  rim_pen_.CreatePen(PS_SOLID, 1, title_color_);
  rim_brush_.CreateSolidBrush(title_color_);

  const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lparam);
  CreateView(creation->cx, creation->cy);
  // Four hidden dialogs cost the first paint tens of milliseconds under Wine; they are made
  // when the window is idle for the first time, or by the first look-up that needs one.
  SetHostDialogMaker(&CMainFrame::MakeStandingDialogs);

  if (CMessageLoop* loop = AppModule().GetMessageLoop()) {
    loop->AddMessageFilter(this);
    loop->AddIdleHandler(this);
  }

  shadow_ = new KvThemedShadowWnd();
  shadow_->Create(m_hWnd);
  shadow_->SetShadowSize(kShadowSize);
  const int round_offset = ScaleLength(2, DpiScale());
  shadow_->SetRoundOffset(round_offset, round_offset);
  shadow_->Prepare();  // rendered on a worker while the rest of the frame is built

  RECT window = {};
  GetWindowRect(&window);
  last_position_ = {window.left, window.top};

  CreateModuleWindows(m_hWnd, view_.m_hWnd ? view_.m_hWnd : m_hWnd);
  SetTimer(kUpdateCheckTimer, 2000);
  // Every receiver is registered by now; from here on sends take no lock.
  CommandBus::Host().Open();
  return 0;
}

void CMainFrame::CreateView(int frame_width, int frame_height) {
  const int margin = static_cast<int>(margin_);
  RECT rect = {margin, margin, frame_width - margin, frame_height - margin};
  if (!view_.Create(m_hWnd, rect, nullptr, OstrevanGUIView::kStyle, 0)) return;
  view_.SetCornerSize(kViewCorner);
  view_.UpdateRegion();
  SetHostWindow(kHostWindowView, view_.m_hWnd);
}

void CMainFrame::MakeStandingDialogs() {
  if (CMainFrame* frame = MainFrame()) frame->CreateStandingDialogs();
}

void CMainFrame::CreateStandingDialogs() {
  const float scale = DpiScale();
  Gdiplus::Bitmap* close_normal = FindImage("close-normal.png");
  Gdiplus::Bitmap* close_pressed = FindImage("close-pressed.png");
  HWND owner = view_.m_hWnd ? view_.m_hWnd : m_hWnd;

  update_download_ = std::make_unique<UiUpdateDownloadDialog>(scale, close_normal, close_pressed);
  update_download_->Create(owner, {ScaleLength(540, scale), ScaleLength(150, scale)});
  SetHostDialog(kHostDialogUpdateDownload, update_download_.get());

  sheet_tip_ = std::make_unique<UiSheetDialog>(scale, close_normal, close_pressed);
  RECT view = {};
  ::GetClientRect(owner, &view);
  sheet_tip_->Create(owner, {view.right - view.left, view.bottom - view.top});
  sheet_tip_->SetTopOffset(32);
  sheet_tip_->Reposition();
  SetHostDialog(kHostDialogSheetTip, sheet_tip_.get());

  update_list_ = std::make_unique<UiUpdateListDialog>(scale, close_normal, close_pressed);
  update_list_->Create(owner, {ScaleLength(500, scale), ScaleLength(360, scale)});
  SetHostDialog(kHostDialogUpdateList, update_list_.get());

  progress_ = std::make_unique<UiProgressDialog>(scale, close_normal, close_pressed);
  progress_->Create(owner, {ScaleLength(500, scale), ScaleLength(160, scale)});
  SetHostDialog(kHostDialogProgress, progress_.get());
}

LRESULT CMainFrame::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
  RECT client = {};
  GetClientRect(&client);
  CPaintDC paint(m_hWnd);
  // Drawn off screen and copied in one step; selections go back before the copy.
  CMemoryDC memory(paint, client);
  CSelectObject select_pen(memory, rim_pen_);
  CSelectObject select_brush(memory, rim_brush_);
  memory.RoundRect(client.left, client.top, client.right, client.bottom, kFrameCorner,
                   kFrameCorner);
  return 0;
}

LRESULT CMainFrame::OnSize(UINT, WPARAM, LPARAM lparam, BOOL& handled) {
  const int width = LOWORD(lparam);
  const int height = HIWORD(lparam);
  if (width != 0 && height != 0) {  // a minimised frame keeps its region
    CRgn region;
    region.CreateRoundRectRgn(0, 0, width, height, kFrameCorner, kFrameCorner);
    // The window frees the region it replaces and owns the new one.
    if (SetWindowRgn(region, FALSE)) region.Detach();
  }
  handled = FALSE;  // on to the frame's default layout
  return 0;
}

LRESULT CMainFrame::OnMove(UINT, WPARAM, LPARAM lparam, BOOL&) {
  const POINT now = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  const int dx = now.x - last_position_.x;
  const int dy = now.y - last_position_.y;
  last_position_ = now;
  if (UiDialog* tip = MadeHostDialog(kHostDialogSheetTip)) tip->MoveBy(dx, dy);
  return 0;
}

LRESULT CMainFrame::OnTimer(UINT, WPARAM wparam, LPARAM, BOOL&) {
  if (wparam != kUpdateCheckTimer) return 0;
  KillTimer(kUpdateCheckTimer);
  HostDialog(kHostDialogUpdateList);  // the check's workers find its dialogs made
  TERObserveData1 record = {};
  record.window = view_.m_hWnd;
  StartAutomaticUpdateCheck(&record);
  return 0;
}

LRESULT CMainFrame::OnClose(UINT, WPARAM, LPARAM, BOOL&) {
  TERObserveData1 record = {};
  record.name = "LIBPLATFORM_COMMAND_EXIT_PROGRAMME";
  SendCommand(&record);
  if (record.value != 0) return 0;  // a module objects; everything stays as it is

  DeleteShadow();
  WithdrawFromMessageLoop();
  ::PostQuitMessage(0);
  return 0;
}

LRESULT CMainFrame::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  // Module threads outlive the frame: from here on their window commands find nothing.
  SetHostDialogMaker(nullptr);
  StopMainThreadCalls();
  SetMainFrame(nullptr);
  SetMainWindowHandle(nullptr);
  DeleteShadow();
  handled = FALSE;
  return 0;
}

LRESULT CMainFrame::OnDispatchQueue(UINT, WPARAM wparam, LPARAM, BOOL&) {
  // Any process can post this message; only closures this process posted are run.
  std::function<void()>* closure = DispatchQueue::ClaimClosure(wparam);
  if (!closure) {
    LOG_FIRST_N(ERROR, 1) << "Message 2024 carrying no closure of this process; ignored";
    return 0;
  }
  if (*closure) {
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

LRESULT CMainFrame::OnTrayCallback(UINT, WPARAM, LPARAM lparam, BOOL&) {
  switch (static_cast<UINT>(lparam)) {
    case WM_LBUTTONDOWN:
      Restore();
      break;
    case WM_RBUTTONUP:
      switch (TrackTrayMenu(m_hWnd)) {
        case kTrayMenuShowWindow:
          Restore();
          break;
        case kTrayMenuExit:
          PostMessage(WM_CLOSE);
          break;
      }
      break;
  }
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
  hidden_to_tray_ = false;
}

void CMainFrame::ToggleMaximize() {
  if (!maximised_) {
    maximised_ = true;
    GetWindowRect(&saved_rect_);
    RECT work = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = work.right - work.left;
    const int height = work.bottom - work.top;
    SetWindowPos(nullptr, 0, 0, width, height, SWP_SHOWWINDOW);
    view_.SetWindowPos(nullptr, 1, 1, width - 4, height - 4, SWP_SHOWWINDOW);
  } else {
    maximised_ = false;
    const int width = saved_rect_.right - saved_rect_.left;
    const int height = saved_rect_.bottom - saved_rect_.top;
    SetWindowPos(nullptr, saved_rect_.left, saved_rect_.top, width, height, SWP_SHOWWINDOW);
    view_.SetWindowPos(nullptr, 1, 1, width - 4, height - 4, SWP_SHOWWINDOW);
  }
}

void CMainFrame::Minimize() {
  if (IsIconic() || hidden_to_tray_) return;
  SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
}

void CMainFrame::RestoreUnlessHidden() {
  if (!hidden_to_tray_) Restore();
}

void CMainFrame::HideToTray() {
  ShowWindow(SW_HIDE);
  ShowTrayTip(Translate(L"tray-tip"));
  hidden_to_tray_ = true;
}

void CMainFrame::DeleteShadow() {
  delete shadow_;
  shadow_ = nullptr;
}

void CMainFrame::WithdrawFromMessageLoop() {
  if (CMessageLoop* loop = AppModule().GetMessageLoop()) {
    loop->RemoveMessageFilter(this);
    loop->RemoveIdleHandler(this);
  }
}
