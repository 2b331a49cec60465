// LangSite.json: the user-language table, the guess for any Windows language, each entry's
// name and the placeholders completed from it, and the settings' language list.
#include "fuzz_support.h"
#include "shell/language_site.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  bool loaded = false;
  auto site = fuzz::Defaults(data, size, &loaded);

  const UserLanguageTable table = BuildUserLanguageTable(site.get());
  // Windows languages of the shipped catalogues and a few without one.
  for (uint16_t user_language : {0x0804, 0x0404, 0x0407, 0x0409, 0x040C, 0x0410, 0x0C0A, 0x0816,
                                 0x0411, 0x0412, 0x0419, 0x0421, 0x0439, 0x041F, 0x0413, 0x0415,
                                 0x0000, 0xFFFF}) {
    const int guessed = GuessLanguageNumber(table, user_language);
    if (table.find(user_language & 0xFF) == table.end()) FUZZ_CHECK(guessed == 3);
  }
  for (int number = -1; number <= 15; ++number) {
    LanguageSiteValues values;
    const bool entry = ReadSiteEntry(site.get(), number, &values);
    const std::string name = SiteLanguageName(site.get(), number);
    if (!entry) FUZZ_CHECK(name == "en");
    const std::string url = "$(rootPath)x/$(kLocalSubDir)/$(aPath)/";
    ReplacePlaceholders(url, entry ? &values : nullptr, "https://fallback.example/");
  }
  const std::vector<SiteLanguage> languages = SiteLanguages(site.get());
  for (const SiteLanguage& language : languages) {
    FUZZ_CHECK(language.name.size() <= size);
    FUZZ_CHECK(ParseLanguageFile(std::to_string(language.number)) == language.number);
  }
  return 0;
}
