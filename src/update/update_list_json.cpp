#include "update/update_list_json.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "common/safe_json.h"

namespace {

bool EqualNoCase(const std::string& left, const std::string& right) {
  if (left.size() != right.size()) return false;
  for (size_t i = 0; i < left.size(); ++i) {
    char a = left[i], b = right[i];
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return true;
}

std::string Text(const rapidjson::Value& value) {
  return value.IsString() ? std::string(value.GetString(), value.GetStringLength())
                          : std::string();
}

}  // namespace

std::vector<std::string> NotesForLanguage(const std::vector<std::string>& lines,
                                          const std::string& language) {
  const std::string marker = "{" + language + "}";
  std::vector<std::string> notes;
  bool inside = false;
  for (const auto& line : lines) {
    if (inside) {
      if (!line.empty() && line[0] == '{') break;
      notes.push_back(line);
    } else if (EqualNoCase(line, marker)) {
      inside = true;
    }
  }
  return notes;
}

std::string UpdateListJson(const UFUpdateData* first, const std::string& language) {
  rapidjson::StringBuffer buffer;
  rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
  auto text = [&](const char* value) { writer.String(value ? value : ""); };
  writer.StartArray();
  for (const UFUpdateData* item = first; item; item = item->next) {
    std::vector<std::string> lines;
    for (const UFNote* note = item->notes; note; note = note->next) {
      lines.emplace_back(note->text ? note->text : "");
    }
    writer.StartObject();
    writer.Key("version");
    text(item->version);
    writer.Key("md5");
    text(item->md5);
    writer.Key("path_remote");
    text(item->path_remote);
    writer.Key("descriptions");
    writer.StartArray();
    for (const auto& line : NotesForLanguage(lines, language)) text(line.c_str());
    writer.EndArray();
    writer.EndObject();
  }
  writer.EndArray();
  return std::string(buffer.GetString(), buffer.GetSize());
}

bool FormatUpdateList(const char* json, size_t length, const std::string& version_label,
                      UpdateListText* result) {
  rapidjson::Document document;
  if (!safe_json::Parse(json, length, document) || !document.IsArray()) return false;
  UpdateListText text;
  bool first = true;
  for (const auto& element : document.GetArray()) {
    if (!element.IsObject()) continue;
    if (!first) text.text += "\r\n";
    const auto version = element.FindMember("version");
    const std::string number =
        version != element.MemberEnd() ? Text(version->value) : std::string();
    if (first) text.first_version = number;
    first = false;
    text.text += version_label + ": " + number + "\r\n";
    const auto descriptions = element.FindMember("descriptions");
    if (descriptions == element.MemberEnd() || !descriptions->value.IsArray()) continue;
    for (const auto& line : descriptions->value.GetArray()) text.text += Text(line) + "\r\n";
  }
  *result = std::move(text);
  return true;
}
