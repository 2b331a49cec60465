#include "winlayer/dialog.h"

#include <gtest/gtest.h>

#include "winlayer/message_loop.h"
#include "test_support.h"

namespace {

// Ends itself from a posted message (WM_APP), or at once from WM_INITDIALOG. (A timer would
// let the dialog show first, and an activated window takes Wine seconds to hide.)
class Ending : public CDialogImpl<Ending> {
 public:
  BEGIN_MSG_MAP(Ending)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_APP, OnApp)
    MESSAGE_HANDLER(WM_APP + 1, OnAskResult)
    MESSAGE_HANDLER(WM_CTLCOLORDLG, OnColor)
  END_MSG_MAP()
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM lparam, BOOL&) {
    init_param = lparam;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 120, 80, SWP_NOZORDER | SWP_NOACTIVATE);
    if (end_at_once) {
      EndDialog(7);
    } else {
      PostMessage(WM_APP, 42);
    }
    return TRUE;
  }
  LRESULT OnApp(UINT, WPARAM wparam, LPARAM, BOOL&) {
    answer_while_running = SendMessage(WM_APP + 1);
    brush_while_running = SendMessage(WM_CTLCOLORDLG);
    EndDialog(static_cast<int>(wparam));
    return 0;
  }
  LRESULT OnAskResult(UINT, WPARAM, LPARAM, BOOL&) { return 77; }
  LRESULT OnColor(UINT, WPARAM, LPARAM, BOOL&) {
    return reinterpret_cast<LRESULT>(::GetStockObject(GRAY_BRUSH));
  }
  void OnFinalMessage(HWND) override { ++finals; }

  bool end_at_once = false;
  LPARAM init_param = 0;
  LRESULT answer_while_running = 0;
  LRESULT brush_while_running = 0;
  int finals = 0;
};

TEST(Dialog, DoModalReturnsTheValueGivenToEndDialog) {
  Ending dialog;
  EXPECT_EQ(dialog.DoModal(nullptr, 0x1234), 42);
  EXPECT_EQ(dialog.init_param, 0x1234);
  EXPECT_EQ(dialog.answer_while_running, 77) << "through DWLP_MSGRESULT";
  EXPECT_EQ(dialog.brush_while_running, reinterpret_cast<LRESULT>(::GetStockObject(GRAY_BRUSH)))
      << "a brush handle returned whole";
  EXPECT_EQ(dialog.finals, 1);
  EXPECT_EQ(dialog.m_hWnd, nullptr);

  dialog.end_at_once = true;
  EXPECT_EQ(dialog.DoModal(nullptr), 7);
  EXPECT_EQ(dialog.finals, 2);
}

TEST(Dialog, AFailedDoModalLeavesNothingPending) {
  Ending dialog;
  EXPECT_LE(dialog.DoModal(reinterpret_cast<HWND>(0x7654321)), 0) << "an invalid owner";
  // A dialog started by someone else through our dialog procedure finds no object to take.
  HWND foreign =
      ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), Ending::GetDialogTemplate(),
                                   nullptr, win32_detail::StartDialogProc, 0);
  ASSERT_TRUE(foreign);
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  ::DestroyWindow(foreign);
  EXPECT_EQ(dialog.finals, 0);
  EXPECT_EQ(Ending().DoModal(nullptr), 42) << "the next dialog works";
}

// A modeless dialog with a font and a size, that takes its keyboard from the loop's filter.
class Palette : public CDialogImpl<Palette>, public CMessageFilter {
 public:
  static const DLGTEMPLATE* GetDialogTemplate() {
    static const CDialogTemplate dialog_template(WS_POPUP | WS_CAPTION, 0, 100, 50, L"Palette",
                                                 L"MS Shell Dlg", 8);
    return dialog_template.Get();
  }
  BEGIN_MSG_MAP(Palette)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
  END_MSG_MAP()
  BOOL PreTranslateMessage(MSG* msg) override { return m_hWnd && ::IsDialogMessageW(m_hWnd, msg); }
  LRESULT OnCancel(WORD, WORD, HWND, BOOL&) {
    EndDialog(IDCANCEL);  // modeless: destroys
    ::PostQuitMessage(5);
    return 0;
  }
  void OnFinalMessage(HWND) override { ++finals; }

  int finals = 0;
};

TEST(Dialog, ModelessDialogTakesItsKeysThroughTheLoopAndEndsByDestruction) {
  PumpPending();
  CMessageLoop loop;
  Palette palette;
  HWND dialog = palette.Create(nullptr);
  ASSERT_TRUE(dialog);
  loop.AddMessageFilter(&palette);
  EXPECT_EQ(palette.GetWindowText(), L"Palette") << "read past the font fields";
  EXPECT_EQ(palette.Create(nullptr), nullptr) << "one dialog per object";

  palette.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  EXPECT_EQ(loop.Run(), 5);
  EXPECT_FALSE(::IsWindow(dialog));
  EXPECT_EQ(palette.finals, 1);
  EXPECT_EQ(palette.m_hWnd, nullptr);
}

}  // namespace
