// Real dialogs in the test program: the product's pictures, colours, fonts, language site
// and catalogues are loaded from the built application folder, the dispatch queue is bound
// to a window of the test's main thread, and modal dialogs are driven from a helper thread
// with posted mouse input, as a user's clicks would arrive.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

void PumpPending();
bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms = 10000);
void PumpFor(DWORD ms);

// A visible top-level window the dialogs are owned by and centre on (the view's stand-in).
HWND TestOwner();
// The font table at `scale` and the catalogue of language `number` (3 is English).
void UseScale(float scale);
void UseLanguage(int number);

// A visible dialog window of this process, waiting up to `timeout_ms`; null if none.
HWND WaitForDialog(DWORD timeout_ms = 10000);
// A left click posted to the control's centre (down, then up).
void ClickControl(HWND control);
void ClickButton(HWND dialog, int id);
// Runs `run` (which shows a modal dialog) while `act` gets the dialog on a helper thread.
INT_PTR RunModal(const std::function<INT_PTR()>& run, const std::function<void(HWND)>& act);

RECT ClientRectOf(HWND window);
RECT RectIn(HWND child, HWND parent);  // a child's rectangle in its parent's client area
std::wstring AppFolder();  // ends with "\"
