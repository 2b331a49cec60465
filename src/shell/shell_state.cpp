#include "shell/shell_state.h"

#include <atomic>
#include <map>
#include <mutex>

namespace {
std::atomic<CMainFrame*> g_main_frame{nullptr};
// Filled on the main thread while the frame is created; read from module threads too.
std::mutex g_tables_lock;
std::map<int, UiDialog*> g_dialogs;
std::map<int, HWND> g_windows;
std::atomic<void (*)()> g_dialog_maker{nullptr};
std::atomic<DWORD> g_dialog_maker_thread{0};

template <typename Value>
Value Lookup(const std::map<int, Value>& table, int number) {
  std::lock_guard<std::mutex> lock(g_tables_lock);
  auto found = table.find(number);
  return found == table.end() ? nullptr : found->second;
}
}  // namespace

CMainFrame* MainFrame() { return g_main_frame.load(); }
void SetMainFrame(CMainFrame* frame) { g_main_frame.store(frame); }

UiDialog* HostDialog(int number) {
  UiDialog* dialog = Lookup(g_dialogs, number);
  if (!dialog && g_dialog_maker_thread.load() == ::GetCurrentThreadId()) {
    if (void (*maker)() = g_dialog_maker.exchange(nullptr)) {
      maker();
      dialog = Lookup(g_dialogs, number);
    }
  }
  return dialog;
}
UiDialog* MadeHostDialog(int number) { return Lookup(g_dialogs, number); }
void SetHostDialogMaker(void (*maker)()) {
  g_dialog_maker_thread.store(maker ? ::GetCurrentThreadId() : 0);
  g_dialog_maker.store(maker);
}
void SetHostDialog(int number, UiDialog* dialog) {
  std::lock_guard<std::mutex> lock(g_tables_lock);
  g_dialogs[number] = dialog;
}

HWND HostWindow(int number) { return Lookup(g_windows, number); }
void SetHostWindow(int number, HWND window) {
  std::lock_guard<std::mutex> lock(g_tables_lock);
  g_windows[number] = window;
}
