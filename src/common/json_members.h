// Members of a JSON object that a module hands over, read leniently: a missing member, one
// of another type, or a value that is not an object at all reads as empty text or 0.
#pragma once

#include <rapidjson/document.h>

#include <cstdint>
#include <string>

namespace json_members {

inline const rapidjson::Value* Member(const rapidjson::Value* object, const char* key) {
  if (!object || !object->IsObject()) return nullptr;
  auto found = object->FindMember(key);
  return found == object->MemberEnd() ? nullptr : &found->value;
}

inline std::string String(const rapidjson::Value* object, const char* key) {
  const rapidjson::Value* value = Member(object, key);
  if (!value || !value->IsString()) return std::string();
  return std::string(value->GetString(), value->GetStringLength());
}

inline int64_t Int(const rapidjson::Value* object, const char* key) {
  const rapidjson::Value* value = Member(object, key);
  if (!value) return 0;
  if (value->IsInt64()) return value->GetInt64();
  if (value->IsUint64()) return static_cast<int64_t>(value->GetUint64());
  return 0;
}

}  // namespace json_members
