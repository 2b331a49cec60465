// Errors met before the log file exists. A windowed program has no standard error, so what
// goes wrong while the data files load is kept and written once the log is open.
#pragma once

#include <string>
#include <vector>

// Writes `message` to the log at ERROR severity, or keeps it until WriteEarlyErrors when the
// log is not open yet. Safe from any thread.
void LogError(const std::string& message);

// Called once the log is open: writes every kept message in order; later errors go straight
// to the log.
void WriteEarlyErrors();

// What LogError has kept and not yet written (for the tests).
std::vector<std::string> KeptErrors();
