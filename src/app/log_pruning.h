// Old dated log folders ("%Y%m%d" below the brand's log folder) are removed at start-up.
#pragma once

#include <windows.h>

#include <string>

constexpr int kLogDaysKept = 30;

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
long DaysFromCivil(int year, unsigned month, unsigned day);
// True for a folder name that is a valid date at least `keep_days` days before `today`.
// Anything else (other names, today, the future after a clock change) is kept.
bool IsExpiredLogFolder(const std::wstring& name, const SYSTEMTIME& today, int keep_days);
// Removes the expired dated folders of `base` with everything in them. Links are removed,
// never followed.
void PruneLogFolders(const std::wstring& base, const SYSTEMTIME& today, int keep_days);
