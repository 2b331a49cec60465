// The main view's content: a title bar (product name; settings, about, update check;
// minimise, maximise toggle, hide to tray, exit) and the recorder's controls (screenshot,
// start, stop, output folder) with a status line that shows the recording time. Every
// action is a command on the bus; the window talks to nothing else.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <memory>
#include <string>

#include "home_layout.h"
#include "module_link.h"
#include "view/kv_img_button.h"
#include "view/kv_switch_button.h"

class HomeView {
 public:
  explicit HomeView(ModuleLink* link) : link_(link) {}
  ~HomeView();

  HWND Create(HWND parent, const RECT& rect);
  void Resize(int width, int height);
  HWND window() const { return window_; }
  void Attach(HWND window) { window_ = window; }  // from the window's first message

  // Window messages, each answered by the handler of the same name.
  LRESULT OnCreate(WPARAM, LPARAM);
  LRESULT OnDestroy(WPARAM, LPARAM);
  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnPaint(WPARAM, LPARAM);
  LRESULT OnEraseBackground(WPARAM, LPARAM);
  LRESULT OnTimer(WPARAM, LPARAM);
  LRESULT OnCommand(WPARAM, LPARAM);
  LRESULT OnDrawItem(WPARAM, LPARAM);
  LRESULT OnLeftButtonDown(WPARAM, LPARAM);
  LRESULT OnLeftButtonDoubleClick(WPARAM, LPARAM);

 private:
  void CreateButtons();
  void ApplyTexts();   // texts and tooltips in the current language, then the layout
  void Relayout();
  void RefreshStatus();
  void FollowLanguage();
  void Run(UINT id);   // what a click on button `id` does
  Gdiplus::Bitmap* Icon(const wchar_t* name);

  ModuleLink* link_;
  HWND window_ = nullptr;
  float scale_ = 1.0f;
  HomeLayout layout_ = {};
  KvImgButton title_buttons_[kTitleButtonCount];
  KvSwitchButton actions_[kActionButtonCount];
  std::unique_ptr<Gdiplus::Bitmap> icons_[kTitleButtonCount][2];
  std::wstring product_name_;
  std::wstring status_;
  int recorder_state_ = -1;
  COLORREF title_colour_ = RGB(38, 44, 58);
  COLORREF body_colour_ = RGB(246, 247, 249);
};
