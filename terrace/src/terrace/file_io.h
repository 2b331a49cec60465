// Whole-file reads and crash-safe whole-file writes.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>

namespace terrace {

// One malloc'ed block: `prefix` spare bytes, the file's bytes, then a zero byte. Null when the
// file cannot be read; *size receives the number of data bytes, and `error`, when given, the
// system's error code (0 on success; ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND for none).
uint8_t* ReadWholeFile(const std::wstring& path, size_t prefix, size_t* size,
                       unsigned long* error = nullptr);

// Writes a temporary file beside `path`, flushes it and only then moves it over `path`, so
// the target is either the old file or the complete new one, never a torn mix. The temporary
// file is removed again when anything fails; those that a killed writer left behind beside
// `path` ("<name>.<process id>-<n>.tmp", the process gone) are removed first.
bool WriteFileAtomically(const std::wstring& path, const void* data, size_t length);

}  // namespace terrace
