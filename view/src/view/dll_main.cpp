// The library's window classes (superclasses of the system controls) are registered on first
// use and must go when the library is unloaded: a class left behind would point into freed code.
#include <windows.h>

#include "winlayer/window_class.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  // At process exit (reserved non-null) the classes die with the process anyway.
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) UnregisterWindowClasses();
  return TRUE;
}
