// Per-window code stubs and the hand-over of an object to its window's first message.
//
// A window or dialog procedure only receives an HWND. Instead of storing the C++ object in
// GWLP_USERDATA, a property or extra bytes (other code, such as a shadow window, owns those
// and swaps the window procedure freely), each object owns a tiny stub that loads the
// object pointer into the first argument and jumps to a static procedure:
//   mov rcx, imm64(object); mov rax, imm64(procedure); jmp rax
// The stub's address is what gets installed as the window procedure.
#pragma once

#include <windows.h>

class CWndProcThunk {
 public:
  CWndProcThunk() = default;
  ~CWndProcThunk() { Release(); }
  CWndProcThunk(const CWndProcThunk&) = delete;
  CWndProcThunk& operator=(const CWndProcThunk&) = delete;

  // Reserves the stub (first call) and, when `proc` is given, points it at proc(object, ...).
  // False only when no executable memory can be had.
  bool Init(WNDPROC proc, void* object);
  // The callable stub; null before the first successful Init.
  WNDPROC GetWNDPROC() const { return reinterpret_cast<WNDPROC>(code_); }
  // Returns the stub to the pool. Only once no window can call it any more.
  void Release();
  // Gives up ownership without freeing: for a stub that may still be called forever.
  void Abandon() { code_ = nullptr; }

 private:
  void* code_ = nullptr;
};

// Creation hand-over. Create()/DoModal() push an entry before CreateWindowEx or
// DialogBoxIndirectParam; the class's start procedure takes it on the window's first message
// (on the same thread) and calls the entry's `start`, which binds the object to the window.
// Entries of the two kinds never mix, so a window of one of our classes created inside a
// dialog's creation cannot take the dialog's object.
namespace win32_detail {

enum class CreateKind { kWindow, kDialog };

using StartProc = LRESULT (*)(void* object, HWND window, UINT message, WPARAM wparam,
                              LPARAM lparam);

struct CreateWndEntry {
  void* object;
  StartProc start;
  CreateKind kind;
  CreateWndEntry* next;
};

void PushCreateWndData(CreateWndEntry* entry, void* object, StartProc start, CreateKind kind);
// Removes `entry` if its window never took it (creation failed before the first message).
void DiscardCreateWndData(CreateWndEntry* entry);

// The class procedure of every window class here, and the dialog procedure handed to the
// dialog functions. A window of our class created by someone else (nothing pending) gets
// DefWindowProc / no dialog procedure for good.
LRESULT CALLBACK StartWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
INT_PTR CALLBACK StartDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace win32_detail
