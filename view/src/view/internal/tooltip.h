// The tool tips of the buttons: one "tooltips_class32" window per button, one tool naming the
// button's window.
#pragma once

#include <windows.h>

namespace vantorel {

// Null when the tool-tip class is not available.
HWND CreateTooltipWindow(HWND button);
// The button's one tool, its text replaced (the old tool is removed first, so a new text is
// what shows).
void SetToolText(HWND tooltip, HWND button, const wchar_t* text);
void RelayToTooltip(HWND tooltip, HWND button, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace vantorel
