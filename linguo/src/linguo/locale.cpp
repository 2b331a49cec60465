#include <windows.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "linguo/linguo.h"
#include "linguo/mo_catalogue.h"

namespace linguo {
namespace {

// Real catalogues are a few kilobytes; anything far larger is refused before reading, which
// also bounds what a hostile file can make the index cost.
constexpr std::uint64_t kMaxCatalogueBytes = 16ull << 20;

bool ReadWholeFile(const std::wstring& path, std::vector<unsigned char>* bytes) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = false;
  LARGE_INTEGER size;
  if (GetFileSizeEx(file, &size) && size.QuadPart >= 0 &&
      std::uint64_t(size.QuadPart) <= kMaxCatalogueBytes) {
    bytes->resize(std::size_t(size.QuadPart));
    std::size_t done = 0;
    ok = true;
    while (done < bytes->size()) {
      DWORD got = 0;
      if (!ReadFile(file, bytes->data() + done, DWORD(bytes->size() - done), &got, nullptr) ||
          got == 0) {
        ok = false;  // the file shrank or the read failed: never parse a partial catalogue
        break;
      }
      done += got;
    }
  }
  CloseHandle(file);
  return ok;
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

class Locale final : public wxLocale {
 public:
  explicit Locale(int language) : language_(language) {}

  bool AddCatalog(int language, const wchar_t* relative_path) override {
    if (relative_path == nullptr || *relative_path == L'\0') return false;
    try {
      std::lock_guard<std::mutex> lock(mutex_);
      paths_[language] = relative_path;
      return true;
    } catch (...) {
      return false;
    }
  }

  int IsDefaultCharsetLanguage() override {
    switch (language_) {
      case 0:   // Simplified Chinese
      case 1:   // Traditional Chinese
      case 8:   // Japanese
      case 9:   // Korean
      case 10:  // Russian
      case 12:  // Hindi
      case 13:  // Turkish: ğ, ş, ı and İ are outside Latin-1
        return 1;
      default:
        return 0;
    }
  }

  bool Load(const wchar_t* catalogue_folder, unsigned /*flags*/) override;

  int Language() override { return language_; }

  // Published whole with release order, so a reader that sees the pointer sees the texts.
  const Catalogue* catalogue() const { return catalogue_.load(std::memory_order_acquire); }

 private:
  const int language_;
  std::mutex mutex_;  // guards paths_ and keeps two loads of this locale apart
  std::map<int, std::wstring> paths_;
  std::atomic<const Catalogue*> catalogue_{nullptr};
};

// Everything ever handed out. Allocated once and never destroyed, not even at unload:
// threads still translating while the process ends must not find freed texts.
struct Registry {
  std::mutex mutex;
  std::vector<std::unique_ptr<Locale>> locales;
  std::vector<std::unique_ptr<Catalogue>> catalogues;
};

Registry& registry() {
  static Registry* const instance = new Registry;
  return *instance;
}

std::atomic<Locale*> g_current{nullptr};

bool Locale::Load(const wchar_t* catalogue_folder, unsigned) {
  try {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto registered = paths_.find(language_);
    if (registered == paths_.end()) return false;

    std::wstring path = catalogue_folder ? catalogue_folder : L"";
    const std::wstring& relative = registered->second;
    if (!path.empty() && !IsSeparator(path.back()) && !IsSeparator(relative.front())) {
      path.push_back(L'\\');
    }
    path += relative;

    std::vector<unsigned char> bytes;
    if (!ReadWholeFile(path, &bytes)) return false;
    std::unique_ptr<Catalogue> parsed = Catalogue::Parse(bytes.data(), bytes.size());
    if (!parsed) return false;

    // An earlier catalogue stays alive: texts it handed out remain valid.
    Registry& reg = registry();
    std::lock_guard<std::mutex> keep(reg.mutex);
    reg.catalogues.push_back(std::move(parsed));
    catalogue_.store(reg.catalogues.back().get(), std::memory_order_release);
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace
}  // namespace linguo

wxLocale* wxCreateLocale(int language) {
  using namespace linguo;
  try {
    Registry& reg = registry();
    std::lock_guard<std::mutex> lock(reg.mutex);
    reg.locales.push_back(std::make_unique<Locale>(language));
    Locale* created = reg.locales.back().get();
    g_current.store(created, std::memory_order_release);
    return created;
  } catch (...) {
    return nullptr;
  }
}

wxLocale* wxGetLocale() { return linguo::g_current.load(std::memory_order_acquire); }

const wchar_t* wxGetTranslation(const wchar_t* key, const char* domain) {
  if (key == nullptr) return L"";
  if (domain == nullptr) return key;
  const linguo::Locale* locale = linguo::g_current.load(std::memory_order_acquire);
  if (locale == nullptr) return key;
  const linguo::Catalogue* catalogue = locale->catalogue();
  if (catalogue == nullptr) return key;
  const wchar_t* text = catalogue->Find(key);
  return text ? text : key;
}
