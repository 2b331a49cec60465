// The window layer's process-wide state (module object, object-map entries) lives once per
// process, in the executable; DLLs that link the layer reach it through this export.
#pragma once

namespace winlayer {

inline constexpr char kProcessStateExport[] = "WinLayerProcessState";

// A fresh, never-freed state; only the export and the fallback call it.
void* NewProcessState();

}  // namespace winlayer
