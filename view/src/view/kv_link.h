// A SysLink control ("Read the <a href=\"...\">notes</a>") painted without flicker.
//
// The parent gets the link's WM_NOTIFY (NM_CLICK, NM_RETURN) and answers WM_CTLCOLORSTATIC
// for the background as for any SysLink. User-interface thread only.
#pragma once

#include <windows.h>

#include "view/vantorel_export.h"

class TERLink;

class VANTOREL_API KvLink {
 public:
  KvLink();
  ~KvLink();  // leaves the window alone
  KvLink(const KvLink&) = delete;
  KvLink& operator=(const KvLink&) = delete;

  HWND Create(HWND parent, const RECT& rect, const wchar_t* text = nullptr, DWORD style = 0,
              DWORD exstyle = 0, UINT id = 0, void* param = nullptr);
  operator HWND() const;

 private:
  TERLink* m_pImpl;
};
