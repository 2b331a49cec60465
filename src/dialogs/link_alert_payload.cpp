#include "dialogs/link_alert_payload.h"

#include <algorithm>

#include "common/json_members.h"
#include "common/safe_json.h"

namespace {

int Length(const rapidjson::Value* object, const char* key) {
  return static_cast<int>(std::clamp<int64_t>(json_members::Int(object, key), 0, 0x7FFF));
}

}  // namespace

bool ParseLinkAlertPayload(const char* json, size_t length, LinkAlertPayload* payload) {
  rapidjson::Document document;
  if (!json || !safe_json::Parse(json, length, document) || !document.IsObject()) return false;
  const rapidjson::Value* object = &document;
  payload->title = json_members::String(object, "title");
  payload->sub_title = json_members::String(object, "sub_title");
  payload->link = json_members::String(object, "link");
  payload->width = Length(object, "width");
  payload->height = Length(object, "height");
  return true;
}
