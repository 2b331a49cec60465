// The base of every shell dialog: a borderless white pop-up with a grey frame, a coloured
// title band with an optional title and a close button, a drop shadow, dragging from
// anywhere, centring on the owner, DPI scaling and double-buffered painting. Subclasses
// paint below the band in DrawContent and add their controls in SetUp.
//
// Modal: set owner and size through the subclass's set-up call, then DoModal.
// Modeless: Create once (hidden), then Show(5) / Show(0); a shown dialog disables its owner.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <gdiplus.h>

#include <atomic>
#include <string>

#include "dialogs/dialog_ids.h"
#include "dialogs/ter_observer.h"
#include "view/kv_img_button.h"
#include "winlayer/dialog.h"

class KvThemedShadowWnd;

class UiDialog : public CDialogImpl<UiDialog>, public TERSubject, public TERObserver {
 public:
  // Template 201 of the executable's resources.
  static const DLGTEMPLATE* GetDialogTemplate();

  UiDialog(float scale, Gdiplus::Bitmap* close_normal, Gdiplus::Bitmap* close_pressed);
  ~UiDialog() override;

  BEGIN_MSG_MAP(UiDialog)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_PAINT, OnPaintMessage)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLeftButtonDown)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnControlColor)
    MESSAGE_HANDLER(WM_CTLCOLORDLG, OnControlColor)
    COMMAND_ID_HANDLER(kCloseButtonId, OnCloseButton)
    REFLECT_NOTIFICATIONS()
  END_MSG_MAP()

  // Modeless creation from template 201, hidden until Show.
  virtual BOOL Create(HWND owner, SIZE size);
  // Shows or hides dialog and shadow; 5 disables the owner, anything else enables it.
  virtual void Show(int command);
  virtual void Reset();          // a new operation starts: not finished, not closed
  virtual void MarkFinished();   // the operation ended
  virtual void MoveBy(int dx, int dy);
  virtual void OnPaint();
  // Content below the title band, in client coordinates of the memory context.
  virtual void DrawContent(HDC dc, const RECT& content);

  INT_PTR DoModal(HWND owner, LPARAM init = 0);
  // Ends a modal dialog with `code`; the shadow goes first so it never outlives the window.
  BOOL EndDialog(int code);

  int Scale(int length) const;
  // One line of text in `rect`, never wrapped: a measured width that rounds down by a fraction
  // of a pixel must not push the last letter onto a line of its own.
  static void DrawOneLine(Gdiplus::Graphics* graphics, const Gdiplus::RectF& rect,
                          const std::wstring& text, Gdiplus::Font* font, Gdiplus::ARGB color,
                          bool centred);
  float scale() const { return scale_; }
  bool finished() const { return finished_; }
  bool closed() const { return closed_; }
  HWND owner() const { return owner_; }
  SIZE size() const { return size_; }
  int title_height() const { return title_height_; }
  COLORREF title_background() const { return title_background_; }
  void SetTitle(const std::wstring& title) { title_ = title; }
  const std::wstring& title() const { return title_; }

 protected:
  // Runs after the shared set-up, inside WM_INITDIALOG.
  virtual void SetUp() {}
  // The close button sits `top` pixels down; a dialog without the title band calls this.
  void PlaceCloseButton(int top, COLORREF background, bool visible);
  void SetOwnerAndSize(HWND owner, SIZE size) {
    owner_ = owner;
    size_ = size;
  }
  // A fixed band colour in place of the catalogue's title colour.
  void SetTitleBackground(COLORREF color) {
    title_background_ = color;
    custom_title_background_ = true;
  }
  void SetFinished(bool finished) { finished_ = finished; }
  // Sets finished; true when this call was the one that did it.
  bool TakeFinish() { return !finished_.exchange(true); }
  void SetClosed(bool closed) { closed_ = closed; }
  // Centres on the owner's window rectangle at the dialog's size; hides the window.
  void CentreOnOwner();
  void DeleteShadow();

  KvImgButton close_button_;
  Gdiplus::Bitmap* close_normal_ = nullptr;   // not owned
  Gdiplus::Bitmap* close_pressed_ = nullptr;  // not owned
  Gdiplus::Font* title_font_ = nullptr;       // catalogue's

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPaintMessage(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnLeftButtonDown(UINT, WPARAM, LPARAM lparam, BOOL&);
  LRESULT OnControlColor(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCloseButton(WORD, WORD, HWND, BOOL&);

  HWND owner_ = nullptr;
  SIZE size_ = {};
  // Written by progress notifications from any thread.
  std::atomic<bool> finished_{true};
  std::atomic<bool> closed_{true};
  float scale_ = 1.0f;
  KvThemedShadowWnd* shadow_ = nullptr;
  std::wstring title_;
  COLORREF title_background_ = 0;
  int title_height_ = 0;
  bool custom_title_background_ = false;
};
