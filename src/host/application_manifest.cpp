#include "host/application_manifest.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <mutex>

#include "app/early_errors.h"
#include "app/process_state.h"
#include "app/startup_layout.h"
#include "app/terrace_text.h"
#include "common/contained_path.h"
#include "common/safe_json.h"
#include "common/win32/plugin_util_win32.h"
#include "host/command_bus.h"
#include "host/module_table.h"
#include "host/platform_commands.h"
#include "ter_user_defaults.h"

namespace {

constexpr char kTopViewWidth[] = "${topViewWidth}";
constexpr char kTopViewHeight[] = "${topViewHeight}";
constexpr char kTopViewHwnd[] = "${topViewHwnd}";

std::mutex g_window_table_lock;
std::map<std::string, HWND>& ModuleWindowTable() {
  static auto* table = new std::map<std::string, HWND>();
  return *table;
}

struct Manifest {
  ITerUserDefaults* defaults = nullptr;
  const TerJsonValue* modules = nullptr;  // null: a usable manifest listing no module

  uint32_t ModuleCount() const { return modules ? defaults->ArraySize(modules) : 0; }
};

// False when there is no manifest or its format version is not the integer 1; `problem`
// then says which (an unread file was reported when it was loaded).
bool OpenManifest(Manifest* manifest, std::string* problem = nullptr) {
  manifest->defaults = GetUserDefaults("ApplicationManifest");
  if (!manifest->defaults) return false;
  const TerJsonValue* root = manifest->defaults->GetChild("manifest", nullptr);
  if (!root || !manifest->defaults->IsInt("windows::version", root) ||
      manifest->defaults->GetInt("windows::version", root, 0) != 1) {
    if (problem)
      *problem = root ? "\"windows::version\" is not the integer 1" : "no \"manifest\" object";
    return false;
  }
  const TerJsonValue* application = manifest->defaults->GetChild("application", root);
  manifest->modules =
      application ? manifest->defaults->GetChild("modules", application) : nullptr;
  return true;
}

std::string ElementText(ITerUserDefaults* manifest, const TerJsonValue* array, uint32_t index) {
  const TerJsonValue* element = array ? manifest->ArrayElement(array, index) : nullptr;
  TerText text(element ? manifest->ValueText(element) : nullptr);
  return text.str();
}

std::array<std::string, 4> FourTexts(ITerUserDefaults* manifest, const char* key,
                                     const TerJsonValue* parent) {
  const TerJsonValue* array = manifest->GetChild(key, parent);
  std::array<std::string, 4> texts;
  for (uint32_t i = 0; i < 4; ++i) texts[i] = ElementText(manifest, array, i);
  return texts;
}

int Clamped(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, -kPlacementLimit, kPlacementLimit));
}

// atoi's reading (blanks, sign, leading digits; anything else is 0), but a number too large
// for any screen stops growing instead of wrapping.
int LeadingInteger(const std::string& text) {
  size_t at = 0;
  while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  int64_t value = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
    value = std::min<int64_t>(value * 10 + (text[at] - '0'), int64_t(kPlacementLimit) + 1);
  return Clamped(negative ? -value : value);
}

int ScaledNumber(const std::string& text, float scale) {
  return Clamped(ScaleLength(LeadingInteger(text), scale));
}

}  // namespace

std::array<int, 4> ModuleWindowRect(const std::array<std::string, 4>& rect,
                                    const std::array<std::string, 4>& offset, float scale,
                                    int view_width, int view_height) {
  auto placeholder_or_scaled = [&](const std::string& text) {
    if (text == kTopViewWidth) return view_width;
    if (text == kTopViewHeight) return view_height;
    return ScaledNumber(text, scale);
  };
  auto sum = [](int a, int b) { return Clamped(int64_t(a) + int64_t(b)); };
  return {sum(ScaledNumber(rect[0], scale), ScaledNumber(offset[0], scale)),
          sum(ScaledNumber(rect[1], scale), ScaledNumber(offset[1], scale)),
          sum(ScaledNumber(offset[2], scale), placeholder_or_scaled(rect[2])),
          sum(ScaledNumber(offset[3], scale), placeholder_or_scaled(rect[3]))};
}

