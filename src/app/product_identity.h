// The product's fixed names and the per-user folders built from them.
#pragma once

#include <string>

std::string BrandWord();                // "Pellavorne"
std::wstring BrandWordWide();
std::string ProductDisplayName();       // "Pellavorne Screen Recorder"
std::wstring ProductDisplayNameWide();
std::string ProductVersion();           // "1.1.64"
std::wstring ProductVersionWide();
std::wstring BuildYear();               // year of the build date, e.g. "2026"

// The text after the last blank of a compiler date such as "May 14 2026"; empty without one.
std::wstring YearOfBuildDate(const std::wstring& build_date);

// The user's temporary folder + brand + "\" + today's "%Y%m%d" + "\"; made with every
// missing level when `create` is set.
std::wstring TemporaryFolder(bool create);
// Documents + "\" + display name + "\", created (one level).
std::wstring DocumentsProductFolder();
// Documents + "\" + name + "\", created (one level). Empty, and nothing made, when the name
// would leave the documents folder (absolute, drive, device or "..").
std::wstring DocumentsFolder(const std::wstring& name);
// Settings folder + brand + "\" + display name + "\" + "language.txt".
std::wstring LanguageFilePath();
