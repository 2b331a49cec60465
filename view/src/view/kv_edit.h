// A single-line edit box with a grey hint (cue banner), a white background and a callback
// for the Enter key (which inserts nothing).
//
//   KvEdit edit;
//   edit.Create(dialog, rect, L"", 0x50010080, 0, IDC_ADDRESS, nullptr);
//   edit.setTipValue(L"Type an address");
//   std::function<void()> go = [this] { Go(); };
//   edit.setFuncEnterCallback(go);
//
// The parent must reflect WM_CTLCOLOREDIT (REFLECT_NOTIFICATIONS) for the white background.
// User-interface thread only.
#pragma once

#include <windows.h>

#include <functional>

#include "view/vantorel_export.h"

class TEREdit;

class VANTOREL_API KvEdit {
 public:
  KvEdit();
  ~KvEdit();  // leaves the window alone
  KvEdit(const KvEdit&) = delete;
  KvEdit& operator=(const KvEdit&) = delete;

  // Style 0: child, visible, clipping siblings and children. Null on failure.
  HWND Create(HWND parent, const RECT& rect, const wchar_t* text = nullptr, DWORD style = 0,
              DWORD exstyle = 0, UINT id = 0, void* param = nullptr);
  void SetReadOnly(BOOL read_only);
  void SetFont(HFONT font);
  void setTipValue(const wchar_t* tip);  // shown also while the box has the focus
  void setFuncEnterCallback(std::function<void()>& callback);
  operator HWND() const;

 private:
  TEREdit* m_pImpl;
};
