// A drop-down list whose items carry check boxes. The closed box shows the checked items'
// texts joined by the user's list separator ("B, C" with a comma); the open list stays open
// while the user ticks items with the mouse or Space.
//
//   KvComboBox kinds;
//   kinds.Create(dialog, rect, nullptr,
//                WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST |
//                    CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 0, IDC_KINDS, nullptr);
//   ::SendMessageW(kinds, CB_ADDSTRING, 0, (LPARAM)L"Video");
//   kinds.SetCheck(0, 1);
//
// The parent gets WM_COMMAND / CBN_SELCHANGE once per toggle and must reflect WM_MEASUREITEM
// and WM_DRAWITEM (REFLECT_NOTIFICATIONS). User-interface thread only.
#pragma once

#include <windows.h>

#include "view/vantorel_export.h"

class TERComboBox;

class VANTOREL_API KvComboBox {
 public:
  KvComboBox();
  ~KvComboBox();  // leaves the window alone
  KvComboBox(const KvComboBox&) = delete;
  KvComboBox& operator=(const KvComboBox&) = delete;

  HWND Create(HWND parent, const RECT& rect, const wchar_t* text = nullptr, DWORD style = 0,
              DWORD exstyle = 0, UINT id = 0, void* param = nullptr);
  // The item's check state (its item data); CB_ERR, nothing changed, for a bad index.
  int SetCheck(int item, int check);
  int GetCheck(int item);
  void SelectAll(int check);
  operator HWND() const;

 private:
  TERComboBox* m_pImpl;
};
