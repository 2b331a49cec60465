// Message maps: a class declares which member handles which message, and may chain to base
// classes or members. The map becomes the class's ProcessWindowMessage.
//
//   BEGIN_MSG_MAP(CMyView)
//     MESSAGE_HANDLER(WM_PAINT, OnPaint)         // LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&)
//     COMMAND_ID_HANDLER(IDOK, OnOk)             // LRESULT OnOk(WORD code, WORD id, HWND, BOOL&)
//     NOTIFY_CODE_HANDLER(NM_CLICK, OnClick)     // LRESULT OnClick(int id, LPNMHDR, BOOL&)
//     CHAIN_MSG_MAP(CBase)
//     REFLECT_NOTIFICATIONS()                    // children get their WM_COMMAND etc. back
//   ALT_MSG_MAP(1)                               // map 1, for a CHAIN_MSG_MAP_ALT or a
//     ...                                        // contained window
//   END_MSG_MAP()
//
// A handler finds `handled` set to TRUE; setting it to FALSE lets the map go on and, when
// nothing else takes the message, the default procedure runs.
#pragma once

#include <windows.h>

class CMessageMap {
 public:
  virtual BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                    LRESULT& lResult, DWORD dwMsgMapID) = 0;

 protected:
  ~CMessageMap() = default;
};

#define BEGIN_MSG_MAP(theClass)                                                          \
 public:                                                                                 \
  BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,          \
                            LRESULT& lResult, DWORD dwMsgMapID = 0) {                    \
    BOOL bHandled = TRUE;                                                                \
    (void)hWnd;                                                                          \
    (void)uMsg;                                                                          \
    (void)wParam;                                                                        \
    (void)lParam;                                                                        \
    (void)lResult;                                                                       \
    (void)bHandled;                                                                      \
    switch (dwMsgMapID) {                                                                \
      case 0:

#define ALT_MSG_MAP(msgMapID) \
  break;                      \
  case msgMapID:

#define END_MSG_MAP() \
  break;              \
  default:            \
    break;            \
  }                   \
  return FALSE;       \
  }

#define MESSAGE_HANDLER(msg, func)                    \
  if (uMsg == (msg)) {                                \
    bHandled = TRUE;                                  \
    lResult = func(uMsg, wParam, lParam, bHandled);   \
    if (bHandled) return TRUE;                        \
  }

#define MESSAGE_RANGE_HANDLER(msgFirst, msgLast, func) \
  if (uMsg >= (msgFirst) && uMsg <= (msgLast)) {       \
    bHandled = TRUE;                                   \
    lResult = func(uMsg, wParam, lParam, bHandled);    \
    if (bHandled) return TRUE;                         \
  }

#define COMMAND_HANDLER(id, code, func)                                                   \
  if (uMsg == WM_COMMAND && (id) == LOWORD(wParam) && (code) == HIWORD(wParam)) {          \
    bHandled = TRUE;                                                                      \
    lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam),        \
                   bHandled);                                                             \
    if (bHandled) return TRUE;                                                            \
  }

#define COMMAND_ID_HANDLER(id, func)                                                      \
  if (uMsg == WM_COMMAND && (id) == LOWORD(wParam)) {                                     \
    bHandled = TRUE;                                                                      \
    lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam),        \
                   bHandled);                                                             \
    if (bHandled) return TRUE;                                                            \
  }

#define COMMAND_CODE_HANDLER(code, func)                                                  \
  if (uMsg == WM_COMMAND && (code) == HIWORD(wParam)) {                                   \
    bHandled = TRUE;                                                                      \
    lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam),        \
                   bHandled);                                                             \
    if (bHandled) return TRUE;                                                            \
  }

#define NOTIFY_HANDLER(id, cd, func)                                                      \
  if (uMsg == WM_NOTIFY &&                                                                \
      static_cast<UINT_PTR>(id) == reinterpret_cast<LPNMHDR>(lParam)->idFrom &&           \
      static_cast<UINT>(cd) == reinterpret_cast<LPNMHDR>(lParam)->code) {                 \
    bHandled = TRUE;                                                                      \
    lResult = func(static_cast<int>(wParam), reinterpret_cast<LPNMHDR>(lParam), bHandled); \
    if (bHandled) return TRUE;                                                            \
  }

