// Entry of the test programs whose code under test reads and writes beside the executable
// (data files, module folders): the program copies itself into a fresh temporary folder,
// runs the copy there and removes the folder afterwards, so the tests never touch a folder
// they did not make, and modules the copy loaded are unloaded before the folder goes.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "test_files.h"

namespace {

constexpr wchar_t kPrivateRun[] = L"OSTREVAN_PRIVATE_TEST_RUN";

// The command line without the program's own name.
std::wstring Arguments() {
  const wchar_t* line = ::GetCommandLineW();
  if (*line == L'"') {
    for (++line; *line && *line != L'"'; ++line) {
    }
    if (*line) ++line;
  } else {
    while (*line && *line != L' ' && *line != L'\t') ++line;
  }
  return line;
}

int RunPrivateCopy() {
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring path = self;
  const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
  TempFolder folder(name.substr(0, name.rfind(L'.')));
  const std::wstring copy = folder.path() + name;
  if (!::CopyFileW(self, copy.c_str(), FALSE)) {
    std::fprintf(stderr, "could not copy the test program to a private folder\n");
    return 1;
  }
  std::wstring command = L"\"" + copy + L"\"" + Arguments();
  ::SetEnvironmentVariableW(kPrivateRun, L"1");
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessW(copy.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
    std::fprintf(stderr, "could not start the private copy of the test program\n");
    return 1;
  }
  ::WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exit_code = 1;
  ::GetExitCodeProcess(process.hProcess, &exit_code);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return static_cast<int>(exit_code);
}

}  // namespace

int main(int argc, char** argv) {
  if (::GetEnvironmentVariableW(kPrivateRun, nullptr, 0) == 0) return RunPrivateCopy();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
