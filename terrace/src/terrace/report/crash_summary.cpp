#include "terrace/report/crash_summary.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>

#include "terrace/text.h"

namespace terrace {
namespace {

struct KnownCode {
  DWORD code;
  const char* text;
};

constexpr KnownCode kKnownCodes[] = {
    {EXCEPTION_ACCESS_VIOLATION, "access violation"},
    {EXCEPTION_STACK_OVERFLOW, "stack overflow"},
    {kAbortCode, "abort() was called"},
    {kPureCallCode, "pure virtual function call"},
    {kInvalidParameterCode, "invalid parameter passed to the C runtime"},
    {EXCEPTION_IN_PAGE_ERROR, "page could not be read in"},
    {EXCEPTION_INT_DIVIDE_BY_ZERO, "integer division by zero"},
    {EXCEPTION_INT_OVERFLOW, "integer overflow"},
    {EXCEPTION_ILLEGAL_INSTRUCTION, "illegal instruction"},
    {EXCEPTION_PRIV_INSTRUCTION, "privileged instruction"},
    {EXCEPTION_DATATYPE_MISALIGNMENT, "misaligned data"},
    {EXCEPTION_ARRAY_BOUNDS_EXCEEDED, "array bounds exceeded"},
    {EXCEPTION_FLT_DIVIDE_BY_ZERO, "floating-point division by zero"},
    {EXCEPTION_FLT_INVALID_OPERATION, "invalid floating-point operation"},
    {EXCEPTION_BREAKPOINT, "breakpoint"},
    {EXCEPTION_NONCONTINUABLE_EXCEPTION, "continued a non-continuable exception"},
    {0xC0000409, "stack buffer overrun or fast fail"},
    {0xC0000374, "heap corruption"},
    {0xE06D7363, "C++ exception not caught (Visual C++)"},
    {0x20474343, "C++ exception not caught (GCC)"},
};

std::string Hex(uintptr_t value, int digits) {
  char text[24];
  std::snprintf(text, sizeof(text), "0x%0*llX", digits, static_cast<unsigned long long>(value));
  return text;
}

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
  return !prefix.empty() && text.compare(0, prefix.size(), prefix) == 0;
}

std::wstring WithSeparator(std::wstring folder) {
  if (!folder.empty() && !IsSeparator(folder.back())) folder += L'\\';
  return folder;
}

std::wstring FolderOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::string FileNameOf(const std::wstring& path) {
  return Narrow(path.substr(FolderOf(path).size()));
}

// "name + 0x1A2B", or the bare address when no module holds it.
std::string Place(const std::vector<LoadedModule>& modules, uintptr_t address) {
  const LoadedModule* module = ModuleAt(modules, address);
  if (!module) return Hex(address, 16) + " (outside every module)";
  return FileNameOf(module->path) + " + " + Hex(address - module->base, 1);
}

bool IsSystemLibrary(const LoadedModule& module, const ModuleFolders& folders) {
  return StartsWith(Lower(module.path), Lower(WithSeparator(folders.system)));
}

// The first frame not in the reporter nor in the system: the code that asked for trouble.
// A crash entirely inside the system blames the module it happened in.
const LoadedModule* BlamedModule(const std::vector<uintptr_t>& frames,
                                 const std::vector<LoadedModule>& modules,
                                 const ModuleFolders& folders, uintptr_t reporter,
                                 uintptr_t* address) {
  const LoadedModule* first = nullptr;
  for (uintptr_t frame : frames) {
    const LoadedModule* module = ModuleAt(modules, frame);
    if (!module) continue;
    if (module->base == reporter) continue;
    if (!first) {
      first = module;
      *address = frame;
    }
    if (!IsSystemLibrary(*module, folders)) {
      *address = frame;
      return module;
    }
  }
  return first;
}

}  // namespace

void CurrentThreadStack(uintptr_t* low, uintptr_t* high) {
  // NT_TIB's StackBase and StackLimit, at gs:0x08 and gs:0x10 on x64.
  __asm__("movq %%gs:0x08, %0" : "=r"(*high));
  __asm__("movq %%gs:0x10, %0" : "=r"(*low));
}

std::string DescribeException(const EXCEPTION_RECORD& record) {
  const DWORD code = record.ExceptionCode;
  const auto known = std::find_if(std::begin(kKnownCodes), std::end(kKnownCodes),
                                  [code](const KnownCode& entry) { return entry.code == code; });
  std::string text = known != std::end(kKnownCodes) ? known->text : "exception";
  text += " (" + Hex(code, 8) + ")";
  const bool memory = code == EXCEPTION_ACCESS_VIOLATION || code == EXCEPTION_IN_PAGE_ERROR;
  if (memory && record.NumberParameters >= 2) {
    const ULONG_PTR kind = record.ExceptionInformation[0];
    text += kind == 1 ? ", writing address " : kind == 8 ? ", executing address " : ", reading address ";
    text += Hex(record.ExceptionInformation[1], 16);
  }
  return text;
}

