#include "module_folders.h"


std::wstring TestModuleDll(const std::wstring& relative) {
  return std::wstring(OSTREVAN_TEST_MODULE_DIR_W) + L"\\" + relative;
}

void CopyInto(const std::wstring& source, const std::wstring& target) {
  ::CopyFileW(source.c_str(), target.c_str(), FALSE);
}

void AddVersion(const std::wstring& module_folder, const std::wstring& version,
                const std::string& descriptor, const std::wstring& dll,
                const std::wstring& library) {
  const std::wstring version_folder = module_folder + version + L"\\";
  MakeFolders(version_folder + L"x64");
  WriteText(version_folder + L"plugin.load", descriptor);
  if (!dll.empty()) CopyInto(dll, version_folder + L"x64\\" + library);
}

std::string Descriptor(const std::string& path, const std::string& version,
                       const std::string& extra_members) {
  return "{\"path\": \"" + path + "\", \"x64\": \"x64\", \"win32\": \"x86\", \"type\": 1, " +
         "\"version\": \"" + version + "\", \"id\": \"probe\"" +
         (extra_members.empty() ? "" : ", " + extra_members) + "}";
}

std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (wchar_t c : text) narrow.push_back(static_cast<char>(c));
  return narrow;
}

HMODULE LoadedLibrary(const std::string& library_path) {
  return ::GetModuleHandleA(library_path.c_str());
}
