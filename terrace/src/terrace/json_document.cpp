#include "terrace/json_document.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include <rapidjson/error/en.h>
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

bool IsNumberCharacter(char c) {
  return (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-';
}

// Sits between the reader and the document: refuses to go deeper than kTerMaxJsonDepth and
// refuses text that is not strict UTF-8 (the reader lets encoded surrogates through, which
// we could load but never write back as a file that loads again). Reads `text` through
// `stream`.
class GuardedHandler {
 public:
  GuardedHandler(JsonDocument& document, const char* text, const rapidjson::MemoryStream& stream)
      : document_(document), text_(text), stream_(stream) {}

  bool Null() { return document_.Null(); }
  bool Bool(bool b) { return document_.Bool(b); }
  bool Int(int i) { return document_.Int(i); }
  bool Uint(unsigned u) { return document_.Uint(u); }
  bool Int64(int64_t i) { return document_.Int64(i); }
  bool Uint64(uint64_t u) { return document_.Uint64(u); }
  bool Double(double d) {
    d = Exact(d);
    // The reader lets some numbers past the largest double through as infinite, which could
    // never be written back: refused like the ones it refuses itself.
    if (std::isfinite(d)) return document_.Double(d);
    refusal_ = "a number too big for a double";
    return false;
  }
  bool RawNumber(const char* text, SizeType length, bool copy) {
    return document_.RawNumber(text, length, copy);
  }
  bool String(const char* text, SizeType length, bool copy) {
    return Utf8(text, length) && document_.String(text, length, copy);
  }
  bool Key(const char* text, SizeType length, bool copy) {
    return Utf8(text, length) && document_.Key(text, length, copy);
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

  // Why the handler stopped the reader; null when it did not.
  const char* refusal() const { return refusal_; }

 private:
  bool Enter() {
    if (++depth_ <= kTerMaxJsonDepth) return true;
    static_assert(kTerMaxJsonDepth == 256, "the message names the limit");
    refusal_ = "nested deeper than 256 levels";
    return false;
  }
  bool Utf8(const char* text, SizeType length) {
    if (IsValidUtf8(text, length)) return true;
    refusal_ = "text that is not strict UTF-8";
    return false;
  }
  // The number just read, which ends where the stream stands, to the nearest double: the
  // reader's quick conversion can be a unit off in the last place, so a number would change a
  // little at every save of the file it came from. (The reader's own exact conversion is no
  // way out: it reads past its tables on some long numbers with large exponents.) Numbers
  // out of range keep the quick value: zero when tiny, infinite when too big.
  double Exact(double quick) const {
    const char* end = text_ + stream_.Tell();
    const char* begin = end;
    while (begin > text_ && IsNumberCharacter(begin[-1])) --begin;
    double exact = 0;
    const std::from_chars_result read = std::from_chars(begin, end, exact);
    return read.ec == std::errc() && read.ptr == end ? exact : quick;
  }

  JsonDocument& document_;
  const char* text_;
  const rapidjson::MemoryStream& stream_;
  int depth_ = 0;
  const char* refusal_ = nullptr;
};

// Feeds the reader's events to the document through the guard (GenericDocument::Populate).
struct GuardedParse {
  bool operator()(JsonDocument& document) {
    constexpr unsigned kFlags =
        rapidjson::kParseIterativeFlag | rapidjson::kParseValidateEncodingFlag;
    rapidjson::MemoryStream stream(text, length);
    rapidjson::GenericReader<rapidjson::UTF8<>, rapidjson::UTF8<>, rapidjson::CrtAllocator> reader;
    GuardedHandler handler(document, text, stream);
    result = reader.Parse<kFlags>(stream, handler);
    refusal = handler.refusal();
    ok = !result.IsError();
    return ok;
  }

  const char* text;
  size_t length;
  bool ok = false;
  rapidjson::ParseResult result;
  const char* refusal = nullptr;
};

void Describe(std::string* problem, const std::string& what, size_t offset) {
  if (problem) *problem = what + " (offset " + std::to_string(offset) + ")";
}

template <class Writer>
bool Accept(const JsonValue& value, Writer& writer) {
  return value.Accept(writer) && writer.IsComplete();
}

}  // namespace

bool ParseJsonObject(const char* text, size_t length, JsonDocument* document,
                     std::string* problem) {
  document->SetObject();
  if (!text) {
    Describe(problem, "no text", 0);
    return false;
  }
  size_t skipped = 0;
  if (length >= 3 && std::memcmp(text, "\xEF\xBB\xBF", 3) == 0) {
    text += 3;
    length -= 3;
    skipped = 3;
  }
  if (length == 0) {
    Describe(problem, "empty", skipped);
    return false;
  }
  JsonDocument parsed;
  GuardedParse parse{text, length, false, rapidjson::ParseResult(), nullptr};
  parsed.Populate(parse);
  if (!parse.ok) {
    const char* what =
        parse.refusal ? parse.refusal : rapidjson::GetParseError_En(parse.result.Code());
    Describe(problem, what, skipped + parse.result.Offset());
    return false;
  }
  // The reader takes a zero byte for the end of the text and would accept "{}\0junk".
  if (const void* zero = std::memchr(text, 0, length)) {
    Describe(problem, "a zero byte", skipped + (static_cast<const char*>(zero) - text));
    return false;
  }
  if (!parsed.IsObject()) {
    Describe(problem, "the root is not an object", skipped);
    return false;
  }
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
