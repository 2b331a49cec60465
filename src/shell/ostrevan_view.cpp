#include "shell/ostrevan_view.h"

#include "dialogs/ui_sheet_dialog.h"
#include "host/command_bus.h"
#include "shell/shell_state.h"

void OstrevanGUIView::UpdateRegion() {
  RECT client = {};
  GetClientRect(&client);
  const int corner = static_cast<int>(corner_size_);
  CRgn region;
  region.CreateRoundRectRgn(0, 0, client.right, client.bottom, corner, corner);
  // Once set, the region belongs to the window, which frees the one it replaces.
  if (SetWindowRgn(region, FALSE)) region.Detach();
}

LRESULT OstrevanGUIView::OnSize(UINT, WPARAM, LPARAM lparam, BOOL&) {
  Invalidate(FALSE);
  int size[2] = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  // A maximised view must not stay clipped to the size it was created with.
  if (size[0] > 0 && size[1] > 0) UpdateRegion();
  TERObserveData1 record = {};
  record.name = "LIBWINDOW_COMMAND_SIZE_CHANGE";
  record.window = m_hWnd;
  record.payload = size;
  SendCommand(&record);
  Invalidate(TRUE);
  // Size messages come before the tip is made; it places itself when it is.
  if (auto* tip = dynamic_cast<UiSheetDialog*>(MadeHostDialog(kHostDialogSheetTip)))
    tip->Reposition();
  return 0;
}
