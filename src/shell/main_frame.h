// The shell's top-level window and message hub.
#pragma once

#include "common/win32/frame_window.h"
#include "common/win32/message_loop.h"

constexpr UINT kDispatchQueueMessage = WM_USER + 1000;  // 2024

class CMainFrame;
using CMainFrameTraits = CWinTraits<WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                                    WS_EX_APPWINDOW | WS_EX_WINDOWEDGE>;
using CMainFrameBase = CFrameWindowImpl<CMainFrame, CWindow, CMainFrameTraits>;

class CMainFrame
    : public CMainFrameBase,
      public CMessageFilter,
      public CIdleHandler {
 public:
  DECLARE_FRAME_WND_CLASS(nullptr, 128)

  BOOL PreTranslateMessage(MSG* message) override;
  BOOL OnIdle() override;

  BEGIN_MSG_MAP(CMainFrame)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(kDispatchQueueMessage, OnDispatchQueue)
    MESSAGE_HANDLER(WM_HOTKEY, OnHotKey)
    MESSAGE_HANDLER(0x8002, OnActivation)
    CHAIN_MSG_MAP(CMainFrameBase)
  END_MSG_MAP()

  // Shows the frame again (restored when minimised), in front and active.
  void Restore();

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnDispatchQueue(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnHotKey(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnActivation(UINT, WPARAM, LPARAM, BOOL& handled);

  void WithdrawFromMessageLoop();
};
