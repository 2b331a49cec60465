// Owned icons, menus and kernel handles; movable, not copyable.
#pragma once

#include <windows.h>

// Owns an icon it created or loaded without LR_SHARED (shared icons must not be destroyed).
class CIcon {
 public:
  CIcon() = default;
  explicit CIcon(HICON icon) : m_hIcon(icon) {}
  ~CIcon() { DestroyIcon(); }
  CIcon(const CIcon&) = delete;
  CIcon& operator=(const CIcon&) = delete;
  CIcon(CIcon&& other) noexcept : m_hIcon(other.Detach()) {}
  CIcon& operator=(CIcon&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }

  operator HICON() const { return m_hIcon; }
  bool IsNull() const { return m_hIcon == nullptr; }
  void Attach(HICON icon) {
    if (m_hIcon && m_hIcon != icon) ::DestroyIcon(m_hIcon);
    m_hIcon = icon;
  }
  HICON Detach() {
    HICON icon = m_hIcon;
    m_hIcon = nullptr;
    return icon;
  }
  BOOL DestroyIcon() {
    if (!m_hIcon) return FALSE;
    const BOOL destroyed = ::DestroyIcon(m_hIcon);
    m_hIcon = nullptr;
    return destroyed;
  }
  // Size 0: the system's default icon size.
  HICON LoadIcon(HINSTANCE instance, UINT id, int cx = 0, int cy = 0) {
    Attach(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, cx, cy,
                                           cx == 0 && cy == 0 ? LR_DEFAULTSIZE : 0)));
    return m_hIcon;
  }
  HICON CreateIconIndirect(ICONINFO* info) {
    Attach(::CreateIconIndirect(info));
    return m_hIcon;
  }

  HICON m_hIcon = nullptr;
};

// Owns a menu. A menu attached to a window is destroyed with the window: Detach it first.
class CMenu {
 public:
  CMenu() = default;
  explicit CMenu(HMENU menu) : m_hMenu(menu) {}
  ~CMenu() { DestroyMenu(); }
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;
  CMenu(CMenu&& other) noexcept : m_hMenu(other.Detach()) {}
  CMenu& operator=(CMenu&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }

  operator HMENU() const { return m_hMenu; }
  bool IsNull() const { return m_hMenu == nullptr; }
  void Attach(HMENU menu) {
    if (m_hMenu && m_hMenu != menu) ::DestroyMenu(m_hMenu);
    m_hMenu = menu;
  }
  HMENU Detach() {
    HMENU menu = m_hMenu;
    m_hMenu = nullptr;
    return menu;
  }
  BOOL DestroyMenu() {
    if (!m_hMenu) return FALSE;
    const BOOL destroyed = ::DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
    return destroyed;
  }
  BOOL CreateMenu() {
    Attach(::CreateMenu());
    return m_hMenu != nullptr;
  }
  BOOL CreatePopupMenu() {
    Attach(::CreatePopupMenu());
    return m_hMenu != nullptr;
  }
  BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const wchar_t* text = nullptr) {
    return ::AppendMenuW(m_hMenu, flags, id, text);
  }
  BOOL EnableMenuItem(UINT item, UINT enable) {
    return ::EnableMenuItem(m_hMenu, item, enable) != static_cast<BOOL>(-1);
  }
  DWORD CheckMenuItem(UINT item, UINT check) { return ::CheckMenuItem(m_hMenu, item, check); }
  int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
  BOOL TrackPopupMenu(UINT flags, int x, int y, HWND window) {
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, window, nullptr);
  }

  HMENU m_hMenu = nullptr;
};

// Owns a kernel handle. Null and INVALID_HANDLE_VALUE both mean "none", since different
// functions fail with different ones.
class CHandle {
 public:
  CHandle() = default;
  explicit CHandle(HANDLE handle) : m_h(Normalize(handle)) {}
  ~CHandle() { Close(); }
  CHandle(const CHandle&) = delete;
  CHandle& operator=(const CHandle&) = delete;
  CHandle(CHandle&& other) noexcept : m_h(other.Detach()) {}
  CHandle& operator=(CHandle&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }

  operator HANDLE() const { return m_h; }
  bool IsValid() const { return m_h != nullptr; }
  void Attach(HANDLE handle) {
    handle = Normalize(handle);
    if (m_h && m_h != handle) ::CloseHandle(m_h);
    m_h = handle;
  }
  HANDLE Detach() {
    HANDLE handle = m_h;
    m_h = nullptr;
    return handle;
  }
  void Close() {
    if (m_h) ::CloseHandle(m_h);
    m_h = nullptr;
  }

  HANDLE m_h = nullptr;

 private:
  static HANDLE Normalize(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
  }
};
