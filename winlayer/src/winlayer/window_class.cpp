#include "winlayer/window_class.h"

#include <cstdint>

#include "winlayer/app_module.h"

namespace {
SRWLOCK registration_lock = SRWLOCK_INIT;

// "Ostrevan:" and the info's address in hex: unique within the module.
void WriteAutoName(CWndClassInfo& info) {
  static const wchar_t kPrefix[] = L"Ostrevan:";
  static const wchar_t kDigits[] = L"0123456789ABCDEF";
  wchar_t* out = info.m_szAutoName;
  for (const wchar_t* in = kPrefix; *in; ++in) *out++ = *in;
  const auto address = reinterpret_cast<uintptr_t>(&info);
  for (int shift = static_cast<int>(sizeof(address) * 8) - 4; shift >= 0; shift -= 4) {
    *out++ = kDigits[(address >> shift) & 0xF];
  }
  *out = L'\0';
}
}  // namespace

ATOM CWndClassInfo::Register(WNDPROC* super_proc) {
  return win32_detail::RegisterClassInfo(*this, super_proc, 0);
}

namespace win32_detail {

ATOM RegisterClassInfo(CWndClassInfo& info, WNDPROC* super_proc, UINT icon_id) {
  AcquireSRWLockExclusive(&registration_lock);
  if (info.m_atom == 0) {
    HINSTANCE instance = ModuleHelper::GetModuleInstance();
    WNDCLASSEXW wc = info.m_wc;
    wc.cbSize = sizeof(wc);
    wc.hInstance = instance;
    bool ready = true;
    if (info.m_lpszOrigName) {
      // System classes are registered without an instance; custom ones with ours.
      WNDCLASSEXW original{};
      original.cbSize = sizeof(original);
      ready = ::GetClassInfoExW(nullptr, info.m_lpszOrigName, &original) ||
              ::GetClassInfoExW(instance, info.m_lpszOrigName, &original);
      if (ready) {
        info.pWndProc = original.lpfnWndProc;
        wc = original;
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = info.m_wc.lpfnWndProc;
        wc.lpszClassName = info.m_wc.lpszClassName;
        wc.hInstance = instance;
        wc.style &= ~CS_GLOBALCLASS;
        wc.lpszMenuName = nullptr;
      }
    } else {
      if (!wc.hCursor && info.m_lpszCursorID) {
        wc.hCursor = ::LoadCursorW(info.m_bSystemCursor ? nullptr : instance, info.m_lpszCursorID);
      }
      if (icon_id != 0) {
        const wchar_t* resource = MAKEINTRESOURCEW(icon_id);
        HINSTANCE resources = ModuleHelper::GetResourceInstance();
        // Class icons live as long as the class, which is the process.
        wc.hIcon = static_cast<HICON>(::LoadImageW(resources, resource, IMAGE_ICON,
                                                   ::GetSystemMetrics(SM_CXICON),
                                                   ::GetSystemMetrics(SM_CYICON), 0));
        wc.hIconSm = static_cast<HICON>(::LoadImageW(resources, resource, IMAGE_ICON,
                                                     ::GetSystemMetrics(SM_CXSMICON),
                                                     ::GetSystemMetrics(SM_CYSMICON), 0));
      }
    }
    if (ready && !wc.lpszClassName) {
      WriteAutoName(info);
      wc.lpszClassName = info.m_szAutoName;
    }
    if (ready) {
      ATOM atom = ::RegisterClassExW(&wc);
      if (atom == 0 && ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS) {
        // Registered earlier under the same name for this module (by another C++ class that
        // declared the same name): share it.
        WNDCLASSEXW existing{};
        existing.cbSize = sizeof(existing);
        atom = static_cast<ATOM>(::GetClassInfoExW(instance, wc.lpszClassName, &existing));
      }
      if (atom != 0) {
        info.m_wc = wc;
        info.m_atom = atom;
      } else if (wc.hIcon || wc.hIconSm) {
        if (wc.hIcon) ::DestroyIcon(wc.hIcon);
        if (wc.hIconSm) ::DestroyIcon(wc.hIconSm);
      }
    }
  }
  if (info.m_atom != 0 && super_proc) {
    *super_proc = info.m_lpszOrigName ? info.pWndProc : ::DefWindowProcW;
  }
  const ATOM atom = info.m_atom;
  ReleaseSRWLockExclusive(&registration_lock);
  return atom;
}

}  // namespace win32_detail
