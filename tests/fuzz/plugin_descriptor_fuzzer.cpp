// plugin.load descriptors: refused with a message or read with a library path that stays in
// the module's folder; the candidate order puts the highest version first.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

#include "common/contained_path.h"
#include "fuzz_support.h"
#include "host/plugin_descriptor.h"
#include "terrace/string_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (bool is_64bit : {true, false}) {
    PluginDescriptor descriptor;
    std::string error;
    if (!ParsePluginDescriptor(text, is_64bit, &descriptor, &error)) {
      FUZZ_CHECK(!error.empty());
      continue;
    }
    FUZZ_CHECK(IsContainedRelativePath(descriptor.path));
    FUZZ_CHECK(IsContainedRelativePath(descriptor.platform_dir));
    // Version folders named by the descriptor's own texts.
    std::vector<std::string> names = descriptor.received;
    names.push_back(descriptor.version);
    const std::vector<std::string> ordered =
        OrderVersionCandidates(names, &terrace::CompareVersionText);
    FUZZ_CHECK(std::is_permutation(names.begin(), names.end(), ordered.begin(), ordered.end()));
    for (const std::string& name : ordered)
      FUZZ_CHECK(terrace::CompareVersionText(ordered.front().c_str(), name.c_str()) >= 0);
  }
  return 0;
}
