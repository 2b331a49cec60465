#include <cwchar>

#include "view/utils.h"

namespace {
wchar_t g_module_dir[MAX_PATH];
}  // namespace

RECT Utils::GetWindowRelativeRect(HWND window) {
  RECT rect = {};
  ::GetWindowRect(window, &rect);
  HWND parent = ::GetParent(window);
  auto* corners = reinterpret_cast<POINT*>(&rect);
  if (::ScreenToClient(parent, &corners[0])) ::ScreenToClient(parent, &corners[1]);
  return rect;
}

int Utils::GetWindowScrollBarThumbWidth(HWND window) {
  SCROLLBARINFO info = {};
  info.cbSize = sizeof(info);
  ::GetScrollBarInfo(window, OBJID_VSCROLL, &info);
  if (info.dxyLineButton != 0) return info.dxyLineButton;
  // A hidden bar reports no button size; show it just long enough to ask.
  ::ShowScrollBar(window, SB_VERT, TRUE);
  ::GetScrollBarInfo(window, OBJID_VSCROLL, &info);
  ::ShowScrollBar(window, SB_VERT, FALSE);
  return info.dxyLineButton;
}

std::wstring Utils::GetEditValue(HWND window) {
  std::wstring text;
  const int length = ::GetWindowTextLengthW(window);
  if (length <= 0) return text;
  text.resize(static_cast<size_t>(length) + 1);
  const int copied = ::GetWindowTextW(window, &text[0], length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

const wchar_t* Utils::GetDllModuleDir(HINSTANCE module) {
  const DWORD length = ::GetModuleFileNameW(module, g_module_dir, MAX_PATH);
  // A truncated path is no path: better an empty folder than a wrong one.
  if (length == 0 || length >= MAX_PATH) {
    g_module_dir[0] = L'\0';
    return g_module_dir;
  }
  wchar_t* slash = std::wcsrchr(g_module_dir, L'\\');
  if (slash) {
    slash[1] = L'\0';
  } else {
    g_module_dir[0] = L'\0';
  }
  return g_module_dir;
}

const char* Utils::NullToEmpty(const char* text) {
  return text ? text : "";
}