#define NOTIFY_ID_HANDLER(id, func)                                                       \
  if (uMsg == WM_NOTIFY &&                                                                \
      static_cast<UINT_PTR>(id) == reinterpret_cast<LPNMHDR>(lParam)->idFrom) {           \
    bHandled = TRUE;                                                                      \
    lResult = func(static_cast<int>(wParam), reinterpret_cast<LPNMHDR>(lParam), bHandled); \
    if (bHandled) return TRUE;                                                            \
  }

#define NOTIFY_CODE_HANDLER(cd, func)                                                     \
  if (uMsg == WM_NOTIFY && static_cast<UINT>(cd) == reinterpret_cast<LPNMHDR>(lParam)->code) { \
    bHandled = TRUE;                                                                      \
    lResult = func(static_cast<int>(wParam), reinterpret_cast<LPNMHDR>(lParam), bHandled); \
    if (bHandled) return TRUE;                                                            \
  }

#define CHAIN_MSG_MAP(theChainClass)                                              \
  {                                                                               \
    if (theChainClass::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult)) \
      return TRUE;                                                                \
  }

#define CHAIN_MSG_MAP_ALT(theChainClass, msgMapID)                                           \
  {                                                                                          \
    if (theChainClass::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, msgMapID)) \
      return TRUE;                                                                           \
  }

#define CHAIN_MSG_MAP_MEMBER(theChainMember)                                        \
  {                                                                                 \
    if ((theChainMember).ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult)) \
      return TRUE;                                                                  \
  }

#define CHAIN_MSG_MAP_ALT_MEMBER(theChainMember, msgMapID)                                     \
  {                                                                                           \
    if ((theChainMember).ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, msgMapID)) \
      return TRUE;                                                                            \
  }

// In a parent: sends WM_COMMAND, WM_NOTIFY, WM_DRAWITEM and the other control notifications
// back to the control that caused them, as OCM_BASE + message.
#define REFLECT_NOTIFICATIONS()                                   \
  {                                                               \
    bHandled = TRUE;                                              \
    lResult = ReflectNotifications(uMsg, wParam, lParam, bHandled); \
    if (bHandled) return TRUE;                                    \
  }

// In a control: gives reflected messages nobody handled the answer the parent's default
// procedure would have given.
#define DEFAULT_REFLECTION_HANDLER()                                           \
  if (DefaultReflectionHandler(hWnd, uMsg, wParam, lParam, lResult)) return TRUE;

// Reflected messages arrive at the control as OCM_BASE + the original message.
constexpr UINT OCM_BASE = WM_USER + 0x1c00;

#ifndef OCM_COMMAND
#define OCM_COMMAND (OCM_BASE + WM_COMMAND)
#define OCM_CTLCOLORBTN (OCM_BASE + WM_CTLCOLORBTN)
#define OCM_CTLCOLOREDIT (OCM_BASE + WM_CTLCOLOREDIT)
#define OCM_CTLCOLORDLG (OCM_BASE + WM_CTLCOLORDLG)
#define OCM_CTLCOLORLISTBOX (OCM_BASE + WM_CTLCOLORLISTBOX)
#define OCM_CTLCOLORMSGBOX (OCM_BASE + WM_CTLCOLORMSGBOX)
#define OCM_CTLCOLORSCROLLBAR (OCM_BASE + WM_CTLCOLORSCROLLBAR)
#define OCM_CTLCOLORSTATIC (OCM_BASE + WM_CTLCOLORSTATIC)
#define OCM_DRAWITEM (OCM_BASE + WM_DRAWITEM)
#define OCM_MEASUREITEM (OCM_BASE + WM_MEASUREITEM)
#define OCM_DELETEITEM (OCM_BASE + WM_DELETEITEM)
#define OCM_VKEYTOITEM (OCM_BASE + WM_VKEYTOITEM)
#define OCM_CHARTOITEM (OCM_BASE + WM_CHARTOITEM)
#define OCM_COMPAREITEM (OCM_BASE + WM_COMPAREITEM)
#define OCM_HSCROLL (OCM_BASE + WM_HSCROLL)
#define OCM_VSCROLL (OCM_BASE + WM_VSCROLL)
#define OCM_PARENTNOTIFY (OCM_BASE + WM_PARENTNOTIFY)
#define OCM_NOTIFY (OCM_BASE + WM_NOTIFY)
#endif
