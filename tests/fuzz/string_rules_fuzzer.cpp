// Version order (module folders, the update list) and the one-argument format applied to
// translated texts.
#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz_support.h"
#include "terrace/string_rules.h"

namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string a = input.ConsumeRandomLengthString(64);
  const std::string b = input.ConsumeRandomLengthString(64);
  const std::string c = input.ConsumeRandomLengthString(64);
  FUZZ_CHECK(terrace::CompareVersionText(a.c_str(), a.c_str()) == 0);
  const int ab = Sign(terrace::CompareVersionText(a.c_str(), b.c_str()));
  FUZZ_CHECK(ab == -Sign(terrace::CompareVersionText(b.c_str(), a.c_str())));
  const int bc = Sign(terrace::CompareVersionText(b.c_str(), c.c_str()));
  if (ab == bc && ab != 0)
    FUZZ_CHECK(Sign(terrace::CompareVersionText(a.c_str(), c.c_str())) == ab);

  std::wstring format;
  for (char ch : input.ConsumeRemainingBytesAsString()) format.push_back(wchar_t(ch));
  const std::wstring argument = L"<arg>";
  const std::wstring result = terrace::SubstituteArgument(format.c_str(), argument.c_str());
  FUZZ_CHECK(result.size() <= format.size() + argument.size());
  return 0;
}
