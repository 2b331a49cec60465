// Utility singletons of the service library. Narrow strings are UTF-8, wide strings UTF-16.
// Strings returned as `char*` / `wchar_t*` are new copies: give them back with
// TerUtilityString()->Release() unless the operation says otherwise. Folders end with "\".
// Nothing here throws; failures answer null, false or an empty result.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "terrace_export.h"

class ITerUtilityString {
 public:
  virtual wchar_t* Utf8ToUtf16(const char* text) = 0;  // null in, null out
  virtual char* Utf16ToUtf8(const wchar_t* text) = 0;
  // `format` holds one %s (or %d-free text); the result is freed with the runtime's free().
  virtual wchar_t* FormatWide(const wchar_t* format, const wchar_t* argument) = 0;
  // Dotted versions compared part by part as numbers: negative, zero or positive.
  virtual int CompareVersions(const char* left, const char* right) = 0;
  virtual void Release(void* text) = 0;

 protected:
  ~ITerUtilityString() = default;
};

struct TerBinaryData {
  uint8_t* data;
  size_t size;
};

class ITerUtilityFile {
 public:
  virtual bool MakeFolder(const char* path) = 0;  // creates missing parents; true if it exists after
  virtual char* SizeText(uint64_t bytes) = 0;     // "512 B", "1.5 KB", "3.25 MB", "2.00 GB"
  virtual bool Exists(const char* path) = 0;      // file or folder
  // Splits "C:\a\b.txt" into "C:\a\", "b", ".txt"; any out pointer may be null.
  virtual void SplitPath(const char* path, char** folder, char** base_name, char** extension) = 0;
  virtual TerBinaryData* ReadFile(const char* path) = 0;  // null when unreadable
  virtual void FreeBinayDataResult(TerBinaryData* data) = 0;
  virtual bool WriteFile(const void* data, size_t length, const char* path) = 0;

 protected:
  ~ITerUtilityFile() = default;
};

class ITerUtilityApp {
 public:
  virtual char* ExecutablePath() = 0;     // full path of the running executable
  virtual char* ApplicationFolder() = 0;  // the executable's folder
  virtual char* ModulesFolder() = 0;      // where module folders live: the application folder
  virtual bool OpenFolder(const char* path) = 0;
  virtual bool OpenUrl(const char* url) = 0;
  virtual char* TaskContext() = 0;   // text naming this application run, given to tasks
  virtual char* NewIdentifier() = 0; // fresh unique text, e.g. "5b0c...-..."

 protected:
  ~ITerUtilityApp() = default;
};

class ITerUtilitySys {
 public:
  virtual char* SettingsFolder() = 0;  // the user's roaming application-data folder
  virtual char* LogFolder() = 0;       // the user's local application-data folder
  // strftime() of the current local date into `buffer`; returns the length written (0 on failure).
  virtual size_t FormatDate(const char* format, char* buffer, size_t buffer_size) = 0;
  virtual bool Is64BitSystem() = 0;

 protected:
  ~ITerUtilitySys() = default;
};

// Recursive locks keyed by an address: Lock(&table) in two places guards the same table.
class ITerLock {
 public:
  virtual void Lock(const void* key) = 0;
  virtual void Unlock(const void* key) = 0;

 protected:
  ~ITerLock() = default;
};

extern "C" {
TERRACE_API ITerUtilityString* TerUtilityString();
TERRACE_API ITerUtilityFile* TerUtilityFile();
TERRACE_API ITerUtilityApp* TerUtilityApp();
TERRACE_API ITerUtilitySys* TerUtilitySys();
TERRACE_API ITerLock* TerLock();
}
