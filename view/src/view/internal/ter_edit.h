// The window behind KvEdit: a single-line "EDIT" with a white background and an Enter
// callback. The parent must reflect WM_CTLCOLOREDIT / WM_CTLCOLORSTATIC for the white.
//
// Notifications to the parent: the system edit's own; Enter reaches the owner only through
// the callback.
#pragma once

#include <functional>

#include "view/internal/control_window.h"

class TEREdit : public TERControlWindow<TEREdit> {
 public:
  DECLARE_WND_SUPERCLASS(nullptr, L"EDIT")

  TEREdit() = default;
  ~TEREdit() override = default;

  void SetEnterCallback(const std::function<void()>& callback) { m_onEnter = callback; }

  BEGIN_MSG_MAP(TEREdit)
    MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
    MESSAGE_HANDLER(OCM_CTLCOLOREDIT, OnColor)
    MESSAGE_HANDLER(OCM_CTLCOLORSTATIC, OnColor)
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

 private:
  LRESULT OnKeyDown(UINT, WPARAM key, LPARAM, BOOL& handled);
  LRESULT OnColor(UINT, WPARAM dc, LPARAM, BOOL&);

  std::function<void()> m_onEnter;
};
