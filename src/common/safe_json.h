// Parses untrusted JSON (descriptors, payloads) without unbounded recursion: the reader
// runs iteratively, encodings are validated and documents deeper than kMaxJsonDepth are
// refused, so neither parsing, copying nor writing a document can exhaust the stack.
#pragma once

#include <rapidjson/document.h>
#include <rapidjson/error/en.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

#include <cstddef>
#include <string>

namespace safe_json {

constexpr int kMaxJsonDepth = 256;
constexpr unsigned kParseFlags =
    rapidjson::kParseIterativeFlag | rapidjson::kParseValidateEncodingFlag;

// Forwards every event to the document while counting how deep it is.
class DepthLimitedHandler {
 public:
  explicit DepthLimitedHandler(rapidjson::Document& document) : document_(document) {}
  bool Null() { return document_.Null(); }
  bool Bool(bool b) { return document_.Bool(b); }
  bool Int(int i) { return document_.Int(i); }
  bool Uint(unsigned u) { return document_.Uint(u); }
  bool Int64(int64_t i) { return document_.Int64(i); }
  bool Uint64(uint64_t u) { return document_.Uint64(u); }
  bool Double(double d) { return document_.Double(d); }
  bool RawNumber(const char* s, rapidjson::SizeType n, bool copy) {
    return document_.RawNumber(s, n, copy);
  }
  bool String(const char* s, rapidjson::SizeType n, bool copy) {
    return document_.String(s, n, copy);
  }
  bool Key(const char* s, rapidjson::SizeType n, bool copy) { return document_.Key(s, n, copy); }
  bool StartObject() { return ++depth_ <= kMaxJsonDepth && document_.StartObject(); }
  bool EndObject(rapidjson::SizeType n) { --depth_; return document_.EndObject(n); }
  bool StartArray() { return ++depth_ <= kMaxJsonDepth && document_.StartArray(); }
  bool EndArray(rapidjson::SizeType n) { --depth_; return document_.EndArray(n); }
  bool too_deep() const { return depth_ > kMaxJsonDepth; }

 private:
  rapidjson::Document& document_;
  int depth_ = 0;
};

// Parses `text` (of `length` bytes) into `document`. On failure the document is left null
// and `error` (when given) says why, with the byte offset.
inline bool Parse(const char* text, size_t length, rapidjson::Document& document,
                  std::string* error = nullptr) {
  document.SetNull();
  if (!text) {
    if (error) *error = "no text";
    return false;
  }
  rapidjson::ParseResult result;
  bool too_deep = false;
  auto generate = [&](rapidjson::Document& target) {
    DepthLimitedHandler handler(target);
    rapidjson::MemoryStream stream(text, length);
    rapidjson::Reader reader;
    result = reader.Parse<kParseFlags>(stream, handler);
    too_deep = handler.too_deep();
    return !result.IsError();
  };
  document.Populate(generate);
  if (result.IsError()) {
    document.SetNull();
    if (error) {
      *error = too_deep ? std::string("nesting deeper than ") + std::to_string(kMaxJsonDepth) +
                              " levels"
                        : rapidjson::GetParseError_En(result.Code());
      *error += " (offset " + std::to_string(result.Offset()) + ")";
    }
    return false;
  }
  return true;
}

}  // namespace safe_json
