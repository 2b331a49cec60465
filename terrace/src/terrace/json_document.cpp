#include "terrace/json_document.h"

#include <cstring>

#include <rapidjson/memorystream.h>
#include <rapidjson/prettywriter.h>
#include <rapidjson/reader.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "ter_user_defaults.h"
#include "terrace/text.h"

namespace terrace {
namespace {

using rapidjson::SizeType;

// Sits between the reader and the document: refuses to go deeper than kTerMaxJsonDepth and
// refuses text that is not strict UTF-8 (the reader lets encoded surrogates through, which
// we could load but never write back as a file that loads again).
class GuardedHandler {
 public:
  explicit GuardedHandler(JsonDocument& document) : document_(document) {}

  bool Null() { return document_.Null(); }
  bool Bool(bool b) { return document_.Bool(b); }
  bool Int(int i) { return document_.Int(i); }
  bool Uint(unsigned u) { return document_.Uint(u); }
  bool Int64(int64_t i) { return document_.Int64(i); }
  bool Uint64(uint64_t u) { return document_.Uint64(u); }
  bool Double(double d) { return document_.Double(d); }
  bool RawNumber(const char* text, SizeType length, bool copy) {
    return document_.RawNumber(text, length, copy);
  }
  bool String(const char* text, SizeType length, bool copy) {
    return IsValidUtf8(text, length) && document_.String(text, length, copy);
  }
  bool Key(const char* text, SizeType length, bool copy) {
    return IsValidUtf8(text, length) && document_.Key(text, length, copy);
  }
  bool StartObject() { return Enter() && document_.StartObject(); }
  bool EndObject(SizeType members) {
    --depth_;
    return document_.EndObject(members);
  }
  bool StartArray() { return Enter() && document_.StartArray(); }
  bool EndArray(SizeType elements) {
    --depth_;
    return document_.EndArray(elements);
  }

 private:
  bool Enter() { return ++depth_ <= kTerMaxJsonDepth; }

  JsonDocument& document_;
  int depth_ = 0;
};

// Feeds the reader's events to the document through the guard (GenericDocument::Populate).
struct GuardedParse {
  bool operator()(JsonDocument& document) {
    constexpr unsigned kFlags =
        rapidjson::kParseIterativeFlag | rapidjson::kParseValidateEncodingFlag;
    rapidjson::MemoryStream stream(text, length);
    rapidjson::GenericReader<rapidjson::UTF8<>, rapidjson::UTF8<>, rapidjson::CrtAllocator> reader;
    GuardedHandler handler(document);
    ok = !reader.Parse<kFlags>(stream, handler).IsError();
    return ok;
  }

  const char* text;
  size_t length;
  bool ok = false;
};

template <class Writer>
bool Accept(const JsonValue& value, Writer& writer) {
  return value.Accept(writer) && writer.IsComplete();
}

}  // namespace

bool ParseJsonObject(const char* text, size_t length, JsonDocument* document) {
  document->SetObject();
  if (!text) return false;
  if (length >= 3 && std::memcmp(text, "\xEF\xBB\xBF", 3) == 0) {
    text += 3;
    length -= 3;
  }
  // The reader takes a zero byte for the end of the text and would accept "{}\0junk".
  if (length == 0 || std::memchr(text, 0, length)) return false;
  JsonDocument parsed;
  GuardedParse parse{text, length};
  parsed.Populate(parse);
  if (!parse.ok || !parsed.IsObject()) return false;
  document->Swap(parsed);
  return true;
}

bool WriteJson(const JsonValue& value, bool pretty, std::string* out) {
  rapidjson::StringBuffer buffer;
  bool written;
  if (pretty) {
    rapidjson::PrettyWriter<rapidjson::StringBuffer> writer(buffer);
    writer.SetIndent(' ', 2);
    written = Accept(value, writer);
  } else {
    rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
    written = Accept(value, writer);
  }
  if (!written) return false;
  out->assign(buffer.GetString(), buffer.GetSize());
  return true;
}

}  // namespace terrace
