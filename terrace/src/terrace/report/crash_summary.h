// The short text of a crash report: what happened, in which module and where, read by a
// person before anyone opens the dump.
#pragma once

#include <windows.h>

#include <stdint.h>

#include <string>
#include <vector>

namespace terrace {

// Codes for failures the C runtime reports through handlers rather than exceptions.
constexpr DWORD kAbortCode = 0xE0000A01;
constexpr DWORD kPureCallCode = 0xE0000A02;
constexpr DWORD kInvalidParameterCode = 0xC0000417;  // as the system names it

// What the crashing thread left behind, copied before it waits.
struct CrashFacts {
  EXCEPTION_RECORD record;
  CONTEXT context;
  DWORD thread_id;
  bool main_thread;       // the thread that armed the report
  uintptr_t stack_low;    // the crashing thread's committed stack
  uintptr_t stack_high;
};

struct LoadedModule {
  uintptr_t base;
  uintptr_t size;
  std::wstring path;
};

struct ModuleFolders {
  std::wstring executable;  // full path of the program
  std::wstring system;      // the Windows folder; libraries below it are the system's
};

// The committed stack of the calling thread, as its thread block records it.
void CurrentThreadStack(uintptr_t* low, uintptr_t* high);

// "access violation (0xC0000005), writing address 0x0000000000000010".
std::string DescribeException(const EXCEPTION_RECORD& record);
// "the program", "a library of the program", "plug-in \"name\"", "a system library" or
// "a library from elsewhere".
std::string ModuleRole(const std::wstring& path, const ModuleFolders& folders);

// Return addresses of the crashing thread, innermost first. Reads only inside the
// thread's stack, so a damaged stack ends the walk instead of faulting.
std::vector<uintptr_t> WalkStack(const CrashFacts& facts, size_t max_frames);
// Every module of the process, read without the loader lock (a crashed thread may hold it).
std::vector<LoadedModule> LoadedModules();
const LoadedModule* ModuleAt(const std::vector<LoadedModule>& modules, uintptr_t address);

// The whole text (UTF-8, CRLF lines). Frames inside `reporter` (the module that made the
// report) and system libraries are passed over when naming the module to blame.
std::string CrashSummary(const CrashFacts& facts, const std::vector<uintptr_t>& frames,
                         const std::vector<LoadedModule>& modules, const ModuleFolders& folders,
                         uintptr_t reporter);

}  // namespace terrace
