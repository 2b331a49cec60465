#include "terrace/user_defaults.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "terrace/text.h"

namespace terrace {
namespace {

const JsonValue* AsValue(const TerJsonValue* value) {
  return reinterpret_cast<const JsonValue*>(value);
}
const TerJsonValue* AsHandle(const JsonValue* value) {
  return reinterpret_cast<const TerJsonValue*>(value);
}
const JsonMember* AsMember(const TerJsonValue* member) {
  return reinterpret_cast<const JsonMember*>(member);
}
const TerJsonValue* AsHandle(const JsonMember* member) {
  return reinterpret_cast<const TerJsonValue*>(member);
}

bool IsAcceptableText(const char* text, size_t* length) {
  if (!text) return false;
  *length = std::strlen(text);
  return *length <= 0xFFFFFFFFu && IsValidUtf8(text, *length);
}

// Integers (and doubles holding a whole number) without a fraction; other numbers in the
// shortest form that reads back as the same double.
bool NumberText(const JsonValue& value, std::string* text) {
  if (value.IsInt64()) {
    *text = std::to_string(value.GetInt64());
    return true;
  }
  if (value.IsUint64()) {
    *text = std::to_string(value.GetUint64());
    return true;
  }
  const double number = value.GetDouble();
  if (std::isfinite(number) && number == std::trunc(number) && std::fabs(number) < 9.0e18) {
    *text = std::to_string(static_cast<int64_t>(number));
    return true;
  }
  return WriteJson(value, false, text);
}

}  // namespace

std::unique_ptr<UserDefaults> UserDefaults::FromText(const std::wstring& path, const char* text,
                                                     size_t length, bool* loaded) {
  *loaded = false;
  try {
    std::unique_ptr<UserDefaults> defaults(new UserDefaults(path));
    *loaded = ParseJsonObject(text, length, &defaults->document_);
    return defaults;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

const JsonValue* UserDefaults::Find(const char* key, const TerJsonValue* parent) {
  const JsonValue* object = parent ? AsValue(parent) : &document_;
  if (!key || !object->IsObject()) return nullptr;
  auto member = object->FindMember(key);
  return member == object->MemberEnd() ? nullptr : &member->value;
}

bool UserDefaults::HasKey(const char* key, const TerJsonValue* parent) {
  std::lock_guard<std::mutex> guard(mutex_);
  return Find(key, parent) != nullptr;
}

char* UserDefaults::GetString(const char* key, const TerJsonValue* parent) {
  std::lock_guard<std::mutex> guard(mutex_);
  const JsonValue* value = Find(key, parent);
  if (!value || !value->IsString()) return nullptr;
  return CopyText(value->GetString(), value->GetStringLength());
}

int64_t UserDefaults::GetInt(const char* key, const TerJsonValue* parent, int64_t fallback) {
  std::lock_guard<std::mutex> guard(mutex_);
  const JsonValue* value = Find(key, parent);
  return value && value->IsInt64() ? value->GetInt64() : fallback;
}

bool UserDefaults::IsInt(const char* key, const TerJsonValue* parent) {
  std::lock_guard<std::mutex> guard(mutex_);
  const JsonValue* value = Find(key, parent);
  return value && value->IsInt64();
}

TerColor UserDefaults::GetColor(const char* key, const TerJsonValue* parent, TerColor fallback) {
  std::lock_guard<std::mutex> guard(mutex_);
  const JsonValue* value = Find(key, parent);
  if (!value || !value->IsArray() || value->Size() != 3) return fallback;
  for (rapidjson::SizeType i = 0; i < 3; ++i) {
    if (!(*value)[i].IsInt()) return fallback;
  }
  return TerColor{(*value)[0].GetInt(), (*value)[1].GetInt(), (*value)[2].GetInt()};
}

const TerJsonValue* UserDefaults::GetChild(const char* key, const TerJsonValue* parent) {
  std::lock_guard<std::mutex> guard(mutex_);
  return AsHandle(Find(key, parent));
}

const TerJsonValue* UserDefaults::GetRoot() {
  std::lock_guard<std::mutex> guard(mutex_);
  return AsHandle(static_cast<const JsonValue*>(&document_));
}

uint32_t UserDefaults::ArraySize(const TerJsonValue* array) {
  std::lock_guard<std::mutex> guard(mutex_);
  const JsonValue* value = AsValue(array);
  return value && value->IsArray() ? value->Size() : 0;
}

const TerJsonValue* UserDefaults::ArrayElement(const TerJsonValue* array, uint32_t index) {
  std::lock_guard<std::mutex> guard(mutex_);
  const JsonValue* value = AsValue(array);
  if (!value || !value->IsArray() || index >= value->Size()) return nullptr;
  return AsHandle(&(*value)[index]);
}

// A non-object has no members: First and End are both null, so loops end at once.
const TerJsonValue* UserDefaults::FirstMember(const TerJsonValue* object) {
  std::lock_guard<std::mutex> guard(mutex_);
  const JsonValue* value = AsValue(object);
  if (!value || !value->IsObject()) return nullptr;
  return AsHandle(value->MemberBegin().operator->());
}

const TerJsonValue* UserDefaults::MemberEnd(const TerJsonValue* object) {
  std::lock_guard<std::mutex> guard(mutex_);
  const JsonValue* value = AsValue(object);
  if (!value || !value->IsObject()) return nullptr;
  return AsHandle(value->MemberEnd().operator->());
}

const TerJsonValue* UserDefaults::NextMember(const TerJsonValue* member) {
  return member ? AsHandle(AsMember(member) + 1) : nullptr;
}

const char* UserDefaults::MemberName(const TerJsonValue* member) {
  std::lock_guard<std::mutex> guard(mutex_);
  return member ? AsMember(member)->name.GetString() : nullptr;
}

const TerJsonValue* UserDefaults::MemberValue(const TerJsonValue* member) {
  return member ? AsHandle(&AsMember(member)->value) : nullptr;
}

char* UserDefaults::ValueText(const TerJsonValue* value) {
  if (!value) return nullptr;
  try {
    std::string text;
    {
      std::lock_guard<std::mutex> guard(mutex_);
      const JsonValue* json = AsValue(value);
      if (json->IsString()) return CopyText(json->GetString(), json->GetStringLength());
      if (!json->IsNumber() || !NumberText(*json, &text)) return nullptr;
    }
    return CopyText(text);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

char* UserDefaults::ValueJson(const TerJsonValue* value) {
  if (!value) return nullptr;
  try {
    std::string text;
    {
      std::lock_guard<std::mutex> guard(mutex_);
      if (!WriteJson(*AsValue(value), false, &text)) return nullptr;
    }
    return CopyText(text);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void UserDefaults::SetOnRoot(const char* key, JsonValue& value) {
  auto& allocator = document_.GetAllocator();
  auto member = document_.FindMember(key);
  if (member != document_.MemberEnd()) {
    member->value = value;
  } else {
    JsonValue name(key, static_cast<rapidjson::SizeType>(std::strlen(key)), allocator);
    document_.AddMember(name, value, allocator);
  }
}

// Text that is not UTF-8 is refused: written out, it would make the whole file unreadable
// on the next start.
void UserDefaults::SetString(const char* key, const char* value) {
  size_t key_length = 0;
  size_t value_length = 0;
  if (!IsAcceptableText(key, &key_length) || !IsAcceptableText(value, &value_length)) return;
  std::lock_guard<std::mutex> guard(mutex_);
  JsonValue text(value, static_cast<rapidjson::SizeType>(value_length), document_.GetAllocator());
  SetOnRoot(key, text);
}

void UserDefaults::SetInt(const char* key, int64_t value) {
  size_t key_length = 0;
  if (!IsAcceptableText(key, &key_length)) return;
  std::lock_guard<std::mutex> guard(mutex_);
  JsonValue number(value);
  SetOnRoot(key, number);
}

}  // namespace terrace
