// Shared by the fuzz targets: user defaults made from the fuzzer's bytes (with the reason
// logged when they do not load), a walk over every value the way readers of the documents
// reach them, and a check that stops the run.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/json_text_problem.h"
#include "common/defaults_text.h"
#include "terrace/user_defaults.h"

namespace fuzz {

// A broken promise of the code under test: reported like a sanitizer finding.
#define FUZZ_CHECK(condition)                                                   \
  do {                                                                          \
    if (!(condition)) {                                                         \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                             \
    }                                                                           \
  } while (0)

inline std::unique_ptr<terrace::UserDefaults> Defaults(const uint8_t* data, size_t size,
                                                       bool* loaded) {
  auto defaults = terrace::UserDefaults::FromText(L"unused.json",
                                                  reinterpret_cast<const char*>(data), size, loaded);
  FUZZ_CHECK(defaults != nullptr);
  // A file that does not load is named in the log with a reason.
  if (!*loaded) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    FUZZ_CHECK(!JsonTextProblem(bytes).empty());
  }
  return defaults;
}

// Every member and element, each read through every accessor a reader might use on it.
inline void Walk(ITerUserDefaults* d, const TerJsonValue* value, int depth = 0) {
  FUZZ_CHECK(depth <= kTerMaxJsonDepth);
  TakeDefaultsText(d->ValueText(value));
  const std::string json = TakeDefaultsText(d->ValueJson(value));
  FUZZ_CHECK(!json.empty());
  for (uint32_t i = 0, n = d->ArraySize(value); i < n; ++i)
    Walk(d, d->ArrayElement(value, i), depth + 1);
  FUZZ_CHECK(d->ArrayElement(value, d->ArraySize(value)) == nullptr);
  for (const TerJsonValue* m = d->FirstMember(value); m != d->MemberEnd(value);
       m = d->NextMember(m)) {
    const char* name = d->MemberName(m);
    FUZZ_CHECK(name != nullptr);
    FUZZ_CHECK(d->HasKey(name, value));
    TakeDefaultsText(d->GetString(name, value));
    d->GetInt(name, value, 0);
    d->GetColor(name, value, TerColor{0, 0, 0});
    Walk(d, d->MemberValue(m), depth + 1);
  }
}

}  // namespace fuzz
