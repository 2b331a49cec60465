// Owned icons, menus and kernel handles; movable, not copyable.
#pragma once

#include <windows.h>

#include "winlayer/owned_handle.h"

// Owns an icon it created or loaded without LR_SHARED (shared icons must not be destroyed).
class CIcon : public COwnedHandleT<HICON, &::DestroyIcon> {
 public:
  using COwnedHandleT::COwnedHandleT;

  BOOL DestroyIcon() { return ReleaseHandle(); }
  // Size 0: the system's default icon size.
  HICON LoadIcon(HINSTANCE instance, UINT id, int cx = 0, int cy = 0) {
    return Reset(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, cx,
                                                 cy, cx == 0 && cy == 0 ? LR_DEFAULTSIZE : 0)));
  }
  HICON CreateIconIndirect(ICONINFO* info) { return Reset(::CreateIconIndirect(info)); }
};

// Owns a menu. A menu attached to a window is destroyed with the window: Detach it first.
class CMenu : public COwnedHandleT<HMENU, &::DestroyMenu> {
 public:
  using COwnedHandleT::COwnedHandleT;

  BOOL DestroyMenu() { return ReleaseHandle(); }
  BOOL CreateMenu() { return Reset(::CreateMenu()) != nullptr; }
  BOOL CreatePopupMenu() { return Reset(::CreatePopupMenu()) != nullptr; }
  BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const wchar_t* text = nullptr) {
    return ::AppendMenuW(m_handle, flags, id, text);
  }
  BOOL EnableMenuItem(UINT item, UINT enable) {
    return ::EnableMenuItem(m_handle, item, enable) != static_cast<BOOL>(-1);
  }
  DWORD CheckMenuItem(UINT item, UINT check) { return ::CheckMenuItem(m_handle, item, check); }
  int GetMenuItemCount() const { return ::GetMenuItemCount(m_handle); }
  BOOL TrackPopupMenu(UINT flags, int x, int y, HWND window) {
    return ::TrackPopupMenu(m_handle, flags, x, y, 0, window, nullptr);
  }
};

// Owns a kernel handle. Null and INVALID_HANDLE_VALUE both mean "none", since different
// functions fail with different ones.
class CHandle : public COwnedHandleT<HANDLE, &::CloseHandle> {
 public:
  CHandle() = default;
  explicit CHandle(HANDLE handle) : COwnedHandleT(Normalize(handle)) {}

  bool IsValid() const { return !IsNull(); }
  void Attach(HANDLE handle) { COwnedHandleT::Attach(Normalize(handle)); }
  void Close() { ReleaseHandle(); }

 private:
  static HANDLE Normalize(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
  }
};
