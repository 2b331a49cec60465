// Crash-report hook of the service library.
#pragma once

#include "terrace_export.h"

typedef void (*TerCrashWarningCallback)(const wchar_t* file_in_report_folder);
// Receives the report folder (ending with "\"); stores a malloc'ed path in *marker_path.
typedef void (*TerCrashMarkerCallback)(const wchar_t* report_folder, wchar_t** marker_path);

// Arm hooks the process: an unhandled exception on any thread, abort(), a pure virtual call
// or an invalid parameter given to the C runtime leaves one report in the dump folder: a
// minidump, a summary naming the module at fault, the marker file and the folder's loose
// files, packed into one .zip. Then `warning` gets the archive's path and the process ends.
// Both callbacks run on the reporter's own thread. Arming again replaces folder and
// callbacks; arming with no folder disarms, and later crashes are left to the system.
class ITerDbgReport {
 public:
  virtual void Arm(const wchar_t* dump_folder, TerCrashWarningCallback warning,
                   TerCrashMarkerCallback marker) = 0;
  virtual const wchar_t* DumpFolder() = 0;  // borrowed; null before Arm

 protected:
  ~ITerDbgReport() = default;
};

extern "C" TERRACE_API ITerDbgReport* CreateTerDbgReport();
