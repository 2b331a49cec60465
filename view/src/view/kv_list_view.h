// An owner-data report list with a check box and row number in column 0, an optional photo in
// column 1, hover highlighting, optional zebra stripes and a check-all box in the header.
// The owner keeps the rows, texts and check states; the list only asks.
//
//   KvListView list;
//   list.SetDpiScale(scale);
//   list.SetCheckBoxImage(checked, unchecked, disabled);    // before creation: the header's too
//   list.SetFuncGetCheckState(get);  list.SetFuncSetCheckState(set);
//   list.CreateListView(parent, rect, kListId, true, true, false);
//   ... LVM_INSERTCOLUMN ..., list.SetItemCount(rows);
//
// The parent answers LVN_GETDISPINFO with the texts and then reflects notifications
// (REFLECT_NOTIFICATIONS): the rows are measured and drawn in the reflected WM_MEASUREITEM and
// WM_DRAWITEM. The id must not be 0. Images stay the caller's and must outlive the list.
// Without the check-state getter and setter a check click, a header toggle or
// SetSelectedChecked does nothing (and says so on the debugger output).
// User-interface thread only; callbacks run inside the list's message handling.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <functional>

#include "view/vantorel_export.h"
#include "winlayer/dc.h"

class TERListView;

class VANTOREL_API KvListView {
 public:
  using PhotoColumnPainter = std::function<void(CDC&, DRAWITEMSTRUCT*, RECT&, int)>;
  using ScrollScopeCallback = std::function<void(int first, int last)>;
  using CheckedChangeCallback = std::function<void(HWND list, int row)>;
  using PhotoGetter = std::function<Gdiplus::Image*(int row)>;
  using RowRenderer = std::function<void(CDC&, int row)>;
  using RowTest = std::function<bool(int row)>;
  using CheckStateSetter = std::function<void(int row, bool checked)>;
  using HeaderCheckCallback = std::function<bool(bool checked)>;

  KvListView();
  // Does not destroy the window: the parent does, before the facade goes.
  virtual ~KvListView();
  // Not copyable: two facades would delete the same list object.
  KvListView(const KvListView&) = delete;
  KvListView& operator=(const KvListView&) = delete;

  // Flags: zebra stripes, visible at creation, single selection. 0, or -1 when the window
  // could not be made.
  int CreateListView(HWND parent, const RECT& rect, UINT id, bool stripes, bool visible,
                     bool single_selection);
  operator HWND() const;

  void SetDpiScale(float scale);
  int DpiScale(int length) const;  // truncated
  void SetItemCount(int count);
  int GetItemCount() const;
  // A row at `row` (or at the end) with one text per column; the list's answer (-1 for an
  // owner-data list, which keeps no texts).
  int InsertItemTexts(int row, ...);
  int AppendItemTexts(const wchar_t* first, ...);
  void SetItemHeight(int height);  // pixels; 0 before creation means 60 x scale
  void SetCheckBoxImage(Gdiplus::Bitmap* checked, Gdiplus::Bitmap* unchecked,
                        Gdiplus::Bitmap* disabled);
  void SetDefaultPhoto(Gdiplus::Image* photo);

  void SetHeaderCheck(int checked);
  BOOL GetHeaderChecked() const;
  void RefreshHeaderCheck();
  // Sets every row's check to `checked`; false without check images or callbacks.
  bool setListViewHeaderCheck(bool checked);
  // Called when the header box is clicked, with its new state; false puts it back. The
  // default is setListViewHeaderCheck.
  void setFuncHeaderCheck(HeaderCheckCallback callback);
  HWND GetInnerHeader() const;

  void RefreshColumn(int column);
  void RefreshCell(int column, int row);
  void RefreshRangeCell(int first_column, int last_column, int row);
  // Checks the selected rows and unchecks the others (rows the can-check test refuses are
  // left alone); the header box shows whether every row ended up checked.
  void SetSelectedChecked();
  // Checks, selects, focuses and shows the row; the result of the scroll.
  LRESULT SelectItem(int row);

  void SetPhotoGetFunc(const PhotoGetter& getter);
  void SetRenderFunc(const RowRenderer& renderer);  // before the cells, over the background
  void SetFuncGetCheckState(const RowTest& getter);
  void SetFuncSetCheckState(const CheckStateSetter& setter);
  void SetTestCanCheckFunc(const RowTest& test);  // false: disabled box, clicks ignored
  // After a wheel or scroll-bar step: the rows worth preparing, from a page above the old
  // position to three pages below it.
  void SetScrollItemScopeFuncCallback(const ScrollScopeCallback& callback);
  // After a check click: the clicked row when checked, else the first row still checked (0
  // when none).
  void SetItemCheckedChangeCallback(const CheckedChangeCallback& callback);
  void setFuncDrawPhotoColumn(PhotoColumnPainter painter);

 private:
  TERListView* m_pImpl;
};
