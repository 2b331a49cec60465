// ApplicationManifest.json as the host reads it: the module entries, their placement at
// three scales and the creation JSON each module is sent, which must always be a JSON object.
#include <rapidjson/document.h>

#include "common/contained_path.h"
#include "common/safe_json.h"
#include "fuzz_support.h"
#include "host/manifest_modules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  bool loaded = false;
  auto defaults = fuzz::Defaults(data, size, &loaded);
  std::vector<ManifestModule> modules;
  std::string problem;
  const bool usable = ReadManifestModules(defaults.get(), &modules, &problem);
  FUZZ_CHECK(usable == problem.empty());
  for (const ManifestModule& module : modules) {
    IsContainedRelativePath(module.name);
    for (float scale : {1.0f, 1.5f, 2.25f}) {
      const std::array<int, 4> rect =
          ModuleWindowRect(module.rect, module.offset, scale, 740 * scale, 240 * scale);
      for (int number : rect) FUZZ_CHECK(number >= -kPlacementLimit && number <= kPlacementLimit);
      const std::string json = ModuleCreationJson(module.has_rect ? &rect : nullptr,
                                                  module.has_extra ? &module.extra_json : nullptr);
      rapidjson::Document sent;
      FUZZ_CHECK(safe_json::Parse(json.data(), json.size(), sent) && sent.IsObject());
      FUZZ_CHECK(sent.HasMember("extra") == module.has_extra);
    }
  }
  return 0;
}
