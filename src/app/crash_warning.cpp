#include "app/crash_warning.h"

#include <windows.h>

#include "app/product_identity.h"

void ShowCrashWarning(const std::wstring& text) {
  ::MessageBoxW(::GetActiveWindow(), text.c_str(), ProductDisplayNameWide().c_str(),
                MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}
