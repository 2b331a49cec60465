#include "host/plugin_descriptor.h"

#include <algorithm>
#include <cstdint>

#include "common/contained_path.h"
#include "common/safe_json.h"

namespace {

bool ReadString(const rapidjson::Value& object, const char* key, std::string* out) {
  auto member = object.FindMember(key);
  if (member == object.MemberEnd() || !member->value.IsString()) return false;
  out->assign(member->value.GetString(), member->value.GetStringLength());
  return true;
}

// A number as the integer fields hold it: the fraction dropped, and a value past 64 bits held
// at the limit, where converting the double would be undefined.
int64_t WholeNumber(const rapidjson::Value& number) {
  if (number.IsInt64()) return number.GetInt64();
  if (number.IsUint64()) return INT64_MAX;
  const double value = number.GetDouble();
  if (value >= 9.2e18) return INT64_MAX;
  if (value <= -9.2e18) return INT64_MIN;
  return static_cast<int64_t>(value);
}

// Width and height past 32 bits stop at the limits.
int32_t ReadInt(const rapidjson::Value& object, const char* key) {
  auto member = object.FindMember(key);
  if (member == object.MemberEnd() || !member->value.IsNumber()) return 0;
  return static_cast<int32_t>(std::clamp<int64_t>(WholeNumber(member->value), INT32_MIN, INT32_MAX));
}

void ReadStringList(const rapidjson::Value& object, const char* key,
                    std::vector<std::string>* out) {
  auto member = object.FindMember(key);
  if (member == object.MemberEnd() || !member->value.IsArray()) return;
  for (const rapidjson::Value& element : member->value.GetArray())
    if (element.IsString()) out->emplace_back(element.GetString(), element.GetStringLength());
}

bool Fail(std::string* error, const std::string& message) {
  if (error) *error = message;
  return false;
}

}  // namespace

bool ParsePluginDescriptor(const std::string& text, bool is_64bit, PluginDescriptor* descriptor,
                           std::string* error) {
  rapidjson::Document document;
  std::string parse_error;
  if (!safe_json::Parse(text.data(), text.size(), document, &parse_error))
    return Fail(error, parse_error);
  if (!document.IsObject()) return Fail(error, "descriptor is not a JSON object");

  PluginDescriptor result;
  const char* platform_key = is_64bit ? "x64" : "win32";
  if (!ReadString(document, "path", &result.path)) return Fail(error, "no \"path\"");
  if (!ReadString(document, platform_key, &result.platform_dir))
    return Fail(error, std::string("no \"") + platform_key + "\"");
  if (!ReadString(document, "version", &result.version)) return Fail(error, "no \"version\"");
  if (!ReadString(document, "id", &result.id)) return Fail(error, "no \"id\"");
  auto type = document.FindMember("type");
  if (type == document.MemberEnd() || !type->value.IsNumber())
    return Fail(error, "\"type\" is not a number");
  // Taken modulo 2^32 like any integer stored in the unsigned field: -1 is 4294967295.
  result.type = static_cast<uint32_t>(WholeNumber(type->value));
  if (!IsContainedRelativePath(result.path) || !IsContainedRelativePath(result.platform_dir))
    return Fail(error, "library path leaves the module's folder");

  result.width = ReadInt(document, "width");
  result.height = ReadInt(document, "height");
  ReadString(document, "command-create", &result.creation_command);
  ReadStringList(document, "command-recv", &result.received);
  ReadStringList(document, "command-send", &result.sent);
  ReadStringList(document, "require", &result.required);
  ReadStringList(document, "optional", &result.optional);
  *descriptor = std::move(result);
  return true;
}

std::vector<std::string> OrderVersionCandidates(const std::vector<std::string>& names,
                                                VersionCompare compare) {
  std::vector<std::string> ordered;
  for (const std::string& name : names) {
    if (ordered.empty() || compare(name.c_str(), ordered.front().c_str()) >= 0)
      ordered.insert(ordered.begin(), name);
    else
      ordered.push_back(name);
  }
  return ordered;
}
