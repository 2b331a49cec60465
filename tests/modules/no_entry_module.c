/* A DLL that is not a module: it exports nothing the host looks for. */
#include <windows.h>

__declspec(dllexport) int NotAModule(void) { return 0; }
