// Opening a web address or a folder with the system's handler. Tests replace the operation
// so that a click can be observed without starting a browser.
#pragma once

#include <string>

using ShellOpenFunction = bool (*)(const std::string& utf8_target);

bool OpenWebAddress(const std::wstring& address);
bool OpenFolderPath(const std::wstring& folder);

// Returns the previous function; null restores the service library's operation.
ShellOpenFunction ReplaceWebAddressOpener(ShellOpenFunction opener);
ShellOpenFunction ReplaceFolderOpener(ShellOpenFunction opener);