std::string ModuleCreationJson(const std::array<int, 4>* rect, const std::string* extra_json) {
  rapidjson::Document extra;
  const bool have_extra =
      extra_json && safe_json::Parse(extra_json->data(), extra_json->size(), extra);
  rapidjson::StringBuffer buffer;
  rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
  writer.StartObject();
  if (rect) {
    writer.Key("rect");
    writer.StartArray();
    for (int number : *rect) writer.Int(number);
    writer.EndArray();
  }
  if (have_extra) {
    writer.Key("extra");
    extra.Accept(writer);
  }
  writer.EndObject();
  return std::string(buffer.GetString(), buffer.GetSize());
}

bool LoadModulesAndRegisterPlatformCommands(TERReceiveFunction platform_handler) {
  Manifest opened;
  std::string problem;
  if (!OpenManifest(&opened, &problem)) {
    if (!problem.empty())
      LogError("ApplicationManifest.json could not be used: " + problem + "; no module is loaded");
    return false;
  }
  ITerUserDefaults* manifest = opened.defaults;

  TerText base(TerUtilityApp()->ModulesFolder());
  const std::wstring base_wide = Utf8ToWide(base.get());
  for (uint32_t i = 0; i < opened.ModuleCount(); ++i) {
    const TerJsonValue* entry = manifest->ArrayElement(opened.modules, i);
    TerText name(manifest->GetString("windows:name", entry));
    if (name.empty()) continue;  // an entry that names no module
    if (!IsContainedRelativePath(name.str())) {
      LogError("ApplicationManifest.json: module \"" + name.str() +
               "\" is not a folder inside the modules folder; not loaded");
      continue;
    }
    const std::wstring folder = base_wide + Utf8ToWide(name.get()) + L"\\";
    LoadModule(WideToUtf8(folder));
  }

  ModuleTable::Instance().EnterHost();
  for (size_t i = 0; i < kPlatformCommandCount; ++i)
    RegisterCommandHandler(kPlatformCommandNames[i], platform_handler);
  return true;
}

bool CreateModuleWindows(HWND frame, HWND view) {
  Manifest opened;
  if (!OpenManifest(&opened)) return false;
  ITerUserDefaults* manifest = opened.defaults;

  RECT client = {};
  ::GetClientRect(view, &client);
  const int view_width = client.right - client.left;
  const int view_height = client.bottom - client.top;
  const float scale = DpiScale();

  for (uint32_t i = 0; i < opened.ModuleCount(); ++i) {
    const TerJsonValue* entry = manifest->ArrayElement(opened.modules, i);
    TerText name(manifest->GetString("windows:name", entry));
    if (name.empty()) continue;
    const ModuleRecord* module = ModuleTable::Instance().Find(name.str());
    if (!module) continue;

    TerText parent_text(manifest->GetString("windows:parentHwnd", entry));
    HWND parent = parent_text.str() == kTopViewHwnd ? view : frame;

    std::array<int, 4> rect = {};
    bool have_rect = false;
    std::string extra;
    bool have_extra = false;
    if (const TerJsonValue* parameters = manifest->GetChild("windows:parameters", entry)) {
      if (const TerJsonValue* placement = manifest->GetChild("windows:rect", parameters)) {
        rect = ModuleWindowRect(FourTexts(manifest, "rect", placement),
                                FourTexts(manifest, "offset", placement), scale, view_width,
                                view_height);
        have_rect = true;
      }
      if (manifest->HasKey("windows:extra", parameters)) {
        TerText json(manifest->ValueJson(manifest->GetChild("windows:extra", parameters)));
        extra = json.str();
        have_extra = true;
      }
    }

    TERObserveData1 record = {};
    std::string creation_json;
    if (!module->creation_command.empty()) {
      creation_json = ModuleCreationJson(have_rect ? &rect : nullptr, have_extra ? &extra : nullptr);
      record.name = module->creation_command.c_str();
      record.text = &creation_json[0];
      record.window = parent;
      SendCommand(&record);
    }
    TerText window_name(manifest->GetString("window:hwnd", entry));
    if (manifest->HasKey("window:hwnd", entry)) {
      std::lock_guard<std::mutex> lock(g_window_table_lock);
      ModuleWindowTable()[window_name.str()] = record.window;
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
