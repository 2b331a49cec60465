// Compiled into executables only (the winlayer_exe target), so no DLL exports this name.
#include "winlayer/process_state.h"

extern "C" __declspec(dllexport) void* WinLayerProcessState() {
  static void* const state = winlayer::NewProcessState();
  return state;
}
