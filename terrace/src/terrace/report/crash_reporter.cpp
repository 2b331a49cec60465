#include "terrace/report/crash_reporter.h"

#include <dbghelp.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <mutex>
#include <new>
#include <vector>

#include "terrace/report/report_archive.h"
#include "terrace/text.h"

namespace terrace {
namespace {

constexpr SIZE_T kReporterStack = 1024 * 1024;
constexpr size_t kMaxFrames = 64;
// Start-up is over by then, even on a loaded machine.
// The stress test waits this long (and a margin) before it counts the handles.
constexpr DWORD kSymbolDelayMs = 10000;

// Enough for a support engineer to see every thread's stack and what it points at,
// small enough to send by mail.
constexpr int kDumpType = MiniDumpWithIndirectlyReferencedMemory | MiniDumpWithUnloadedModules |
                          MiniDumpWithThreadInfo | MiniDumpWithProcessThreadData;

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

std::wstring NameOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring ModulePath(HMODULE module) {
  wchar_t path[MAX_PATH * 2];
  const DWORD length = ::GetModuleFileNameW(module, path, MAX_PATH * 2);
  return std::wstring(path, length);
}

ModuleFolders CurrentFolders() {
  wchar_t windows[MAX_PATH] = {};
  const UINT length = ::GetSystemWindowsDirectoryW(windows, MAX_PATH);
  return {ModulePath(nullptr), std::wstring(windows, length < MAX_PATH ? length : 0)};
}

uintptr_t OwnModule() {
  HMODULE module = nullptr;
  ::GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&OwnModule), &module);
  return reinterpret_cast<uintptr_t>(module);
}

bool WriteText(const std::wstring& path, const std::string& text) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(file);
  return ok && written == text.size();
}

bool Exists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// "Crash-20261206-153012-4242": sorts by time; the process id keeps two reports of the
// same second apart.
std::wstring ReportName() {
  SYSTEMTIME now = {};
  ::GetLocalTime(&now);
  wchar_t name[64];
  std::swprintf(name, 64, L"Crash-%04u%02u%02u-%02u%02u%02u-%lu", now.wYear, now.wMonth, now.wDay,
                now.wHour, now.wMinute, now.wSecond, ::GetCurrentProcessId());
  return name;
}

// Files already lying in the report folder: in this program the day's logs. They go into
// the archive because the warning clears them out of the folder afterwards.
std::vector<std::wstring> LooseFiles(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW entry;
  HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
      continue;
    const std::wstring name = entry.cFileName;
    const std::wstring lower = Lower(name);
    if (lower.find(L".zip") != std::wstring::npos) continue;  // earlier reports
    if (lower.size() > 8 && lower.compare(lower.size() - 8, 8, L".partial") == 0) continue;
    names.push_back(name);
  } while (::FindNextFileW(search, &entry));
  ::FindClose(search);
  return names;
}

}  // namespace

CrashReporter& CrashReporter::Instance() {
  static CrashReporter* reporter = new CrashReporter;
  return *reporter;
}

void CrashReporter::SetTarget(const wchar_t* folder, TerCrashWarningCallback warning,
                              TerCrashMarkerCallback marker) {
  static std::mutex arming;
  std::lock_guard<std::mutex> guard(arming);
  if (!folder || !*folder) {
    target_.store(nullptr);
    return;
  }
  Target* target = new (std::nothrow) Target;
  if (!target) return;
  try {
    target->folder = folder;
    if (!IsSeparator(target->folder.back())) target->folder += L'\\';
  } catch (const std::bad_alloc&) {
    delete target;
    return;
  }
  target->warning = warning;
  target->marker = marker;
  main_thread_.store(::GetCurrentThreadId());
  StartThread();
  // Earlier targets stay alive: a caller may still hold the folder Folder() gave it.
  target_.store(target);
}

const wchar_t* CrashReporter::Folder() const {
  const Target* target = target_.load();
  return target ? target->folder.c_str() : nullptr;
}

bool CrashReporter::StartThread() {
  if (thread_) return true;
  request_ = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
  dbghelp_ready_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!request_ || !dbghelp_ready_) return false;
  thread_ = ::CreateThread(nullptr, kReporterStack, &CrashReporter::ThreadMain, this,
                           STACK_SIZE_PARAM_IS_A_RESERVATION, &thread_id_);
  return thread_ != nullptr;
}

DWORD WINAPI CrashReporter::ThreadMain(void* self) {
  auto* reporter = static_cast<CrashReporter*>(self);
  reporter->LoadDbgHelp();
  // Setting up the symbols costs a busy machine a few hundred milliseconds of processor
  // time: not while the program starts, unless a crash needs them sooner.
  const bool crashed = ::WaitForSingleObject(reporter->request_, kSymbolDelayMs) == WAIT_OBJECT_0;
  reporter->InitializeSymbols();
  if (!crashed) ::WaitForSingleObject(reporter->request_, INFINITE);
  reporter->MakeReport();
  ::TerminateProcess(::GetCurrentProcess(), reporter->facts_.record.ExceptionCode);
  return 0;
}

