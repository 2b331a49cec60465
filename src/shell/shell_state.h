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
// null for a number never entered. A look-up on the thread that set a maker runs the maker
// first (once), so the dialogs can be made after the first paint and still be there for
// the first command that needs one; other threads see null until then.
UiDialog* HostDialog(int number);
void SetHostDialog(int number, UiDialog* dialog);
void SetHostDialogMaker(void (*maker)());
// The dialog if it is made already; never runs the maker. For those that only follow a
// dialog's position: a dialog made later places itself.
UiDialog* MadeHostDialog(int number);

// Windows by number (6 is the view); null for a number never entered.
HWND HostWindow(int number);
void SetHostWindow(int number, HWND window);
