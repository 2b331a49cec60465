// The shell's top-level window and message hub: a borderless rounded pop-up with a thin rim
// and a drop shadow, filled but for a 2-pixel margin by the view that holds the modules.
#pragma once

#include "winlayer/frame_window.h"
#include "winlayer/gdi.h"
#include "winlayer/message_loop.h"
#include "app/single_instance.h"
#include "shell/ostrevan_view.h"

#include <memory>

class KvThemedShadowWnd;
class UiProgressDialog;
class UiSheetDialog;
class UiUpdateDownloadDialog;
class UiUpdateListDialog;

constexpr UINT kDispatchQueueMessage = WM_USER + 1000;  // 2024
constexpr UINT_PTR kUpdateCheckTimer = 2;

class CMainFrame;
using CMainFrameTraits = CWinTraits<WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                                    WS_EX_APPWINDOW | WS_EX_WINDOWEDGE>;
using CMainFrameBase = CFrameWindowImpl<CMainFrame, CWindow, CMainFrameTraits>;

class CMainFrame : public CMainFrameBase, public CMessageFilter, public CIdleHandler {
 public:
  DECLARE_FRAME_WND_CLASS(nullptr, 128)

  CMainFrame();
  ~CMainFrame() override;

  BOOL PreTranslateMessage(MSG* message) override;
  BOOL OnIdle() override;

  OstrevanGUIView& view() { return view_; }
  bool hidden_to_tray() const { return hidden_to_tray_; }
  bool maximised() const { return maximised_; }

  // Window-state operations; on the main thread only (commands from other threads are
  // brought there).
  void Restore();               // shown (restored when minimised), in front, active
  void ToggleMaximize();        // work area of the primary monitor, and back
  void Minimize();              // unless minimised or hidden to the tray
  void RestoreUnlessHidden();   // a window the user sent to the tray stays there
  void HideToTray();            // hidden, with the tray balloon

  BEGIN_MSG_MAP(CMainFrame)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_MOVE, OnMove)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(kDispatchQueueMessage, OnDispatchQueue)
    MESSAGE_HANDLER(WM_HOTKEY, OnHotKey)
    MESSAGE_HANDLER(WM_APP + 1, OnTrayCallback)
    MESSAGE_HANDLER(kActivationMessage, OnActivation)
    CHAIN_MSG_MAP(CMainFrameBase)
  END_MSG_MAP()

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM lparam, BOOL&);
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnSize(UINT, WPARAM, LPARAM lparam, BOOL& handled);
  LRESULT OnMove(UINT, WPARAM, LPARAM lparam, BOOL&);
  LRESULT OnTimer(UINT, WPARAM wparam, LPARAM, BOOL&);
  LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnDispatchQueue(UINT, WPARAM wparam, LPARAM, BOOL&);
  LRESULT OnHotKey(UINT, WPARAM wparam, LPARAM, BOOL&);
  LRESULT OnTrayCallback(UINT, WPARAM, LPARAM lparam, BOOL&);
  LRESULT OnActivation(UINT, WPARAM, LPARAM, BOOL&);

  void CreateView(int frame_width, int frame_height);
  static void MakeStandingDialogs();
  void CreateStandingDialogs();
  void DeleteShadow();
  void WithdrawFromMessageLoop();

  OstrevanGUIView view_;
  POINT last_position_ = {};
  KvThemedShadowWnd* shadow_ = nullptr;
  CPen rim_pen_;
  CBrush rim_brush_;
  float margin_ = 2.0f;
  COLORREF title_color_ = 0;
  bool hidden_to_tray_ = false;
  bool maximised_ = false;
  RECT saved_rect_ = {};
  // Standing dialogs, entered in the host dialog table; they live as long as the frame.
  std::unique_ptr<UiUpdateDownloadDialog> update_download_;
  std::unique_ptr<UiSheetDialog> sheet_tip_;
  std::unique_ptr<UiUpdateListDialog> update_list_;
  std::unique_ptr<UiProgressDialog> progress_;
};
