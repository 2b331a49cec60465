// One named user-defaults document and the file it came from.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "ter_user_defaults.h"
#include "terrace/json_document.h"

namespace terrace {

class UserDefaults final : public ITerUserDefaults {
 public:
  // Reads and parses `path`. *loaded says whether that worked; when it did not the result
  // is an empty document still bound to `path` (null only when out of memory).
  static std::unique_ptr<UserDefaults> Load(const std::wstring& path, bool* loaded);
  // The same from text already in memory. Everything but Load and Save needs no platform
  // (user_defaults_values.cpp), so the document can be tested and fuzzed on its own.
  static std::unique_ptr<UserDefaults> FromText(const std::wstring& path, const char* text,
                                                size_t length, bool* loaded);

  // Load, for a document that will be saved over its file: the user's bytes are never lost.
  // A file that is there but does not parse is moved aside to "<path>.damaged" (replacing an
  // older one) before the empty document is used; a file that cannot be read at all, or
  // cannot be moved aside, is never saved over (Save fails). `problem` receives what went
  // wrong and what was done about it; it stays empty when the file loaded or is missing.
  static std::unique_ptr<UserDefaults> LoadKeepingTheUsersBytes(const std::wstring& path,
                                                                bool* loaded,
                                                                std::string* problem);

  bool HasKey(const char* key, const TerJsonValue* parent) override;
  char* GetString(const char* key, const TerJsonValue* parent) override;
  int64_t GetInt(const char* key, const TerJsonValue* parent, int64_t fallback) override;
  bool IsInt(const char* key, const TerJsonValue* parent) override;
  TerColor GetColor(const char* key, const TerJsonValue* parent, TerColor fallback) override;
  const TerJsonValue* GetChild(const char* key, const TerJsonValue* parent) override;
  const TerJsonValue* GetRoot() override;
  uint32_t ArraySize(const TerJsonValue* array) override;
  const TerJsonValue* ArrayElement(const TerJsonValue* array, uint32_t index) override;
  const TerJsonValue* FirstMember(const TerJsonValue* object) override;
  const TerJsonValue* MemberEnd(const TerJsonValue* object) override;
  const TerJsonValue* NextMember(const TerJsonValue* member) override;
  const char* MemberName(const TerJsonValue* member) override;
  const TerJsonValue* MemberValue(const TerJsonValue* member) override;
  char* ValueText(const TerJsonValue* value) override;
  char* ValueJson(const TerJsonValue* value) override;
  void SetString(const char* key, const char* value) override;
  void SetInt(const char* key, int64_t value) override;
  bool Save() override;

  ~UserDefaults() = default;

 private:
  explicit UserDefaults(std::wstring path) : path_(std::move(path)) {}

  // With mutex_ held: the member `key` of `parent` (the root when null), or null.
  const JsonValue* Find(const char* key, const TerJsonValue* parent);
  void SetOnRoot(const char* key, JsonValue& value);

  std::mutex mutex_;       // guards document_
  std::mutex save_mutex_;  // keeps saves in order, without blocking readers during the write
  const std::wstring path_;
  bool may_save_ = true;  // false while the file holds bytes we could not read
  JsonDocument document_;
};

}  // namespace terrace
