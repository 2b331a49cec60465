#include "common/win32/dialog.h"

#include <gtest/gtest.h>

#include "common/win32/app_module.h"
#include "common/win32/message_loop.h"
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
  EXPECT_EQ(dialog.brush_while_running, reinterpret_cast<LRESULT>(::GetStockObject(GRAY_BRUSH)));
  EXPECT_EQ(dialog.finals, 1);
  EXPECT_EQ(dialog.m_hWnd, nullptr);

  dialog.end_at_once = true;
  EXPECT_EQ(dialog.DoModal(nullptr), 7);
  EXPECT_EQ(dialog.finals, 2);
}

TEST(Dialog, AFailedDoModalLeavesNothingPending) {
  Ending dialog;
  EXPECT_LE(dialog.DoModal(reinterpret_cast<HWND>(0x7654321)), 0) << "an invalid owner";
  EXPECT_EQ(dialog.finals, 0);
  // A dialog started by someone else through our dialog procedure finds no object to take.
  HWND foreign = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr),
                                              Ending::GetDialogTemplate(), nullptr,
                                              win32_detail::StartDialogProc, 0);
  ASSERT_TRUE(foreign);
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  ::DestroyWindow(foreign);
  Ending other;
  EXPECT_EQ(other.DoModal(nullptr), 42);
  EXPECT_EQ(dialog.finals, 0);
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
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
  END_MSG_MAP()
  BOOL PreTranslateMessage(MSG* msg) override { return ::IsDialogMessageW(m_hWnd, msg); }
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    if (loop) loop->AddMessageFilter(this);
    return TRUE;
  }
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (loop) loop->RemoveMessageFilter(this);
    handled = FALSE;
    return 0;
  }
  LRESULT OnCancel(WORD, WORD, HWND, BOOL&) {
    ++cancels;
    EndDialog(IDCANCEL);  // modeless: destroys
    ::PostQuitMessage(5);
    return 0;
  }
  void OnFinalMessage(HWND) override { ++finals; }

  CMessageLoop* loop = nullptr;
  int cancels = 0;
  int finals = 0;
};

TEST(Dialog, ModelessCreateAndDestroy) {
  Palette palette;
  HWND dialog = palette.Create(nullptr);
  ASSERT_TRUE(dialog);
  EXPECT_EQ(palette.m_hWnd, dialog);
  EXPECT_EQ(palette.GetWindowText(), L"Palette");
  RECT client{};
  palette.GetClientRect(&client);
  EXPECT_GT(client.right, 100) << "100 dialog units are wider than 100 pixels";
  EXPECT_EQ(palette.Create(nullptr), nullptr) << "one dialog per object";
  EXPECT_TRUE(palette.DestroyWindow());
  EXPECT_FALSE(::IsWindow(dialog));
  EXPECT_EQ(palette.finals, 1);
  EXPECT_EQ(palette.m_hWnd, nullptr);
}

TEST(Dialog, ModelessKeyboardThroughTheLoopsFilter) {
  PumpPending();
  CMessageLoop loop;
  Palette palette;
  palette.loop = &loop;
  ASSERT_TRUE(palette.Create(nullptr));
  palette.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  EXPECT_EQ(loop.Run(), 5);
  EXPECT_EQ(palette.cancels, 1);
  EXPECT_EQ(palette.finals, 1);
  EXPECT_EQ(palette.m_hWnd, nullptr);
}

}  // namespace
