#include "shell/tray_icon.h"

#include <shellapi.h>

#include <cwchar>

namespace {
NOTIFYICONDATAW g_record = {};

void CopyCut(wchar_t* field, size_t capacity, const std::wstring& text) {
  // Longer texts are cut to the field rather than dropped.
  std::wcsncpy(field, text.c_str(), capacity - 1);
  field[capacity - 1] = L'\0';
}
}  // namespace

static_assert(sizeof(NOTIFYICONDATAW) == 976, "the notify-icon record of this platform");

void AddTrayIcon(HWND owner, HICON icon, const std::wstring& tip) {
  g_record = {};
  g_record.cbSize = sizeof(g_record);
  g_record.hWnd = owner;
  g_record.uID = kTrayIconId;
  g_record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  g_record.uCallbackMessage = kTrayCallbackMessage;
  g_record.hIcon = icon;
  CopyCut(g_record.szTip, ARRAYSIZE(g_record.szTip), tip);
  ::Shell_NotifyIconW(NIM_ADD, &g_record);
}

void ShowTrayTip(const std::wstring& text) {
  g_record.uFlags |= NIF_INFO;
  CopyCut(g_record.szInfo, ARRAYSIZE(g_record.szInfo), text);
  ::Shell_NotifyIconW(NIM_MODIFY, &g_record);
}

void RemoveTrayIcon() { ::Shell_NotifyIconW(NIM_DELETE, &g_record); }

const NOTIFYICONDATAW& TrayIconRecord() { return g_record; }
