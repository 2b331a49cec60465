#include "host/manifest_modules.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "app/design_scale.h"
#include "common/defaults_text.h"
#include "common/safe_json.h"

namespace {

constexpr char kTopViewWidth[] = "${topViewWidth}";
constexpr char kTopViewHeight[] = "${topViewHeight}";
constexpr char kTopViewHwnd[] = "${topViewHwnd}";

std::string ElementText(ITerUserDefaults* manifest, const TerJsonValue* array, uint32_t index) {
  const TerJsonValue* element = array ? manifest->ArrayElement(array, index) : nullptr;
  return TakeDefaultsText(element ? manifest->ValueText(element) : nullptr);
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

ManifestModule ReadModule(ITerUserDefaults* manifest, const TerJsonValue* entry) {
  ManifestModule module;
  module.name = TakeDefaultsText(manifest->GetString("windows:name", entry));
  module.under_view = TakeDefaultsText(manifest->GetString("windows:parentHwnd", entry)) ==
                      kTopViewHwnd;
  if (const TerJsonValue* parameters = manifest->GetChild("windows:parameters", entry)) {
    if (const TerJsonValue* placement = manifest->GetChild("windows:rect", parameters)) {
      module.has_rect = true;
      module.rect = FourTexts(manifest, "rect", placement);
      module.offset = FourTexts(manifest, "offset", placement);
    }
    if (manifest->HasKey("windows:extra", parameters)) {
      module.has_extra = true;
      module.extra_json =
          TakeDefaultsText(manifest->ValueJson(manifest->GetChild("windows:extra", parameters)));
    }
  }
  if (manifest->HasKey("window:hwnd", entry)) {
    module.has_window_name = true;
    module.window_name = TakeDefaultsText(manifest->GetString("window:hwnd", entry));
  }
  return module;
}

}  // namespace

bool ReadManifestModules(ITerUserDefaults* manifest, std::vector<ManifestModule>* modules,
                         std::string* problem) {
  modules->clear();
  problem->clear();
  if (!manifest) return false;
  const TerJsonValue* root = manifest->GetChild("manifest", nullptr);
  if (!root || !manifest->IsInt("windows::version", root) ||
      manifest->GetInt("windows::version", root, 0) != 1) {
    *problem = root ? "\"windows::version\" is not the integer 1" : "no \"manifest\" object";
    return false;
  }
  const TerJsonValue* application = manifest->GetChild("application", root);
  const TerJsonValue* list = application ? manifest->GetChild("modules", application) : nullptr;
  const uint32_t count = list ? manifest->ArraySize(list) : 0;
  for (uint32_t i = 0; i < count; ++i)
    modules->push_back(ReadModule(manifest, manifest->ArrayElement(list, i)));
  return true;
}

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
