#include "common/win32/plugin_util_win32.h"

#include <windows.h>
#include <shlwapi.h>

#include <glog/logging.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/terrace_text.h"
#include "host/command_bus.h"
#include "host/module_table.h"
#include "host/plugin_descriptor.h"

namespace {

int CompareVersions(const char* left, const char* right) {
  return TerUtilityString()->CompareVersions(left, right);
}

bool FileExists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ReadText(const std::wstring& path, std::string* text) {
  FILE* file = ::_wfopen(path.c_str(), L"rb");
  if (!file) return false;
  char buffer[4096];
  size_t read;
  text->clear();
  while ((read = std::fread(buffer, 1, sizeof(buffer), file)) > 0) text->append(buffer, read);
  std::fclose(file);
  return true;
}

std::vector<std::string> ListCandidates(const std::wstring& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW entry = {};
  HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = entry.cFileName;
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name == L"." || name == L"..")
      continue;
    if (FileExists(folder + name + L"\\plugin.load")) names.push_back(WideToUtf8(name));
  } while (::FindNextFileW(search, &entry));
  ::FindClose(search);
  return names;
}

// Dependencies are searched beside the library and in the safe default folders; the
// process-wide DLL directory and the current directory take no part.
HMODULE LoadModuleLibrary(const std::wstring& path) {
  return ::LoadLibraryExW(path.c_str(), nullptr,
                          LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
}

// Loads one version; answers the library and its entry point, or null.
HMODULE LoadCandidate(const std::wstring& version_folder, const PluginDescriptor& descriptor,
                      std::wstring* library_path, TERRegisterModuleFunction* entry) {
  std::wstring path = version_folder + Utf8ToWide(descriptor.platform_dir) + L"\\" +
                      Utf8ToWide(descriptor.path);
  if (!FileExists(path)) return nullptr;
  std::replace(path.begin(), path.end(), L'/', L'\\');
  HMODULE library = LoadModuleLibrary(path);
  if (!library) return nullptr;
  // A library without the entry point stays loaded but is never registered.
  *entry = reinterpret_cast<TERRegisterModuleFunction>(
      reinterpret_cast<void*>(::GetProcAddress(library, TER_MODULE_ENTRY_NAME)));
  if (!*entry) return nullptr;
  *library_path = path;
  return library;
}

}  // namespace

const ModuleRecord* LoadModule(const std::string& folder) {
  const std::wstring folder_wide = Utf8ToWide(folder);
  std::wstring key_wide = ::PathFindFileNameW(folder_wide.c_str());
  if (!key_wide.empty() && key_wide.back() == L'\\') key_wide.pop_back();
  const std::string key = WideToUtf8(key_wide);
  ModuleTable& table = ModuleTable::Instance();
  if (table.Find(key)) return nullptr;

  const bool is_64bit = TerUtilitySys()->Is64BitSystem();
  for (const std::string& candidate :
       OrderVersionCandidates(ListCandidates(folder_wide), &CompareVersions)) {
    const std::wstring version_folder = folder_wide + Utf8ToWide(candidate) + L"\\";
    std::string text;
    if (!ReadText(version_folder + L"plugin.load", &text)) continue;
    PluginDescriptor descriptor;
    std::string error;
    if (!ParsePluginDescriptor(text, is_64bit, &descriptor, &error)) {
      LOG(ERROR) << "Module " << key << " version " << candidate << ": plugin.load: " << error;
      continue;
    }
    std::wstring library_path;
    TERRegisterModuleFunction entry = nullptr;
    HMODULE library = LoadCandidate(version_folder, descriptor, &library_path, &entry);
    if (!library) continue;

    auto record = std::make_unique<ModuleRecord>();
    record->type = descriptor.type;
    record->version = descriptor.version;
    record->id = descriptor.id;
    record->library_path = WideToUtf8(library_path);

    // Zeroed so that a module which never fills `receive` is skipped, not called.
    auto* channel = static_cast<ModuleChannel*>(std::calloc(1, sizeof(ModuleChannel)));
    if (!channel) return nullptr;
    channel->send = &ModuleSendCommand;
    channel->id = library;
    entry(channel);

    return table.Enter(key, std::move(record), [&](ModuleRecord* entered) {
      for (const std::string& name : descriptor.received) {
        CommandBus::Host().Register(name.c_str(), channel);
        entered->received.push_back(name);
      }
      entered->sent = descriptor.sent;
      entered->required = descriptor.required;
      entered->optional = descriptor.optional;
      entered->width = descriptor.width;
      entered->height = descriptor.height;
      entered->creation_command = descriptor.creation_command;
    });
  }
  return nullptr;
}
