// Markup in translated and module-supplied texts: coloured runs and links are taken apart
// without losing or inventing text, and the product's version pattern finds its match.
#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz_support.h"
#include "view/internal/markup_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const uint32_t default_color = input.ConsumeIntegral<uint32_t>();
  std::wstring text;
  while (input.remaining_bytes() > 0) {
    // Mostly the characters markup is made of, sometimes any UTF-16 unit.
    text.push_back(input.ConsumeBool() ? wchar_t(input.ConsumeIntegral<uint16_t>())
                                       : wchar_t(input.ConsumeIntegralInRange<int>(32, 126)));
  }

  std::wstring plain;
  const std::vector<vantorel::ColorRun> runs = vantorel::ColorRuns(text, &plain, default_color);
  std::wstring joined;
  for (const auto& run : runs) joined += run.first;
  FUZZ_CHECK(joined == plain);
  FUZZ_CHECK(plain.size() <= text.size());
  if (text.find(L'<') == std::wstring::npos) FUZZ_CHECK(plain == text);

  const std::wstring shown = vantorel::LinkShownText(text);
  FUZZ_CHECK(shown.size() <= text.size());
  FUZZ_CHECK(vantorel::LinkShownText(shown).size() <= shown.size());

  // std::regex recurses per character; texts of a version line are short.
  if (text.size() <= 256) {
    const std::wstring version = vantorel::FirstMatchOrWhole(text, L"\\d+\\.\\d+\\.\\d+");
    FUZZ_CHECK(version.size() <= text.size());
  }
  return 0;
}
