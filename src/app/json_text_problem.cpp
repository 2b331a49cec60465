#include "app/json_text_problem.h"

#include "common/safe_json.h"

std::string JsonTextProblem(const std::string& bytes) {
  size_t start = 0;
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) start = 3;  // a UTF-8 byte order mark is fine
  rapidjson::Document document;
  std::string message;
  if (!safe_json::Parse(bytes.data() + start, bytes.size() - start, document, &message))
    return message;
  if (!document.IsObject()) return "is not a JSON object";
  // The parser takes a zero byte for the end of the text; the service refuses the file.
  const size_t zero = bytes.find('\0', start);
  if (zero != std::string::npos) return "holds a zero byte (offset " + std::to_string(zero) + ")";
  return "was refused by the user-defaults service";
}
