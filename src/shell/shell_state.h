// What other parts reach of the shell: the main frame and its two small tables.
#pragma once

#include <windows.h>

class CMainFrame;
class UiDialog;

constexpr int kHostWindowView = 6;

// Numbers of the standing dialogs in the host dialog table.
constexpr int kHostDialogUpdateDownload = 1;
constexpr int kHostDialogSheetTip = 2;
constexpr int kHostDialogUpdateList = 3;
constexpr int kHostDialogProgress = 4;

// The frame, for command handlers; null before it is created.
CMainFrame* MainFrame();
void SetMainFrame(CMainFrame* frame);

// Standing dialogs by number (1 update download, 2 sheet tip, 3 update list, 4 progress);
// null for a number never entered.
UiDialog* HostDialog(int number);
void SetHostDialog(int number, UiDialog* dialog);

// Windows by number (6 is the view); null for a number never entered.
HWND HostWindow(int number);
void SetHostWindow(int number, HWND window);
