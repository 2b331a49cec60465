// Builds module folders in a temporary place from the test module DLLs.
#pragma once

#include <windows.h>

#include <string>

#include "test_files.h"

std::wstring TestModuleDll(const std::wstring& relative);  // in build/tests/modules
void CopyInto(const std::wstring& source, const std::wstring& target);

// Writes module_folder\version\plugin.load and, unless `dll` is empty, copies the DLL to
// module_folder\version\x64\<library>.
void AddVersion(const std::wstring& module_folder, const std::wstring& version,
                const std::string& descriptor, const std::wstring& dll = L"",
                const std::wstring& library = L"");
// A complete valid descriptor for a library path, with extra members spliced in.
std::string Descriptor(const std::string& path, const std::string& version,
                       const std::string& extra_members = "");
std::string Narrow(const std::wstring& text);
// The loaded library of a module, from the path in its record.
HMODULE LoadedLibrary(const std::string& library_path);
template <typename Function>
Function Export(HMODULE library, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}
