#include "host/resource_catalogues.h"

#include "app/data_file_problem.h"
#include "app/early_errors.h"
#include "app/terrace_text.h"
#include "host/catalogue_map.h"
#include "ter_user_defaults.h"

namespace {

int g_product_type = 0;

constexpr const char* kUrlKeys[] = {
    "url:help",       "url:support", "url:feedback", "url:question",
    "url:brand",      "url:root:brand", "url:product", "url:facebook",
    "url:twitter",    "url:google",  "url:history",  "email:support",
};

}  // namespace

const char* FindUrl(const std::string& key) {
  static const char kEmpty[] = "";
  const auto& catalogue = Catalogue<std::string>();
  auto found = catalogue.find(key);
  return found == catalogue.end() ? kEmpty : found->second.c_str();
}

void AddUrl(const std::string& key, const std::string& text) {
  Catalogue<std::string>()[key] = text;
}

void LoadOptions(UrlCompletion complete) {
  TerText folder(TerUtilityApp()->ApplicationFolder());
  const std::string path = folder.str() + "Option.json";
  if (!InitUserDefaults("url", Utf8ToWide(path).c_str())) {
    LogError("Option.json could not be used: " + path + ": " + DataFileProblem(Utf8ToWide(path)) +
             "; every address is empty");
    return;
  }
  ITerUserDefaults* options = GetUserDefaults("url");
  for (const char* key : kUrlKeys) {
    TerText text(options->GetString(key, nullptr));
    AddUrl(key, complete(text.str()));
  }
  g_product_type = static_cast<int>(options->GetInt("product:type", nullptr, 0));
}

int ProductType() { return g_product_type; }

COLORREF CatalogueColor(const char* key) {
  ITerUserDefaults* options = GetUserDefaults("url");
  if (!options) return 0;
  const TerColor color = options->GetColor(key, nullptr, TerColor{0, 0, 0});
  return RGB(color.red & 0xFF, color.green & 0xFF, color.blue & 0xFF);
}
