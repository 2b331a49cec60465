// The ownership mechanics every owned Win32 handle shares: one owner at a time (movable,
// not copyable), and the previous handle released whenever another takes its place.
#pragma once

#include <windows.h>

// Release is the function that gives the handle back (DeleteObject, DestroyIcon, ...).
template <class THandle, BOOL(WINAPI* Release)(THandle)>
class COwnedHandleT {
 public:
  COwnedHandleT() = default;
  explicit COwnedHandleT(THandle handle) : m_handle(handle) {}
  ~COwnedHandleT() { ReleaseHandle(); }
  COwnedHandleT(const COwnedHandleT&) = delete;
  COwnedHandleT& operator=(const COwnedHandleT&) = delete;
  COwnedHandleT(COwnedHandleT&& other) noexcept : m_handle(other.Detach()) {}
  COwnedHandleT& operator=(COwnedHandleT&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }

  operator THandle() const { return m_handle; }
  bool IsNull() const { return m_handle == nullptr; }

  // Takes ownership; a previously owned handle is released.
  void Attach(THandle handle) {
    if (m_handle && m_handle != handle) Release(m_handle);
    m_handle = handle;
  }
  THandle Detach() {
    THandle handle = m_handle;
    m_handle = nullptr;
    return handle;
  }
  BOOL ReleaseHandle() {
    if (!m_handle) return FALSE;
    const BOOL released = Release(m_handle);
    m_handle = nullptr;
    return released;
  }

 protected:
  // Every Create* goes through here: what was owned before is released, not leaked.
  THandle Reset(THandle handle) {
    Attach(handle);
    return m_handle;
  }

  THandle m_handle = nullptr;
};
