// The last step of an update: start the downloaded installer and close the shell.
#pragma once

#include <string>

// Starts `installer` with "/TAG=" + the running version (elevated where the system knows
// elevation), waits at most a second for it, and then asks the main frame to close, even
// when the installer could not be started.
void HandOverToInstaller(const std::wstring& installer);

// True when `process_path` runs the product at `expected_program` (both compared lower-case,
// by containment, as the product's own copies are recognised).
bool RunsExpectedProgram(const std::wstring& process_path, const std::wstring& expected_program);
