/* A module's private dependency; the value tells which build was loaded. */
__declspec(dllexport) int ProbeDepValue(void) { return PROBE_DEP_VALUE; }
