// The crash report's pieces, driven without crashing: the archive, the summary's texts and
// the stack walk over a real captured context.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "ter_dbg_report.h"
#include "terrace/report/crash_summary.h"
#include "terrace/report/report_archive.h"
#include "test_files.h"
#include "zip_reader.h"

namespace {

using terrace::ArchiveEntry;

TEST(ReportArchive, PacksEveryReadableFileUnderItsNameAndLeavesNoPartialFile) {
  TempFolder folder(L"report-archive");
  std::string large;
  for (unsigned i = 0; i < 300000; ++i) large += static_cast<char>('a' + (i * 7919u) % 26);
  WriteText(folder.path() + L"dump.dmp", large);
  WriteText(folder.path() + L"empty.txt", "");
  WriteText(folder.path() + L"app.log", "line 1\n");
  // A log still open for writing, as glog's are when the report is packed.
  HANDLE open_log = ::CreateFileW((folder.path() + L"app.log").c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                  nullptr);
  ASSERT_NE(open_log, INVALID_HANDLE_VALUE);

  const std::wstring archive = folder.path() + L"Crash-1.zip";
  ASSERT_TRUE(terrace::WriteArchive(
      archive, {{folder.path() + L"dump.dmp", "Crash.dmp"},
                {folder.path() + L"empty.txt", "Crash.txt"},
                {folder.path() + L"missing.json", "Crash.json"},
                {folder.path() + L"app.log", "logs/app.log"}}));
  ::CloseHandle(open_log);

  std::map<std::string, std::string> entries;
  ASSERT_TRUE(ReadZip(archive, &entries));
  EXPECT_EQ(entries, (std::map<std::string, std::string>{
                         {"Crash.dmp", large}, {"Crash.txt", ""}, {"logs/app.log", "line 1\n"}}));
  EXPECT_EQ(::GetFileAttributesW(terrace::PartialArchiveName(archive).c_str()),
            INVALID_FILE_ATTRIBUTES);

  // Written again over an earlier archive of the same name.
  ASSERT_TRUE(terrace::WriteArchive(archive, {{folder.path() + L"app.log", "again.log"}}));
  ASSERT_TRUE(ReadZip(archive, &entries));
  EXPECT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries.count("again.log"), 1u);
}

TEST(ReportArchive, FailsWithoutLeavingAnythingBehind) {
  TempFolder folder(L"report-archive-fail");
  WriteText(folder.path() + L"a.txt", "a");
  // Nothing readable: no archive of nothing.
  EXPECT_FALSE(terrace::WriteArchive(folder.path() + L"none.zip",
                                     {{folder.path() + L"missing", "missing"}}));
  // The final name is taken by a folder: the rename fails and the partial file goes.
  ::CreateDirectoryW((folder.path() + L"taken.zip").c_str(), nullptr);
  EXPECT_FALSE(terrace::WriteArchive(folder.path() + L"taken.zip", {{folder.path() + L"a.txt", "a"}}));
  // A folder that does not exist.
  EXPECT_FALSE(terrace::WriteArchive(folder.path() + L"no\\such\\x.zip", {{folder.path() + L"a.txt", "a"}}));

  std::vector<std::wstring> left;
  WIN32_FIND_DATAW entry;
  HANDLE search = ::FindFirstFileW((folder.path() + L"*").c_str(), &entry);
  do {
    const std::wstring name = entry.cFileName;
    if (name != L"." && name != L"..") left.push_back(name);
  } while (::FindNextFileW(search, &entry));
  ::FindClose(search);
  EXPECT_EQ(left, (std::vector<std::wstring>{L"a.txt", L"taken.zip"}));
}

TEST(ReportArchive, PartialNameCarriesNoZipThatCleanupWouldKeep) {
  EXPECT_EQ(terrace::PartialArchiveName(L"C:\\logs\\Crash-1.zip"), L"C:\\logs\\Crash-1.partial");
  EXPECT_EQ(terrace::PartialArchiveName(L"C:\\logs\\Crash-1.ZIP"), L"C:\\logs\\Crash-1.partial");
  EXPECT_EQ(terrace::PartialArchiveName(L"report"), L"report.partial");
}

EXCEPTION_RECORD Record(DWORD code, std::vector<ULONG_PTR> information = {}) {
  EXCEPTION_RECORD record = {};
  record.ExceptionCode = code;
  record.NumberParameters = static_cast<DWORD>(information.size());
  for (size_t i = 0; i < information.size(); ++i) record.ExceptionInformation[i] = information[i];
  return record;
}

