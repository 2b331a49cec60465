// Option.json as start-up reads it: every address completed with the language site's
// placeholders, the product type and the colours the shell paints with.
#include "fuzz_support.h"
#include "shell/language_site.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  bool loaded = false;
  auto options = fuzz::Defaults(data, size, &loaded);
  static const char* const kUrlKeys[] = {
      "url:help",    "url:support", "url:feedback", "url:question", "url:brand",   "url:root:brand",
      "url:product", "url:facebook", "url:twitter", "url:google",   "url:history", "email:support"};
  static const char* const kColorKeys[] = {
      "color:title:background",     "color:title:category:select:background",
      "color:common:button:normal", "color:common:button:pressed",
      "color:setting:general:background", "color:setting:general:border"};
  const LanguageSiteValues site{"de", "https://root.example/$&/", "https://a.example/$1"};
  for (const char* key : kUrlKeys) {
    const std::string url = TakeDefaultsText(options->GetString(key, nullptr));
    const std::string with_site = ReplacePlaceholders(url, &site, "https://fallback.example/");
    const std::string without = ReplacePlaceholders(url, nullptr, "");
    if (url.find("$(") == std::string::npos) FUZZ_CHECK(with_site == url && without == url);
  }
  options->GetInt("product:type", nullptr, 0);
  for (const char* key : kColorKeys) options->GetColor(key, nullptr, TerColor{0, 0, 0});
  return 0;
}
