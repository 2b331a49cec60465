// The owner-data list through its exported facade: real windows, posted mouse messages, the
// owner's callbacks and what the screen shows.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "control_test_support.h"
#include "test_support.h"
#include "view/kv_list_view.h"

namespace {

constexpr UINT kListId = 101;
constexpr COLORREF kCheckedColor = RGB(0, 160, 0);
constexpr COLORREF kUncheckedColor = RGB(192, 0, 0);
constexpr COLORREF kDisabledColor = RGB(128, 128, 128);
constexpr int kColumnWidths[] = {120, 150, 100, 100};

class ListView : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
  }
  void SetUp() override {
    checked_ = SolidBitmap(16, 16, 0xFF000000 | kCheckedColor);  // ARGB: blue in the low byte
    unchecked_ = SolidBitmap(16, 16, 0xFFC00000);
    disabled_ = SolidBitmap(16, 16, 0xFF808080);
    parent_ = std::make_unique<TestParent>(RECT{40, 40, 640, 540});
  }

  // A list of `rows` rows and four columns, 500 x `height`, on the parent.
  void Make(float scale, int rows, int row_height = 0, int height = 400, bool callbacks = true) {
    scale_ = scale;
    list_.SetDpiScale(scale);
    if (row_height) list_.SetItemHeight(row_height);
    list_.SetCheckBoxImage(checked_.get(), unchecked_.get(), disabled_.get());
    if (callbacks) {
      list_.SetFuncGetCheckState([this](int row) { return checks_.at(row); });
      list_.SetFuncSetCheckState([this](int row, bool value) { checks_.at(row) = value; });
    }
    ASSERT_EQ(list_.CreateListView(*parent_, RECT{0, 0, 500, height}, kListId, true, true, false), 0);
    for (int column = 0; column < 4; ++column) {
      std::wstring title = L"Column " + std::to_wstring(column);
      LVCOLUMNW info = {};
      info.mask = LVCF_WIDTH | LVCF_TEXT;
      info.cx = kColumnWidths[column];
      info.pszText = title.data();
      ::SendMessageW(list_, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&info));
    }
    SetRows(rows);
  }
  void SetRows(int rows) {
    checks_.assign(rows, false);
    list_.SetItemCount(rows);
    Repaint(list_);
  }
  RECT RowRect(int row) {
    RECT rect = {};
    rect.left = LVIR_BOUNDS;
    ::SendMessageW(list_, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
    return rect;
  }
  int Middle(int row) {
    const RECT rect = RowRect(row);
    return (rect.top + rect.bottom) / 2;
  }
  int BoxX() const { return static_cast<int>(5 * scale_) + 4; }
  void ClickBox(int row) { ClickAt(list_, BoxX(), Middle(row)); }
  void ClickHeaderBox() {
    RECT header = {};
    ::GetClientRect(list_.GetInnerHeader(), &header);
    ClickAt(list_.GetInnerHeader(), BoxX(), header.bottom / 2);
  }
  // The pointer itself goes there too: the list tracks it and would end the hover, on a timer,
  // once it saw the pointer outside.
  void PointAt(int x, int y) {
    POINT point = {x, y};
    ::ClientToScreen(list_, &point);
    ::SetCursorPos(point.x, point.y);
    PostMouse(list_, WM_MOUSEMOVE, x, y);
  }
  bool Selected(int row) {
    return ::SendMessageW(list_, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED;
  }
  void Select(std::initializer_list<int> rows) {
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED;
    ::SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED;
    for (int row : rows) {
      ::SendMessageW(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    }
  }

  // Declared before the parent, so the parent (and the list window) goes first.
  KvListView list_;
  std::unique_ptr<TestParent> parent_;
  std::unique_ptr<Gdiplus::Bitmap> checked_, unchecked_, disabled_;
  std::vector<bool> checks_;
  float scale_ = 1.0f;
};

TEST_F(ListView, RowsAndHeaderFollowTheScale) {
  Make(1.5f, 10);
  EXPECT_EQ(RowRect(0).bottom - RowRect(0).top, 90) << "60 x 1.5 when no height was set";
  RECT header = {};
  ::GetWindowRect(list_.GetInnerHeader(), &header);
  EXPECT_EQ(header.bottom - header.top, 37) << "25 x 1.5";
  EXPECT_EQ(RowRect(0).top, 37) << "rows start below the header";
  EXPECT_EQ(list_.DpiScale(7), 10);
  list_.SetItemHeight(50);
  EXPECT_EQ(RowRect(3).bottom - RowRect(3).top, 50) << "measured again at once";

  // A superclass of the system list under a generated name, one class for every list.
  wchar_t name[64] = {};
  ::GetClassNameW(list_, name, 64);
  EXPECT_EQ(std::wstring(name).rfind(L"Ostrevan:", 0), 0u) << std::wstring(name);
  KvListView second;
  ASSERT_EQ(second.CreateListView(*parent_, RECT{0, 0, 100, 100}, kListId + 1, false, false, true), 0);
  wchar_t second_name[64] = {};
  ::GetClassNameW(second, second_name, 64);
  EXPECT_EQ(std::wstring(second_name), std::wstring(name));
  EXPECT_TRUE(::GetWindowLongW(second, GWL_STYLE) & LVS_SINGLESEL);
  EXPECT_FALSE(::IsWindowVisible(second));
}

TEST_F(ListView, RowColoursStripesHoverSelectionAndGrid) {
  Make(1.0f, 6, 30);
  const int x = 460;  // in the last column, right of its text: only the row's background
  EXPECT_EQ(ClientPixel(list_, x, Middle(0)), RGB(255, 255, 255));
  EXPECT_EQ(ClientPixel(list_, x, Middle(1)), RGB(0xFA, 0xFA, 0xFA)) << "odd rows striped";
  EXPECT_EQ(ClientPixel(list_, x, Middle(2)), RGB(255, 255, 255));
  EXPECT_EQ(ClientPixel(list_, x, RowRect(2).top), RGB(0xDC, 0xDC, 0xDC)) << "grid line";
  EXPECT_EQ(ClientPixel(list_, x, RowRect(5).bottom - 1), RGB(0xDC, 0xDC, 0xDC))
      << "the last row is closed at the bottom";

  PointAt(x, Middle(1));
  Repaint(list_);
  EXPECT_EQ(ClientPixel(list_, x, Middle(1)), RGB(0xCD, 0xEC, 0xF5)) << "hover";
  PointAt(x, Middle(2));
  Repaint(list_);
  EXPECT_EQ(ClientPixel(list_, x, Middle(2)), RGB(0xCD, 0xEC, 0xF5));
  EXPECT_EQ(ClientPixel(list_, x, Middle(1)), RGB(0xFA, 0xFA, 0xFA)) << "stripe back after hover";

  Select({3});
  PointAt(x, Middle(3));
  Repaint(list_);
  EXPECT_EQ(ClientPixel(list_, x, Middle(3)), RGB(0xA1, 0xDB, 0xEE)) << "selection beats hover";
  EXPECT_EQ(ClientPixel(list_, x, Middle(2)), RGB(255, 255, 255));

  PointAt(x, Middle(4));
  ::SetCursorPos(0, 0);
  ::SendMessageW(list_, WM_MOUSELEAVE, 0, 0);
  Repaint(list_);
  EXPECT_EQ(ClientPixel(list_, x, Middle(4)), RGB(255, 255, 255)) << "no hover once the mouse left";
}

TEST_F(ListView, CheckClicksAskTheOwnerAndTheHeaderFollowsTheLastRow) {
  Make(1.0f, 3, 30);
  std::vector<std::pair<HWND, int>> changes;
  list_.SetItemCheckedChangeCallback([&](HWND list, int row) { changes.emplace_back(list, row); });
  const HWND list = list_;

  ClickBox(0);
  ClickBox(1);
  EXPECT_EQ(checks_, (std::vector<bool>{true, true, false}));
  EXPECT_TRUE(Selected(0) && Selected(1)) << "a checked row is selected";
  EXPECT_FALSE(list_.GetHeaderChecked());
  ClickBox(2);
  EXPECT_TRUE(list_.GetHeaderChecked()) << "the last unchecked row was checked";
  ASSERT_EQ(changes.size(), 3u);
  EXPECT_EQ(changes.back(), std::make_pair(list, 2));

  Repaint(list_);
  Repaint(list_.GetInnerHeader());
  EXPECT_EQ(ClientPixel(list_, BoxX(), Middle(2)), kCheckedColor);
  RECT header = {};
  ::GetClientRect(list_.GetInnerHeader(), &header);
  EXPECT_EQ(ClientPixel(list_.GetInnerHeader(), BoxX(), header.bottom / 2), kCheckedColor)
      << "the header's box, drawn after the system painted the header";

  ClickBox(1);
  EXPECT_EQ(checks_, (std::vector<bool>{true, false, true}));
  EXPECT_FALSE(list_.GetHeaderChecked()) << "any uncheck clears it";
  EXPECT_FALSE(Selected(1)) << "an unchecked row is deselected";
  EXPECT_EQ(changes.back(), std::make_pair(list, 0)) << "the first row still checked";
  ClickBox(0);
  EXPECT_EQ(changes.back(), std::make_pair(list, 2));
  ClickBox(2);
  EXPECT_EQ(changes.back(), std::make_pair(list, 0)) << "none left";

  // Outside the check column a click is the system's: selection, no check.
  ClickAt(list_, 300, Middle(1));
  EXPECT_EQ(checks_, (std::vector<bool>{false, false, false}));
  EXPECT_TRUE(Selected(1));

  // A row the owner refuses shows the disabled box and ignores clicks.
  list_.SetTestCanCheckFunc([](int row) { return row != 2; });
  Repaint(list_);
  EXPECT_EQ(ClientPixel(list_, BoxX(), Middle(2)), kDisabledColor);
  EXPECT_EQ(ClientPixel(list_, BoxX(), Middle(0)), kUncheckedColor);
  const size_t reported = changes.size();
  ClickBox(2);
  EXPECT_FALSE(checks_[2]);
  EXPECT_FALSE(Selected(2)) << "swallowed, not even selected";
  EXPECT_EQ(changes.size(), reported);
}

TEST_F(ListView, HeaderBoxChecksEveryRowUnlessItsCallbackRefuses) {
  Make(1.5f, 50);
  ClickHeaderBox();
  EXPECT_TRUE(list_.GetHeaderChecked());
  EXPECT_EQ(checks_, std::vector<bool>(50, true));
  ClickHeaderBox();
  EXPECT_FALSE(list_.GetHeaderChecked());
  EXPECT_EQ(checks_, std::vector<bool>(50, false));

  std::vector<bool> asked;
  list_.setFuncHeaderCheck([&](bool value) {
    asked.push_back(value);
    return false;
  });
  ClickHeaderBox();
  EXPECT_EQ(asked, std::vector<bool>{true});
  EXPECT_FALSE(list_.GetHeaderChecked()) << "refused: the box goes back";
  EXPECT_EQ(checks_, std::vector<bool>(50, false));

  // Elsewhere on the header: no toggle, and no column click reaches the parent (no sorting).
  ClickAt(list_.GetInnerHeader(), 250, 10);
  EXPECT_EQ(asked.size(), 1u);
  EXPECT_EQ(parent_->column_clicks, 0);
}

TEST_F(ListView, ScrollScopeReportsAPageAboveToThreeBelowTheOldPosition) {
  // Five whole rows of 20 below a 25-pixel header.
  Make(1.0f, 100, 20, 25 + 5 * 20 + 10);
  std::vector<std::pair<int, int>> scopes;
  list_.SetScrollItemScopeFuncCallback([&](int first, int last) { scopes.emplace_back(first, last); });
  ::SendMessageW(list_, LVM_SCROLL, 0, 10 * 20);
  SCROLLINFO scroll = {};
  scroll.cbSize = sizeof(scroll);
  scroll.fMask = SIF_POS | SIF_PAGE;
  ::GetScrollInfo(list_, SB_VERT, &scroll);
  ASSERT_EQ(scroll.nPos, 10);
  ASSERT_EQ(scroll.nPage, 5u);

  ::SendMessageW(list_, WM_VSCROLL, SB_LINEDOWN, 0);
  ASSERT_EQ(scopes.size(), 1u);
  EXPECT_EQ(scopes.back(), std::make_pair(5, 25));
  ::GetScrollInfo(list_, SB_VERT, &scroll);
  EXPECT_EQ(scroll.nPos, 11) << "and the list still scrolls";

  ::SendMessageW(list_, LVM_ENSUREVISIBLE, 99, FALSE);
  RECT window = {};
  ::GetWindowRect(list_, &window);
  ::SendMessageW(list_, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA),
                 MAKELPARAM(window.left + 50, window.top + 50));
  ASSERT_EQ(scopes.size(), 2u);
  EXPECT_EQ(scopes.back(), std::make_pair(90, 99)) << "clamped to the last row";
}

TEST_F(ListView, SetSelectedCheckedMakesChecksFollowTheSelection) {
  Make(1.0f, 0, 30);
  list_.SetSelectedChecked();
  EXPECT_TRUE(list_.GetHeaderChecked()) << "nothing left unchecked in an empty list";

  SetRows(4);
  checks_ = {true, false, false, true};
  Select({1, 2});
  list_.SetSelectedChecked();
  EXPECT_EQ(checks_, (std::vector<bool>{false, true, true, false}));
  EXPECT_FALSE(list_.GetHeaderChecked());

  list_.SetTestCanCheckFunc([](int row) { return row != 0; });
  Select({0, 1, 2, 3});
  list_.SetSelectedChecked();
  EXPECT_EQ(checks_, (std::vector<bool>{false, true, true, true})) << "row 0 left alone";
  EXPECT_FALSE(list_.GetHeaderChecked()) << "three of four";

  list_.SetTestCanCheckFunc(nullptr);
  list_.SetSelectedChecked();
  EXPECT_EQ(checks_, std::vector<bool>(4, true));
  EXPECT_TRUE(list_.GetHeaderChecked());

  EXPECT_NE(list_.SelectItem(2), 0);
  EXPECT_TRUE(Selected(2));
  EXPECT_FALSE(Selected(0)) << "others deselected in a multi-selection list";
}

TEST_F(ListView, WithoutCheckStateCallbacksChecksAreIgnoredNotThrown) {
  Make(1.0f, 3, 30, 400, false);
  ClickBox(0);
  EXPECT_FALSE(Selected(0)) << "a check click that cannot check does nothing";
  ClickAt(list_, 300, Middle(0));
  EXPECT_TRUE(Selected(0)) << "elsewhere the row is selected as usual";
  EXPECT_FALSE(list_.setListViewHeaderCheck(true));
  ClickHeaderBox();
  EXPECT_FALSE(list_.GetHeaderChecked()) << "nothing could be checked: the box goes back";
  Select({1});
  list_.SetSelectedChecked();
  EXPECT_FALSE(list_.GetHeaderChecked());
  list_.SelectItem(2);
  EXPECT_TRUE(Selected(2));
  Repaint(list_);
  EXPECT_EQ(ClientPixel(list_, BoxX(), Middle(0)), kUncheckedColor);
}

}  // namespace
