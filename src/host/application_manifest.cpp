#include "host/application_manifest.h"

#include <map>
#include <mutex>
#include <vector>

#include "app/early_errors.h"
#include "app/process_state.h"
#include "app/terrace_text.h"
#include "common/contained_path.h"
#include "common/win32/plugin_util_win32.h"
#include "host/command_bus.h"
#include "host/module_table.h"
#include "host/platform_commands.h"
#include "ter_user_defaults.h"

namespace {

std::mutex g_window_table_lock;
std::map<std::string, HWND>& ModuleWindowTable() {
  static auto* table = new std::map<std::string, HWND>();
  return *table;
}

}  // namespace

bool LoadModulesAndRegisterPlatformCommands(TERReceiveFunction platform_handler) {
  std::vector<ManifestModule> modules;
  std::string problem;
  if (!ReadManifestModules(GetUserDefaults("ApplicationManifest"), &modules, &problem)) {
    // An unread file was reported when it was loaded.
    if (!problem.empty())
      LogError("ApplicationManifest.json could not be used: " + problem + "; no module is loaded");
    return false;
  }

  TerText base(TerUtilityApp()->ModulesFolder());
  const std::wstring base_wide = Utf8ToWide(base.get());
  for (const ManifestModule& entry : modules) {
    if (entry.name.empty()) continue;  // an entry that names no module
    if (!IsContainedRelativePath(entry.name)) {
      LogError("ApplicationManifest.json: module \"" + entry.name +
               "\" is not a folder inside the modules folder; not loaded");
      continue;
    }
    const std::wstring folder = base_wide + Utf8ToWide(entry.name) + L"\\";
    LoadModule(WideToUtf8(folder));
  }

  ModuleTable::Instance().EnterHost();
  for (size_t i = 0; i < kPlatformCommandCount; ++i)
    RegisterCommandHandler(kPlatformCommandNames[i], platform_handler);
  return true;
}

bool CreateModuleWindows(HWND frame, HWND view) {
  std::vector<ManifestModule> modules;
  std::string problem;
  if (!ReadManifestModules(GetUserDefaults("ApplicationManifest"), &modules, &problem))
    return false;

  RECT client = {};
  ::GetClientRect(view, &client);
  const int view_width = client.right - client.left;
  const int view_height = client.bottom - client.top;
  const float scale = DpiScale();

  for (const ManifestModule& entry : modules) {
    if (entry.name.empty()) continue;
    const ModuleRecord* module = ModuleTable::Instance().Find(entry.name);
    if (!module) continue;

    const std::array<int, 4> rect =
        entry.has_rect
            ? ModuleWindowRect(entry.rect, entry.offset, scale, view_width, view_height)
            : std::array<int, 4>{};
    TERObserveData1 record = {};
    std::string creation_json;
    if (!module->creation_command.empty()) {
      creation_json = ModuleCreationJson(entry.has_rect ? &rect : nullptr,
                                         entry.has_extra ? &entry.extra_json : nullptr);
      record.name = module->creation_command.c_str();
      record.text = &creation_json[0];
      record.window = entry.under_view ? view : frame;
      SendCommand(&record);
    }
    if (entry.has_window_name) {
      std::lock_guard<std::mutex> lock(g_window_table_lock);
      ModuleWindowTable()[entry.window_name] = record.window;
    }
  }
  return true;
}

bool FindModuleWindow(const std::string& name, HWND* window) {
  std::lock_guard<std::mutex> lock(g_window_table_lock);
  auto found = ModuleWindowTable().find(name);
  if (found == ModuleWindowTable().end()) return false;
  *window = found->second;
  return true;
}
