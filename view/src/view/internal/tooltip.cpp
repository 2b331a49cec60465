#include "view/internal/tooltip.h"

#include <commctrl.h>

#include "winlayer/app_module.h"

namespace vantorel {

namespace {

TOOLINFOW ToolOf(HWND button) {
  TOOLINFOW tool = {};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND;
  tool.hwnd = ::GetParent(button);
  tool.uId = reinterpret_cast<UINT_PTR>(button);
  return tool;
}

}  // namespace

HWND CreateTooltipWindow(HWND button) {
  INITCOMMONCONTROLSEX init = {sizeof(init), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&init);
  return ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, TTS_NOPREFIX, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, button, nullptr,
                           ModuleHelper::GetModuleInstance(), nullptr);
}

void SetToolText(HWND tooltip, HWND button, const wchar_t* text) {
  if (!tooltip) return;
  TOOLINFOW tool = ToolOf(button);
  if (::SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0) > 0) {
    ::SendMessageW(tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  tool.lpszText = const_cast<wchar_t*>(text ? text : L"");
  ::SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void RelayToTooltip(HWND tooltip, HWND button, UINT message, WPARAM wparam, LPARAM lparam) {
  if (!tooltip) return;
  MSG msg = {button, message, wparam, lparam, static_cast<DWORD>(::GetMessageTime()), {}};
  const DWORD pos = ::GetMessagePos();
  msg.pt = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
  ::SendMessageW(tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

}  // namespace vantorel
