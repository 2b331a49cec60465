// The shell's part of a crash report: the product description beside the dump, and the
// warning that tells the user where the report lies.
#pragma once

#include <string>

// Writes the system information line to report_folder + "Crash.json"; hands back a
// malloc'ed copy of that path (also when the file could not be written).
void CrashMarkerWriter(const wchar_t* report_folder, wchar_t** marker_path);
// Closes the logs, leaves only the packed report in its folder and opens the folder.
void CrashWarningCallback(const wchar_t* file_in_report_folder);

// The folder part of `path` (up to its last "\"); empty when there is none.
std::wstring ReportFolderOf(const std::wstring& path);
// Loose files go; packed reports (any name containing ".zip", any letter case) stay.
bool IsPackedReportName(const std::wstring& name);
// Deletes every file of `folder` except packed reports; sub-folders are not entered.
void CleanReportFolder(const std::wstring& folder);
