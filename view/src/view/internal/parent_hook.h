// Puts a listener in front of another window's procedure.
//
// The hook is a code stub of its own (see winlayer/thunk.h) that knows its record, so the
// hooked window's GWLP_USERDATA stays the window's, and any number of hooks (two shadows, or
// a shadow and a subclasser) can sit on one window in any order.
#pragma once

#include <windows.h>

namespace vantorel {

class ParentHookListener {
 public:
  // Called for every message of the hooked window, before the window's own procedure.
  virtual void OnParentMessage(HWND parent, UINT message, WPARAM wparam) = 0;

 protected:
  ~ParentHookListener() = default;
};

class ParentHook {
 public:
  ParentHook() = default;
  ~ParentHook() { Remove(); }
  ParentHook(const ParentHook&) = delete;
  ParentHook& operator=(const ParentHook&) = delete;

  // False when the window is not one of this process or no stub can be had.
  bool Install(HWND parent, ParentHookListener* listener);
  // Takes this hook out of the window's chain: the window, or a hook of ours installed over
  // this one, calls the previous procedure again. Under a foreign hook the stub stays behind,
  // for good, as a plain forwarder that hook can still call through.
  void Remove();
  bool IsInstalled() const { return record_ != nullptr; }

  struct Record;  // opaque: one per installed stub

 private:
  // The stub calls this with the record in place of the window handle.
  static LRESULT CALLBACK Forward(HWND record, UINT message, WPARAM wparam, LPARAM lparam);

  Record* record_ = nullptr;
};

}  // namespace vantorel
