#include "app/product_identity.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "app/terrace_text.h"
#include "common/contained_path.h"

namespace {
// The display name is stored with bars; every hand-out turns them into blanks.
constexpr char kStoredDisplayName[] = "Pellavorne|Screen|Recorder";
constexpr wchar_t kStoredDisplayNameWide[] = L"Pellavorne|Screen|Recorder";
constexpr char kBuildDate[] = __DATE__;

std::wstring TodayText() {
  char date[260] = {};
  TerUtilitySys()->FormatDate("%Y%m%d", date, sizeof(date));
  return Utf8ToWide(date);
}

std::wstring DocumentsBase() {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, folder)))
    folder[0] = L'\0';
  return folder;
}
}  // namespace

std::string BrandWord() { return "Pellavorne"; }
std::wstring BrandWordWide() { return L"Pellavorne"; }

std::string ProductDisplayName() {
  std::string name(kStoredDisplayName);
  std::replace(name.begin(), name.end(), '|', ' ');
  return name;
}

std::wstring ProductDisplayNameWide() {
  std::wstring name(kStoredDisplayNameWide);
  std::replace(name.begin(), name.end(), L'|', L' ');
  return name;
}

std::string ProductVersion() { return "1.1.64"; }
std::wstring ProductVersionWide() { return L"1.1.64"; }

std::wstring YearOfBuildDate(const std::wstring& build_date) {
  const auto blank = build_date.find_last_of(L' ');
  if (blank == std::wstring::npos) return std::wstring();
  return build_date.substr(blank + 1);
}

std::wstring BuildYear() { return YearOfBuildDate(Utf8ToWide(kBuildDate)); }

std::wstring TemporaryFolder(bool create) {
  wchar_t temp[MAX_PATH] = {};
  if (!::GetTempPathW(MAX_PATH, temp)) temp[0] = L'\0';
  std::wstring path = std::wstring(temp) + BrandWordWide() + L"\\" + TodayText() + L"\\";
  if (create) ::SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
  return path;
}

std::wstring DocumentsProductFolder() { return DocumentsFolder(ProductDisplayNameWide()); }

std::wstring DocumentsFolder(const std::wstring& name) {
  if (!name.empty() && !IsContainedRelativePath(name)) return std::wstring();
  std::wstring path = DocumentsBase() + L"\\" + name + L"\\";
  ::CreateDirectoryW(path.c_str(), nullptr);
  return path;
}

std::wstring LanguageFilePath() {
  TerText settings(TerUtilitySys()->SettingsFolder());
  return Utf8ToWide(settings.get()) + BrandWordWide() + L"\\" + ProductDisplayNameWide() +
         L"\\language.txt";
}