TEST(CrashSummary, DescribesWhatHappened) {
  const struct {
    EXCEPTION_RECORD record;
    const char* text;
  } cases[] = {
      {Record(EXCEPTION_ACCESS_VIOLATION, {1, 0x10}),
       "access violation (0xC0000005), writing address 0x0000000000000010"},
      {Record(EXCEPTION_ACCESS_VIOLATION, {0, 0}),
       "access violation (0xC0000005), reading address 0x0000000000000000"},
      {Record(EXCEPTION_ACCESS_VIOLATION, {8, 0x1234}),
       "access violation (0xC0000005), executing address 0x0000000000001234"},
      {Record(EXCEPTION_ACCESS_VIOLATION), "access violation (0xC0000005)"},
      {Record(EXCEPTION_STACK_OVERFLOW), "stack overflow (0xC00000FD)"},
      {Record(terrace::kAbortCode), "abort() was called (0xE0000A01)"},
      {Record(terrace::kPureCallCode), "pure virtual function call (0xE0000A02)"},
      {Record(terrace::kInvalidParameterCode),
       "invalid parameter passed to the C runtime (0xC0000417)"},
      {Record(0x20474343), "C++ exception not caught (GCC) (0x20474343)"},
      {Record(0xE1234567), "exception (0xE1234567)"},
  };
  for (const auto& c : cases) EXPECT_EQ(terrace::DescribeException(c.record), c.text);
}

TEST(CrashSummary, NamesTheRoleOfEveryModule) {
  const terrace::ModuleFolders folders = {L"C:\\Program Files\\Pellavorne\\Recorder.exe",
                                          L"C:\\windows"};
  const struct {
    const wchar_t* path;
    const char* role;
  } cases[] = {
      {L"C:\\Program Files\\Pellavorne\\Recorder.exe", "the program"},
      {L"c:\\program files\\pellavorne\\RECORDER.EXE", "the program"},
      {L"C:\\Program Files\\Pellavorne\\Vantorel.dll", "a library of the program"},
      {L"C:\\Program Files\\Pellavorne\\recorder\\1.2.0\\x64\\rec.dll", "plug-in \"recorder\""},
      {L"C:\\windows\\system32\\kernel32.dll", "a system library"},
      {L"C:\\windowsapps\\x.dll", "a library from elsewhere"},
      {L"D:\\tools\\hook.dll", "a library from elsewhere"},
  };
  for (const auto& c : cases) EXPECT_EQ(terrace::ModuleRole(c.path, folders), c.role) << c.role;
}

terrace::CrashFacts CaptureHere() {
  terrace::CrashFacts facts = {};
  ::RtlCaptureContext(&facts.context);
  facts.record = Record(EXCEPTION_ACCESS_VIOLATION, {1, 0x10});
  facts.record.ExceptionAddress = reinterpret_cast<void*>(facts.context.Rip);
  facts.thread_id = ::GetCurrentThreadId();
  facts.main_thread = true;
  terrace::CurrentThreadStack(&facts.stack_low, &facts.stack_high);
  return facts;
}

std::wstring ExecutablePath() {
  wchar_t path[MAX_PATH];
  return std::wstring(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH));
}

// The walk must run while the captured frames still exist, as the crashed thread's do
// while it waits for the reporter.
__attribute__((noinline)) void CaptureAndWalk(terrace::CrashFacts* facts,
                                              std::vector<uintptr_t>* frames) {
  *facts = terrace::CrashFacts();
  ::RtlCaptureContext(&facts->context);
  facts->record = Record(EXCEPTION_ACCESS_VIOLATION, {1, 0x10});
  facts->record.ExceptionAddress = reinterpret_cast<void*>(facts->context.Rip);
  facts->thread_id = ::GetCurrentThreadId();
  facts->main_thread = true;
  terrace::CurrentThreadStack(&facts->stack_low, &facts->stack_high);
  *frames = terrace::WalkStack(*facts, 64);
}

