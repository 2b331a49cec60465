// The check-box tree through its exported facade: real windows and posted clicks.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "control_test_support.h"
#include "test_support.h"
#include "view/kv_tree_view_check_box.h"

namespace {

int g_images_deleted = 0;

// An item image that says when the tree deletes it.
class CountedBitmap : public Gdiplus::Bitmap {
 public:
  CountedBitmap() : Gdiplus::Bitmap(24, 24, PixelFormat32bppARGB) {}
  ~CountedBitmap() override { ++g_images_deleted; }
};

class TreeView : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
  }
  void SetUp() override {
    // The collapsed glyph is wider than the expanded one, so with no margin the check box
    // (after the expanded glyph's width) starts inside the collapsed glyph's width.
    collapsed_ = SolidBitmap(20, 10, 0xFF0000FF);
    expanded_ = SolidBitmap(10, 20, 0xFF000080);
    checked_ = SolidBitmap(16, 16, 0xFF00A000);
    unchecked_ = SolidBitmap(16, 16, 0xFFC00000);
    parent_ = std::make_unique<TestParent>(RECT{40, 40, 440, 440});
  }
  void Make(bool with_callback = true) {
    if (with_callback) {
      KvTreeViewCheckBox::CheckCallback callback = [this](HTREEITEM item, bool checked) {
        checks_.emplace_back(item, checked);
      };
      tree_.SetCheckItemCallback(callback);
    }
    ASSERT_NE(tree_.CreateTree(*parent_, 7, RECT{0, 0, 300, 300}, RGB(255, 255, 255),
                               expanded_.get(), collapsed_.get(), checked_.get(),
                               unchecked_.get()),
              nullptr);
  }
  HTREEITEM Append(HTREEITEM parent, const wchar_t* text, bool children, int number = -1,
                   Gdiplus::Image* image = nullptr) {
    return tree_.AppendItem(parent, 0, text, image, 0, 0, children, number);
  }
  RECT Row(HTREEITEM item) {
    RECT rect = {};
    std::memcpy(&rect, &item, sizeof(item));  // the message takes the item there
    ::SendMessageW(tree_, TVM_GETITEMRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
    return rect;
  }
  int Middle(HTREEITEM item) {
    const RECT row = Row(item);
    return (row.top + row.bottom) / 2;
  }
  bool Expanded(HTREEITEM item) {
    return ::SendMessageW(tree_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) &
           TVIS_EXPANDED;
  }
  HTREEITEM Selection() {
    return reinterpret_cast<HTREEITEM>(::SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_CARET, 0));
  }
  void ClickItem(HTREEITEM item, int x) {
    Repaint(tree_);
    ::ClickAt(tree_, x, Middle(item));
  }

  KvTreeViewCheckBox tree_;
  std::unique_ptr<TestParent> parent_;
  std::unique_ptr<Gdiplus::Bitmap> collapsed_, expanded_, checked_, unchecked_;
  std::vector<std::pair<HTREEITEM, bool>> checks_;
};

TEST_F(TreeView, NewItemsStartUncheckedAndChecksReachTheCallback) {
  Make();
  EXPECT_EQ(::SendMessageW(tree_, TVM_GETITEMHEIGHT, 0, 0), 40);
  HTREEITEM item = Append(nullptr, L"Videos", false, 3);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(tree_.GetItemCheck(item), 0);
  EXPECT_EQ(tree_.GetItemNumber(item), 3);
  tree_.CheckItem(item, 1);
  EXPECT_EQ(tree_.GetItemCheck(item), 1);
  tree_.CheckItem(item, 0);
  EXPECT_EQ(tree_.GetItemCheck(item), 0);
  EXPECT_EQ(checks_, (std::vector<std::pair<HTREEITEM, bool>>{{item, true}, {item, false}}));
  EXPECT_TRUE(tree_.UpdateItem(item, L"Clips", 1, 7, nullptr));
  EXPECT_EQ(tree_.GetItemNumber(item), 7);
}

TEST_F(TreeView, CountBadgeForZeroAndNoneForMinusOne) {
  Make();
  HTREEITEM zero = Append(nullptr, L"Empty", false, 0);
  HTREEITEM none = Append(nullptr, L"Plain", false, -1);
  Repaint(tree_);
  auto badge_ink = [&](HTREEITEM item) {
    const RECT row = Row(item);
    int ink = 0;
    for (int x = row.right - 30; x < row.right - 8; ++x) {
      if (ClientPixel(tree_, x, Middle(item)) != RGB(255, 255, 255)) ++ink;
    }
    return ink;
  };
  EXPECT_GT(badge_ink(zero), 1) << "outline and digit";
  EXPECT_EQ(badge_ink(none), 0);
  EXPECT_EQ(ClientPixel(tree_, Row(zero).right - 9, Middle(zero)), RGB(0, 0, 0))
      << "the badge's right edge, 8 pixels in";
}