// Loaded in advance: loading a library after a crash needs the loader lock, which the
// crashed thread may hold.
void CrashReporter::LoadDbgHelp() {
  if (HMODULE dbghelp = ::LoadLibraryW(L"dbghelp.dll")) {
    write_dump_ = reinterpret_cast<WriteDumpFunction>(
        reinterpret_cast<void*>(::GetProcAddress(dbghelp, "MiniDumpWriteDump")));
    initialize_symbols_ = reinterpret_cast<InitializeSymbolsFunction>(
        reinterpret_cast<void*>(::GetProcAddress(dbghelp, "SymInitializeW")));
  }
}

void CrashReporter::InitializeSymbols() {
  // Without this, Wine's dbghelp reads the debug information of every library in the
  // process when the dump is written, which takes minutes on a busy machine.
  if (initialize_symbols_) initialize_symbols_(::GetCurrentProcess(), nullptr, FALSE);
  ::SetEvent(dbghelp_ready_);
}

void CrashReporter::Report(EXCEPTION_POINTERS* pointers) {
  const DWORD code = pointers->ExceptionRecord->ExceptionCode;
  const DWORD self = ::GetCurrentThreadId();
  // The report itself failed: nothing more can be done safely.
  if (self == thread_id_) ::TerminateProcess(::GetCurrentProcess(), code);
  if (claimed_.exchange(true)) {
    for (;;) ::Sleep(INFINITE);
  }
  facts_.record = *pointers->ExceptionRecord;
  facts_.context = *pointers->ContextRecord;
  facts_.thread_id = self;
  facts_.main_thread = self == main_thread_.load();
  CurrentThreadStack(&facts_.stack_low, &facts_.stack_high);
  pointers_ = pointers;
  if (thread_ && ::SetEvent(request_)) {
    // The reporter ends the process; should it die first, this thread does.
    ::WaitForSingleObject(thread_, INFINITE);
  }
  ::TerminateProcess(::GetCurrentProcess(), code);
  for (;;) ::Sleep(INFINITE);
}

bool CrashReporter::WriteDump(const std::wstring& path) {
  ::WaitForSingleObject(dbghelp_ready_, INFINITE);
  if (!write_dump_) return false;
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  MINIDUMP_EXCEPTION_INFORMATION exception = {facts_.thread_id, pointers_, FALSE};
  const BOOL ok = write_dump_(::GetCurrentProcess(), ::GetCurrentProcessId(), file, kDumpType,
                              &exception, nullptr, nullptr);
  ::CloseHandle(file);
  if (!ok) ::DeleteFileW(path.c_str());
  return ok != FALSE;
}

void CrashReporter::MakeReport() {
  const Target* target = target_.load();
  if (!target) return;  // disarmed while the crash came in
  const std::wstring& folder = target->folder;
  const std::wstring name = ReportName();
  const std::wstring dump = folder + name + L".dmp";
  const std::wstring summary = folder + name + L".txt";
  const std::wstring archive = folder + name + L".zip";

  // Most valuable first: should a later step fail, what came before is on disk.
  const bool dumped = WriteDump(dump);
  const std::vector<uintptr_t> frames = WalkStack(facts_, kMaxFrames);
  WriteText(summary, CrashSummary(facts_, frames, LoadedModules(), CurrentFolders(), OwnModule()));

  // The callbacks may open windows and the shell; they expect COM on their thread.
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  wchar_t* marker = nullptr;
  if (target->marker) target->marker(folder.c_str(), &marker);
  const std::wstring marker_path = marker ? marker : L"";
  std::free(marker);

  std::vector<ArchiveEntry> entries;
  if (dumped) entries.push_back({dump, "Crash.dmp"});
  entries.push_back({summary, "Crash.txt"});
  if (!marker_path.empty() && Exists(marker_path))
    entries.push_back({marker_path, Narrow(NameOf(marker_path))});
  const std::wstring own[] = {Lower(NameOf(dump)), Lower(NameOf(summary)),
                              Lower(NameOf(marker_path))};
  for (const std::wstring& loose : LooseFiles(folder)) {
    const std::wstring lower = Lower(loose);
    if (lower == own[0] || lower == own[1] || lower == own[2]) continue;
    entries.push_back({folder + loose, "logs/" + Narrow(loose)});
  }

  std::wstring report = archive;
  if (!WriteArchive(archive, entries)) report = KeepLooseFiles(folder, name, own, 3);
  if (target->warning) target->warning(report.c_str());
}

// No archive could be made (a full disk, a locked name): the files move into a folder of
// their own, which the warning's cleanup does not enter, so nothing of the report is lost.
// Returns that folder, as a path inside the report folder.
std::wstring CrashReporter::KeepLooseFiles(const std::wstring& folder, const std::wstring& name,
                                           const std::wstring* own, size_t own_count) {
  const std::wstring keep = folder + name;
  ::CreateDirectoryW(keep.c_str(), nullptr);
  for (const std::wstring& loose : LooseFiles(folder)) {
    const std::wstring from = folder + loose;
    const std::wstring to = keep + L"\\" + loose;
    bool ours = false;
    for (size_t i = 0; i < own_count; ++i) ours = ours || Lower(loose) == own[i];
    // The logs may still be open for writing: copied, not moved.
    if (!ours || !::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_COPY_ALLOWED))
      ::CopyFileW(from.c_str(), to.c_str(), FALSE);
  }
  return keep;
}

}  // namespace terrace