TEST(CrashSummary, WalksACapturedStackAndBlamesTheFirstModuleOutsideTheReporter) {
  terrace::CrashFacts facts;
  std::vector<uintptr_t> frames;
  CaptureAndWalk(&facts, &frames);
  const std::vector<terrace::LoadedModule> modules = terrace::LoadedModules();
  const terrace::LoadedModule* program = terrace::ModuleAt(modules, frames[0]);
  ASSERT_NE(program, nullptr);
  EXPECT_EQ(program->base, reinterpret_cast<uintptr_t>(::GetModuleHandleW(nullptr)));
  // Through this test's frames, gtest's and main down to the system's thread start.
  ASSERT_GT(frames.size(), 5u);
  EXPECT_NE(terrace::ModuleAt(modules, frames.back()), program);

  wchar_t windows[MAX_PATH];
  const terrace::ModuleFolders folders = {
      ExecutablePath(), std::wstring(windows, ::GetSystemWindowsDirectoryW(windows, MAX_PATH))};
  const std::string summary = terrace::CrashSummary(facts, frames, modules, folders, 0);
  EXPECT_EQ(summary.rfind("terrace_tests.exe stopped: access violation (0xC0000005), writing "
                          "address 0x0000000000000010\r\nModule: terrace_tests.exe + 0x",
                          0),
            0u)
      << summary;
  EXPECT_NE(summary.find(", the program\r\n"), std::string::npos);
  EXPECT_NE(summary.find("Thread: " + std::to_string(::GetCurrentThreadId()) + " (main thread)"),
            std::string::npos);
  EXPECT_NE(summary.find("  #01 0x"), std::string::npos);
  EXPECT_NE(summary.find("kernel32.dll"), std::string::npos);  // in the module list

  // The reporter's own frames are passed over: with this program as reporter, the first
  // module left is the system's, which is blamed as the only one there is.
  const std::string passed = terrace::CrashSummary(facts, frames, modules, folders, program->base);
  EXPECT_EQ(passed.find("Module: terrace_tests.exe"), std::string::npos) << passed;
}

TEST(CrashSummary, ADamagedStackEndsTheWalkInsteadOfFaulting) {
  terrace::CrashFacts facts = CaptureHere();
  // Called through a null pointer: no code at rip, the return address on top of the stack.
  alignas(16) uintptr_t fake_stack[4] = {reinterpret_cast<uintptr_t>(&CaptureHere), 0, 0, 0};
  facts.context.Rip = 0;
  facts.context.Rsp = reinterpret_cast<DWORD64>(&fake_stack[0]);
  facts.stack_low = reinterpret_cast<uintptr_t>(&fake_stack[0]);
  facts.stack_high = reinterpret_cast<uintptr_t>(&fake_stack[4]);
  const std::vector<uintptr_t> frames = terrace::WalkStack(facts, 64);
  ASSERT_GE(frames.size(), 2u);
  EXPECT_EQ(frames[0], 0u);
  EXPECT_EQ(frames[1], reinterpret_cast<uintptr_t>(&CaptureHere));

  // A stack pointer outside the thread's stack: nothing beyond the faulting address is read.
  facts = CaptureHere();
  facts.context.Rsp = 0x10;
  EXPECT_EQ(terrace::WalkStack(facts, 64).size(), 1u);
}

}  // namespace

namespace {

LONG WINAPI SentinelFilter(EXCEPTION_POINTERS*) { return EXCEPTION_CONTINUE_SEARCH; }

LPTOP_LEVEL_EXCEPTION_FILTER CurrentFilter() {
  LPTOP_LEVEL_EXCEPTION_FILTER current = ::SetUnhandledExceptionFilter(nullptr);
  ::SetUnhandledExceptionFilter(current);
  return current;
}

// Arming hooks the process; arming with no folder gives the process back as it was found, so
// a crash after the program's teardown reports nothing.
TEST(CrashHook, DisarmingRestoresTheFilterItReplaced) {
  TempFolder folder(L"crash-hook");
  LPTOP_LEVEL_EXCEPTION_FILTER before = ::SetUnhandledExceptionFilter(&SentinelFilter);
  ITerDbgReport* report = CreateTerDbgReport();
  ASSERT_NE(report, nullptr);

  report->Arm(folder.path().c_str(), nullptr, nullptr);
  EXPECT_EQ(std::wstring(report->DumpFolder()), folder.path());
  EXPECT_NE(CurrentFilter(), &SentinelFilter);

  report->Arm(nullptr, nullptr, nullptr);
  EXPECT_EQ(report->DumpFolder(), nullptr);
  EXPECT_EQ(CurrentFilter(), &SentinelFilter);
  ::SetUnhandledExceptionFilter(before);
}

}  // namespace
