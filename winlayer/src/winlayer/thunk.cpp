#include "winlayer/thunk.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr size_t kSlotSize = 32;
constexpr size_t kChunkSize = 64 * 1024;  // VirtualAlloc's granularity

SRWLOCK pool_lock = SRWLOCK_INIT;
void* free_slots = nullptr;  // singly linked through each free slot's first 8 bytes

void* AllocateSlot() {
  AcquireSRWLockExclusive(&pool_lock);
  if (!free_slots) {
    auto* chunk = static_cast<unsigned char*>(
        VirtualAlloc(nullptr, kChunkSize, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
    if (chunk) {
      for (size_t offset = kChunkSize; offset >= kSlotSize; offset -= kSlotSize) {
        void* slot = chunk + offset - kSlotSize;
        std::memcpy(slot, &free_slots, sizeof(void*));
        free_slots = slot;
      }
    }
  }
  void* slot = free_slots;
  if (slot) std::memcpy(&free_slots, slot, sizeof(void*));
  ReleaseSRWLockExclusive(&pool_lock);
  return slot;
}

// Last freed is reused first: Wine keeps a bounded table of distinct window procedures, so
// recycling addresses keeps that table small.
void FreeSlot(void* slot) {
  std::memset(slot, 0xCC, kSlotSize);
  AcquireSRWLockExclusive(&pool_lock);
  std::memcpy(slot, &free_slots, sizeof(void*));
  free_slots = slot;
  ReleaseSRWLockExclusive(&pool_lock);
}

thread_local win32_detail::CreateWndEntry* pending_creations = nullptr;

}  // namespace

bool CWndProcThunk::Init(WNDPROC proc, void* object) {
  if (!code_) {
    code_ = AllocateSlot();
    if (!code_) return false;
    std::memset(code_, 0xCC, kSlotSize);
  }
  if (!proc) return true;
  auto* code = static_cast<unsigned char*>(code_);
  const auto object_bits = reinterpret_cast<uint64_t>(object);
  const auto proc_bits = reinterpret_cast<uint64_t>(proc);
  code[0] = 0x48;  // mov rcx, imm64
  code[1] = 0xB9;
  std::memcpy(code + 2, &object_bits, 8);
  code[10] = 0x48;  // mov rax, imm64
  code[11] = 0xB8;
  std::memcpy(code + 12, &proc_bits, 8);
  code[20] = 0xFF;  // jmp rax
  code[21] = 0xE0;
  FlushInstructionCache(GetCurrentProcess(), code_, kSlotSize);
  return true;
}

void CWndProcThunk::Release() {
  if (code_) FreeSlot(code_);
  code_ = nullptr;
}

namespace win32_detail {

void PushCreateWndData(CreateWndEntry* entry, void* object, StartProc start, CreateKind kind) {
  entry->object = object;
  entry->start = start;
  entry->kind = kind;
  entry->next = pending_creations;
  pending_creations = entry;
}

namespace {

// The newest pending entry of `kind` on this thread, unlinked; null if none.
CreateWndEntry* ExtractCreateWndData(CreateKind kind) {
  for (CreateWndEntry** link = &pending_creations; *link; link = &(*link)->next) {
    if ((*link)->kind == kind) {
      CreateWndEntry* entry = *link;
      *link = entry->next;
      return entry;
    }
  }
  return nullptr;
}

}  // namespace

void DiscardCreateWndData(CreateWndEntry* entry) {
  for (CreateWndEntry** link = &pending_creations; *link; link = &(*link)->next) {
    if (*link == entry) {
      *link = entry->next;
      return;
    }
  }
}

}  // namespace win32_detail

namespace win32_detail {

LRESULT CALLBACK StartWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  CreateWndEntry* entry = ExtractCreateWndData(CreateKind::kWindow);
  if (!entry) {
    // Staying here would let a later window's pending object be taken by this one.
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(::DefWindowProcW));
    return ::DefWindowProcW(window, message, wparam, lparam);
  }
  return entry->start(entry->object, window, message, wparam, lparam);
}

INT_PTR CALLBACK StartDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  CreateWndEntry* entry = ExtractCreateWndData(CreateKind::kDialog);
  if (!entry) {
    ::SetWindowLongPtrW(dialog, DWLP_DLGPROC, 0);
    return FALSE;
  }
  return entry->start(entry->object, dialog, message, wparam, lparam);
}

}  // namespace win32_detail
