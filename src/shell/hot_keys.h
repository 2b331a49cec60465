// The three global hot keys (Alt+Shift+X, C, Z) and the recorder commands they send.
#pragma once

#include <windows.h>

constexpr int kHotKeyScreenCapture = 1002;
constexpr int kHotKeyStartRecording = 1003;
constexpr int kHotKeyStopRecording = 1004;

void RegisterHotKeys(HWND window);
void UnregisterHotKeys(HWND window);
// The command a hot key sends, or null for an identifier that is not ours.
const char* HotKeyCommand(int identifier);
// Sends the hot key's command from the host; unknown identifiers do nothing.
void SendHotKeyCommand(int identifier);
