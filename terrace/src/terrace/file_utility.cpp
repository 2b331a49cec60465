#include <windows.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "ter_utility.h"
#include "terrace/file_io.h"
#include "terrace/text.h"

namespace terrace {
namespace {

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates each missing folder from the top down. Prefixes that cannot be created (a drive,
// "\\server\share", a folder we may not touch) are passed over; only the result counts.
bool MakeFolderTree(std::wstring path) {
  while (path.size() > 1 && IsSeparator(path.back()) && path[path.size() - 2] != L':') {
    path.pop_back();
  }
  if (path.empty()) return false;
  if (IsFolder(path)) return true;
  for (size_t i = 1; i <= path.size(); ++i) {
    if (i == path.size() || (IsSeparator(path[i]) && !IsSeparator(path[i - 1]))) {
      const std::wstring prefix = path.substr(0, i);
      if (prefix.back() != L':' && !IsFolder(prefix)) ::CreateDirectoryW(prefix.c_str(), nullptr);
    }
  }
  return IsFolder(path);
}

// Bytes below 1 KB as a count, KB with one decimal, larger units with two: "512 B",
// "1.5 KB", "3.25 MB", "2.00 GB". Units are powers of 1024.
std::string SizeAsText(uint64_t bytes) {
  char text[48];
  if (bytes < 1024) {
    std::snprintf(text, sizeof text, "%" PRIu64 " B", bytes);
    return text;
  }
  static const char* const kUnits[] = {"KB", "MB", "GB", "TB", "PB", "EB"};
  double value = static_cast<double>(bytes) / 1024.0;
  size_t unit = 0;
  for (;;) {
    const int decimals = unit == 0 ? 1 : 2;
    const double step = decimals == 1 ? 0.05 : 0.005;
    // Move up a unit when rounding would print 1024.0 or more.
    if (value + step >= 1024.0 && unit + 1 < sizeof kUnits / sizeof *kUnits) {
      value /= 1024.0;
      ++unit;
      continue;
    }
    std::snprintf(text, sizeof text, "%.*f %s", decimals, value, kUnits[unit]);
    return text;
  }
}

// Dot-files such as ".profile" are a base name, not an extension.
void SplitPathText(const std::string& path, std::string* folder, std::string* base,
                   std::string* extension) {
  size_t name_start = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    if (path[i] == '\\' || path[i] == '/' || (i == 1 && path[i] == ':')) name_start = i + 1;
  }
  const std::string name = path.substr(name_start);
  size_t dot = name.rfind('.');
  if (dot == 0 || dot == std::string::npos) dot = name.size();
  *folder = path.substr(0, name_start);
  *base = name.substr(0, dot);
  *extension = name.substr(dot);
}

class FileUtility final : public ITerUtilityFile {
 public:
  bool MakeFolder(const char* path) override {
    try {
      return path && MakeFolderTree(Widen(path));
    } catch (const std::bad_alloc&) {
      return false;
    }
  }

  char* SizeText(uint64_t bytes) override {
    try {
      return CopyText(SizeAsText(bytes));
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
  }

  bool Exists(const char* path) override {
    try {
      if (!path || !*path) return false;
      return ::GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    } catch (const std::bad_alloc&) {
      return false;
    }
  }

  void SplitPath(const char* path, char** folder, char** base_name, char** extension) override {
    char** outs[] = {folder, base_name, extension};
    for (char** out : outs) {
      if (out) *out = nullptr;
    }
    if (!path) return;
    try {
      std::string parts[3];
      SplitPathText(path, &parts[0], &parts[1], &parts[2]);
      for (int i = 0; i < 3; ++i) {
        if (outs[i]) *outs[i] = CopyText(parts[i]);
      }
    } catch (const std::bad_alloc&) {
      for (char** out : outs) {
        if (out) std::free(*out), *out = nullptr;
      }
    }
  }

  TerBinaryData* ReadFile(const char* path) override {
    if (!path) return nullptr;
    try {
      size_t size = 0;
      // The header and the bytes share one block, so one free() gives back both.
      uint8_t* block = ReadWholeFile(Widen(path), sizeof(TerBinaryData), &size);
      if (!block) return nullptr;
      auto* result = reinterpret_cast<TerBinaryData*>(block);
      result->data = block + sizeof(TerBinaryData);
      result->size = size;
      return result;
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
  }

  void FreeBinayDataResult(TerBinaryData* data) override { std::free(data); }

  bool WriteFile(const void* data, size_t length, const char* path) override {
    if (!path) return false;
    try {
      return WriteFileAtomically(Widen(path), data, length);
    } catch (const std::bad_alloc&) {
      return false;
    }
  }
};

}  // namespace
}  // namespace terrace

extern "C" TERRACE_API ITerUtilityFile* TerUtilityFile() {
  static terrace::FileUtility instance;
  return &instance;
}
