// The window behind KvComboBox: an owner-drawn drop-down list whose items carry check boxes.
// An item's check state is its item data. The closed box shows the checked texts joined by
// the user's list separator; the open list stays open while the user ticks items.
//
// Notifications to the parent: WM_COMMAND / CBN_SELCHANGE once per toggle from the list.
// The parent must reflect WM_MEASUREITEM and WM_DRAWITEM.
#pragma once

#include <string>

#include "view/internal/control_window.h"

class TERComboBox;

// The drop-down list box, subclassed: clicks and Space toggle, the release is kept from the
// combo box so the list does not close.
class TERCheckList : public CWindowImpl<TERCheckList, CWindow, CNullTraits> {
 public:
  explicit TERCheckList(TERComboBox* combo) : m_pCombo(combo) {}
  ~TERCheckList() override = default;

  BEGIN_MSG_MAP(TERCheckList)
    MESSAGE_HANDLER(WM_CHAR, OnChar)
    MESSAGE_HANDLER(LB_GETCURSEL, OnGetCurSel)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
  END_MSG_MAP()

 private:
  LRESULT OnChar(UINT, WPARAM key, LPARAM, BOOL& handled);
  LRESULT OnGetCurSel(UINT, WPARAM, LPARAM, BOOL&) { return LB_ERR; }
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM lparam, BOOL& handled);
  LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&) { return 0; }

  void Toggle(int item);

  TERComboBox* m_pCombo;
};

class TERComboBox : public TERControlWindow<TERComboBox> {
 public:
  DECLARE_WND_SUPERCLASS(nullptr, L"COMBOBOX")

  TERComboBox() : m_list(this) {}
  ~TERComboBox() override = default;

  HWND CreateCombo(HWND parent, const RECT& rect, const wchar_t* text, DWORD style,
                   DWORD exstyle, UINT id, void* param);
  int SetCheck(int item, int check);
  int GetCheck(int item);
  void SelectAll(int check);
  HWND ListBox() const { return m_list.m_hWnd; }
  void NotifyChange();

  BEGIN_MSG_MAP(TERComboBox)
    MESSAGE_HANDLER(WM_CTLCOLORLISTBOX, OnListColor)
    MESSAGE_HANDLER(WM_GETTEXT, OnGetText)
    MESSAGE_HANDLER(WM_GETTEXTLENGTH, OnGetTextLength)
    MESSAGE_HANDLER(OCM_MEASUREITEM, OnMeasureItem)
    MESSAGE_HANDLER(OCM_DRAWITEM, OnDrawItem)
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

 private:
  LRESULT OnListColor(UINT, WPARAM, LPARAM lparam, BOOL& handled);
  LRESULT OnGetText(UINT, WPARAM size, LPARAM buffer, BOOL&);
  LRESULT OnGetTextLength(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMeasureItem(UINT, WPARAM, LPARAM lparam, BOOL&);
  LRESULT OnDrawItem(UINT, WPARAM, LPARAM lparam, BOOL&);

  void AdoptList(HWND list);
  const std::wstring& DisplayText();
  std::wstring ItemText(int item);
  int TextHeight(HDC dc);

  TERCheckList m_list;
  std::wstring m_text;
  bool m_bTextValid = false;
  bool m_bFieldHeightSet = false;
};