std::string ModuleRole(const std::wstring& path, const ModuleFolders& folders) {
  const std::wstring lower = Lower(path);
  if (lower == Lower(folders.executable)) return "the program";
  const std::wstring program_folder = Lower(FolderOf(folders.executable));
  if (StartsWith(lower, program_folder)) {
    const std::wstring rest = path.substr(program_folder.size());
    const size_t slash = rest.find_first_of(L"\\/");
    if (slash == std::wstring::npos) return "a library of the program";
    return "plug-in \"" + Narrow(rest.substr(0, slash)) + "\"";
  }
  if (StartsWith(lower, Lower(WithSeparator(folders.system)))) return "a system library";
  return "a library from elsewhere";
}

std::vector<uintptr_t> WalkStack(const CrashFacts& facts, size_t max_frames) {
  std::vector<uintptr_t> frames;
  CONTEXT context = facts.context;
  const auto inside_stack = [&facts](DWORD64 address) {
    return address >= facts.stack_low && address + 8 <= facts.stack_high;
  };
  frames.push_back(static_cast<uintptr_t>(context.Rip));
  while (frames.size() < max_frames && inside_stack(context.Rsp)) {
    DWORD64 image_base = 0;
    PRUNTIME_FUNCTION function = ::RtlLookupFunctionEntry(context.Rip, &image_base, nullptr);
    if (function) {
      // A frame-pointer function is unwound through that register: check it first.
      const auto* info = reinterpret_cast<const BYTE*>(image_base + function->UnwindData);
      const unsigned frame_register = info[3] & 0x0F;
      if (frame_register != 0 && !inside_stack((&context.Rax)[frame_register])) break;
      void* handler_data = nullptr;
      DWORD64 establisher = 0;
      ::RtlVirtualUnwind(UNW_FLAG_NHANDLER, image_base, context.Rip, function, &context,
                         &handler_data, &establisher, nullptr);
    } else {
      // A leaf function, or a jump to nowhere: the return address is on top of the stack.
      context.Rip = *reinterpret_cast<const DWORD64*>(context.Rsp);
      context.Rsp += 8;
    }
    if (context.Rip == 0) break;
    frames.push_back(static_cast<uintptr_t>(context.Rip));
  }
  return frames;
}

std::vector<LoadedModule> LoadedModules() {
  std::vector<LoadedModule> modules;
  HANDLE process = ::GetCurrentProcess();
  std::vector<HMODULE> handles(512);
  DWORD needed = 0;
  if (!::EnumProcessModules(process, handles.data(),
                            static_cast<DWORD>(handles.size() * sizeof(HMODULE)), &needed))
    return modules;
  handles.resize(std::min<size_t>(handles.size(), needed / sizeof(HMODULE)));
  wchar_t path[MAX_PATH * 2];
  for (HMODULE handle : handles) {
    MODULEINFO info = {};
    if (!::GetModuleInformation(process, handle, &info, sizeof(info))) continue;
    const DWORD length = ::GetModuleFileNameExW(process, handle, path, MAX_PATH * 2);
    modules.push_back({reinterpret_cast<uintptr_t>(info.lpBaseOfDll), info.SizeOfImage,
                       std::wstring(path, length)});
  }
  return modules;
}

const LoadedModule* ModuleAt(const std::vector<LoadedModule>& modules, uintptr_t address) {
  for (const LoadedModule& module : modules)
    if (address >= module.base && address - module.base < module.size) return &module;
  return nullptr;
}

std::string CrashSummary(const CrashFacts& facts, const std::vector<uintptr_t>& frames,
                         const std::vector<LoadedModule>& modules, const ModuleFolders& folders,
                         uintptr_t reporter) {
  const char* const kEnd = "\r\n";
  std::string text = FileNameOf(folders.executable) + " stopped: " +
                     DescribeException(facts.record) + kEnd;
  uintptr_t blamed_address = 0;
  if (const LoadedModule* blamed =
          BlamedModule(frames, modules, folders, reporter, &blamed_address)) {
    text += "Module: " + FileNameOf(blamed->path) + " + " + Hex(blamed_address - blamed->base, 1) +
            ", " + ModuleRole(blamed->path, folders) + kEnd;
    text += "Path: " + Narrow(blamed->path) + kEnd;
  } else {
    text += "Module: none (the code address lies outside every module)";
    text += kEnd;
  }
  const uintptr_t address = reinterpret_cast<uintptr_t>(facts.record.ExceptionAddress);
  text += "Faulting address: " + Place(modules, address) + kEnd;
  text += "Thread: " + std::to_string(facts.thread_id) +
          (facts.main_thread ? " (main thread)" : " (not the main thread)") + kEnd;
  SYSTEMTIME now = {};
  ::GetLocalTime(&now);
  char when[64];
  std::snprintf(when, sizeof(when), "%04u-%02u-%02u %02u:%02u:%02u local time, process %lu",
                now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond,
                ::GetCurrentProcessId());
  text += std::string("Time: ") + when + kEnd + kEnd;

  text += "Stack of the crashing thread:";
  text += kEnd;
  for (size_t i = 0; i < frames.size(); ++i) {
    char number[16];
    std::snprintf(number, sizeof(number), "  #%02u ", static_cast<unsigned>(i));
    text += number + Hex(frames[i], 16) + "  " + Place(modules, frames[i]) + kEnd;
  }
  text += kEnd;
  text += "Loaded modules:";
  text += kEnd;
  for (const LoadedModule& module : modules)
    text += "  " + Hex(module.base, 16) + " " + Hex(module.size, 8) + "  " + Narrow(module.path) +
            kEnd;
  return text;
}

}  // namespace terrace
