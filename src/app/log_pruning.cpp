#include "app/log_pruning.h"

#include <cwctype>

namespace {

// Files, then sub-folders, then the folder; a link to a folder is removed as a link.
void RemoveFolder(const std::wstring& folder, int depth) {
  WIN32_FIND_DATAW entry;
  HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      const bool link = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::DeleteFileW(path.c_str());
      } else if (link || depth <= 0) {
        ::RemoveDirectoryW(path.c_str());
      } else {
        RemoveFolder(path, depth - 1);
      }
    } while (::FindNextFileW(search, &entry));
    ::FindClose(search);
  }
  ::RemoveDirectoryW(folder.c_str());
}

}  // namespace

long DaysFromCivil(int year, unsigned month, unsigned day) {
  year -= month <= 2;
  const long era = (year >= 0 ? year : year - 399) / 400;
  const unsigned year_of_era = static_cast<unsigned>(year - era * 400);
  const unsigned day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + static_cast<long>(day_of_era) - 719468;
}

bool IsExpiredLogFolder(const std::wstring& name, const SYSTEMTIME& today, int keep_days) {
  if (name.size() != 8) return false;
  for (wchar_t c : name)
    if (c < L'0' || c > L'9') return false;
  const int year = std::stoi(name.substr(0, 4));
  const unsigned month = static_cast<unsigned>(std::stoi(name.substr(4, 2)));
  const unsigned day = static_cast<unsigned>(std::stoi(name.substr(6, 2)));
  static constexpr unsigned kDaysIn[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1 || day > kDaysIn[month - 1]) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (month == 2 && day == 29 && !leap) return false;
  const long age = DaysFromCivil(today.wYear, today.wMonth, today.wDay) -
                   DaysFromCivil(year, month, day);
  return age >= keep_days;
}

void PruneLogFolders(const std::wstring& base, const SYSTEMTIME& today, int keep_days) {
  std::wstring folder = base;
  while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  WIN32_FIND_DATAW entry;
  HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    if (!IsExpiredLogFolder(entry.cFileName, today, keep_days)) continue;
    const std::wstring path = folder + L"\\" + entry.cFileName;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
      ::RemoveDirectoryW(path.c_str());
    else
      RemoveFolder(path, 3);
  } while (::FindNextFileW(search, &entry));
  ::FindClose(search);
}
