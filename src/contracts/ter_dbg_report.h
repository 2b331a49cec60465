// Crash-report hook of the service library.
#pragma once

#include "terrace_export.h"

typedef void (*TerCrashWarningCallback)(const wchar_t* file_in_report_folder);
// Receives the report folder (ending with "\"); stores a malloc'ed path in *marker_path.
typedef void (*TerCrashMarkerCallback)(const wchar_t* report_folder, wchar_t** marker_path);

class ITerDbgReport {
 public:
  virtual void Arm(const wchar_t* dump_folder, TerCrashWarningCallback warning,
                   TerCrashMarkerCallback marker) = 0;
  virtual const wchar_t* DumpFolder() = 0;  // borrowed; null before Arm

 protected:
  ~ITerDbgReport() = default;
};

extern "C" TERRACE_API ITerDbgReport* CreateTerDbgReport();
