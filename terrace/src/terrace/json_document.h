// The JSON documents behind user defaults.
#pragma once

#include <stddef.h>

#include <string>

#include <rapidjson/document.h>

namespace terrace {

// Values own their memory (CrtAllocator) so that replacing a setting frees the old value
// instead of growing a pool for the life of the process. Depth is capped when parsing, so
// the recursive destructor and writers stay shallow.
using JsonDocument = rapidjson::GenericDocument<rapidjson::UTF8<>, rapidjson::CrtAllocator>;
using JsonValue = JsonDocument::ValueType;
using JsonMember = JsonValue::Member;

// Fills `document` from `text`; false (document left empty) unless the text is one valid
// UTF-8 JSON object nested at most kTerMaxJsonDepth levels. A UTF-8 byte order mark is skipped.
// On failure `problem`, when given, says why and at which byte offset.
bool ParseJsonObject(const char* text, size_t length, JsonDocument* document,
                     std::string* problem = nullptr);

// Compact or indented JSON text of `value`; false when it cannot be written.
bool WriteJson(const JsonValue& value, bool pretty, std::string* out);

}  // namespace terrace