TEST_F(TreeView, DeletingItemsOrTheTreeReleasesTheirImages) {
  Make();
  g_images_deleted = 0;
  HTREEITEM single = Append(nullptr, L"One", false, -1, new CountedBitmap);
  Repaint(tree_);
  EXPECT_TRUE(tree_.DeleteItem(single));
  EXPECT_EQ(g_images_deleted, 1);

  HTREEITEM folder = Append(nullptr, L"Folder", true, -1, new CountedBitmap);
  Append(folder, L"Inside", false, -1, new CountedBitmap);
  EXPECT_TRUE(tree_.DeleteItem(folder));
  EXPECT_EQ(g_images_deleted, 3) << "the child's image too";

  Append(nullptr, L"Left", false, -1, new CountedBitmap);
  ::DestroyWindow(tree_);
  EXPECT_EQ(g_images_deleted, 4) << "released with the tree";
}

TEST_F(TreeView, ClicksOnBoxGlyphAndTextOfAnItemWithChildren) {
  Make();
  HTREEITEM folder = Append(nullptr, L"Folder", true);
  HTREEITEM leaf = Append(folder, L"Leaf", false);
  ASSERT_EQ(Row(folder).left, 0);
  // Glyph width: 0..19; box: 10..25.
  ClickItem(folder, 15);
  EXPECT_EQ(tree_.GetItemCheck(folder), 1);
  EXPECT_TRUE(Expanded(folder)) << "the box lies within the glyph's width: expansion toggles";
  ClickItem(folder, 15);
  EXPECT_EQ(tree_.GetItemCheck(folder), 0);
  EXPECT_FALSE(Expanded(folder));
  ClickItem(folder, 22);
  EXPECT_EQ(tree_.GetItemCheck(folder), 1);
  EXPECT_TRUE(Expanded(folder)) << "beyond the glyph: expands";
  EXPECT_EQ(Selection(), folder) << "and selects";
  ClickItem(folder, 22);
  EXPECT_TRUE(Expanded(folder)) << "expanding again keeps it open";
  ClickItem(folder, 5);
  EXPECT_FALSE(Expanded(folder)) << "the glyph alone toggles";
  EXPECT_EQ(tree_.GetItemCheck(folder), 0) << "and leaves the check";
  EXPECT_EQ(checks_.size(), 4u);

  ClickItem(folder, 150);
  EXPECT_TRUE(Expanded(folder));
  ClickItem(leaf, 150);
  EXPECT_EQ(Selection(), leaf);
  EXPECT_EQ(tree_.GetItemCheck(leaf), 0);

  ::SendMessageW(tree_, WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, Middle(folder)));
  EXPECT_TRUE(Expanded(folder)) << "double clicks do nothing";
  tree_.UpdateItem(folder, nullptr, 0, -1, nullptr);
  ClickItem(folder, 5);
  EXPECT_TRUE(Expanded(folder)) << "a disabled item stays as it is";
}

TEST_F(TreeView, SelectedRowUsesTheHighlightColours) {
  Make();
  HTREEITEM item = Append(nullptr, L"Chosen", false);
  ::SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  Repaint(tree_);
  EXPECT_EQ(ClientPixel(tree_, 200, Row(item).top + 2), ::GetSysColor(COLOR_HIGHLIGHT))
      << "the system's highlight until the owner says otherwise";
  tree_.SetHighLightColor(RGB(10, 120, 200), RGB(255, 255, 255));
  Repaint(tree_);
  EXPECT_EQ(ClientPixel(tree_, 200, Row(item).top + 2), RGB(10, 120, 200));
}

TEST_F(TreeView, WithoutACallbackChecksStillChange) {
  Make(false);
  HTREEITEM item = Append(nullptr, L"Alone", false);
  ClickItem(item, 15);
  EXPECT_EQ(tree_.GetItemCheck(item), 1);
  tree_.CheckItem(item, 0);
  EXPECT_EQ(tree_.GetItemCheck(item), 0);
}

}  // namespace
