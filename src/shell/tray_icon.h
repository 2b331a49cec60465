// The notification-area icon: one process-wide record, added by Run and reused later.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

constexpr UINT kTrayCallbackMessage = 0x8001;  // WM_APP + 1
constexpr UINT kTrayIconId = 1001;

void AddTrayIcon(HWND owner, HICON icon, const std::wstring& tip);
// Shows `text` as the balloon (no title); the balloon flag stays set afterwards.
void ShowTrayTip(const std::wstring& text);
void RemoveTrayIcon();
// The record as it stands (for tests of its fields).
const NOTIFYICONDATAW& TrayIconRecord();
