#include "upfetch/update_list.h"

#include <rapidjson/document.h>

#include <algorithm>

namespace upfetch {

namespace {

constexpr std::string_view kSignaturePrefix = "UFSIG1 ES256 ";
constexpr int kListFormat = 1;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (Lower(text[i]) != Lower(prefix[i])) return false;
  }
  return true;
}

bool EqualNoCase(std::string_view left, std::string_view right) {
  return left.size() == right.size() && StartsWithNoCase(left, right);
}

// Length of "http://" or "https://" at the start, 0 for anything else.
size_t SchemeLength(std::string_view address) {
  if (StartsWithNoCase(address, "http://")) return 7;
  if (StartsWithNoCase(address, "https://")) return 8;
  return 0;
}

bool PlainAddressText(std::string_view text) {
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7F || c == '\\' || c == '"') return false;
  }
  return true;
}

std::string PercentEncode(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
        c == '_' || c == '.' || c == '~') {
      out += c;
    } else {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    }
  }
  return out;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// The reader turns a lone "\udc00" escape into the bytes of a surrogate, which are no text:
// a strict reader refuses them, so a note holding one would keep the whole list from being
// shown. The raw bytes are checked by the reader already, so ED is always a lead byte here.
bool IsText(const rapidjson::Value& value) {
  const char* text = value.GetString();
  for (rapidjson::SizeType i = 0; i + 1 < value.GetStringLength(); ++i) {
    if (static_cast<unsigned char>(text[i]) == 0xED &&
        (static_cast<unsigned char>(text[i + 1]) & 0xE0) == 0xA0) {
      return false;
    }
  }
  return true;
}

const rapidjson::Value* Member(const rapidjson::Value& object, const char* name) {
  auto found = object.FindMember(name);
  return found == object.MemberEnd() ? nullptr : &found->value;
}

bool ReadEntry(const rapidjson::Value& value, std::string_view list_address, ListEntry* entry,
               std::string* error) {
  if (!value.IsObject()) {
    *error = "an update is not an object";
    return false;
  }
  const auto* version = Member(value, "version");
  if (!version || !version->IsString() ||
      !ParseVersion(std::string_view(version->GetString(), version->GetStringLength()),
                    &entry->version)) {
    *error = "an update has no valid \"version\"";
    return false;
  }
  entry->version_text.assign(version->GetString(), version->GetStringLength());

  const auto* url = Member(value, "url");
  if (!url || !url->IsString() ||
      (entry->address = ResolveAddress(list_address,
                                       std::string_view(url->GetString(), url->GetStringLength())))
          .empty()) {
    *error = "update " + entry->version_text + " has no usable \"url\"";
    return false;
  }
  const auto* size = Member(value, "size");
  if (!size || !size->IsUint64() || size->GetUint64() == 0) {
    *error = "update " + entry->version_text + " has no valid \"size\"";
    return false;
  }
  entry->size = size->GetUint64();
  const auto* sha256 = Member(value, "sha256");
  if (!sha256 || !sha256->IsString() ||
      !DecodeHex(std::string_view(sha256->GetString(), sha256->GetStringLength()),
                 entry->sha256.data(), entry->sha256.size())) {
    *error = "update " + entry->version_text + " has no valid \"sha256\"";
    return false;
  }
  if (const auto* md5 = Member(value, "md5")) {
    if (!md5->IsString() || !IsText(*md5)) {
      *error = "update " + entry->version_text + " has a non-text \"md5\"";
      return false;
    }
    entry->md5.assign(md5->GetString(), md5->GetStringLength());
  }
  if (const auto* notes = Member(value, "notes")) {
    if (!notes->IsArray()) {
      *error = "update " + entry->version_text + " has \"notes\" that are not a list";
      return false;
    }
    for (const auto& line : notes->GetArray()) {
      if (!line.IsString() || !IsText(line)) {
        *error = "update " + entry->version_text + " has a note that is not text";
        return false;
      }
      entry->notes.emplace_back(line.GetString(), line.GetStringLength());
    }
  }
  return true;
}

}  // namespace

bool SplitSignedList(std::string_view document, SignedList* list) {
  const size_t end = document.find('\n');
  if (end == std::string_view::npos || end + 1 >= document.size()) return false;
  std::string_view line = document.substr(0, end);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.substr(0, kSignaturePrefix.size()) != kSignaturePrefix) return false;
  std::vector<uint8_t> signature;
  if (!DecodeBase64(line.substr(kSignaturePrefix.size()), &signature) ||
      signature.size() != kSignatureBytes) {
    return false;
  }
  list->signature = std::move(signature);
  list->body = document.substr(end + 1);
  return true;
}

bool ParseUpdateList(std::string_view body, std::string_view brand, std::string_view list_address,
                     std::vector<ListEntry>* entries, std::string* error) {
  rapidjson::Document document;
  document.Parse<rapidjson::kParseIterativeFlag | rapidjson::kParseValidateEncodingFlag>(
      body.data(), body.size());
  if (document.HasParseError()) {
    *error = "the list is not valid JSON (offset " + std::to_string(document.GetErrorOffset()) + ")";
    return false;
  }
  if (!document.IsObject()) {
    *error = "the list is not a JSON object";
    return false;
  }
  const auto* format = Member(document, "format");
  if (!format || !format->IsInt() || format->GetInt() != kListFormat) {
    *error = "the list's \"format\" is not 1";
    return false;
  }
  const auto* list_brand = Member(document, "brand");
  if (!list_brand || !list_brand->IsString() ||
      !EqualNoCase(std::string_view(list_brand->GetString(), list_brand->GetStringLength()),
                   brand)) {
    *error = "the list is made for another product";
    return false;
  }
  const auto* updates = Member(document, "updates");
  if (!updates || !updates->IsArray()) {
    *error = "the list has no \"updates\"";
    return false;
  }
  std::vector<ListEntry> read;
  for (const auto& value : updates->GetArray()) {
    ListEntry entry;
    if (!ReadEntry(value, list_address, &entry, error)) return false;
    read.push_back(std::move(entry));
  }
  *entries = std::move(read);
  return true;
}

std::vector<ListEntry> NewerEntries(std::vector<ListEntry> entries, const Version& running) {
  entries.erase(std::remove_if(entries.begin(), entries.end(),
                               [&](const ListEntry& entry) {
                                 return CompareVersions(entry.version, running) <= 0;
                               }),
                entries.end());
  std::stable_sort(entries.begin(), entries.end(), [](const ListEntry& a, const ListEntry& b) {
    return CompareVersions(a.version, b.version) > 0;
  });
  return entries;
}

std::string ListAddress(std::string_view root, std::string_view brand, std::string_view product,
                        std::string_view version, int product_type) {
  const size_t scheme = SchemeLength(root);
  if (scheme == 0 || root.size() == scheme || !PlainAddressText(root) ||
      root.find_first_of("?#") != std::string_view::npos) {
    return std::string();
  }
  std::string address(root);
  if (address.back() != '/') address += '/';
  address += "update/" + PercentEncode(brand) + "/update-list.txt?product=" +
             PercentEncode(product) + "&version=" + PercentEncode(version) +
             "&type=" + std::to_string(product_type);
  return address;
}

std::string ResolveAddress(std::string_view base, std::string_view reference) {
  if (reference.empty() || !PlainAddressText(reference)) return std::string();
  if (const size_t scheme = SchemeLength(reference)) {
    return reference.size() > scheme && reference[scheme] != '/' ? std::string(reference)
                                                                 : std::string();
  }
  // Any other scheme ("file:", "ftp:") and scheme-relative "//host" are refused.
  const size_t colon = reference.find(':');
  if (colon != std::string_view::npos && reference.find_first_of("/?#") > colon) return {};
  if (reference.substr(0, 2) == "//") return std::string();

  const size_t scheme = SchemeLength(base);
  if (scheme == 0) return std::string();
  base = base.substr(0, base.find_first_of("?#"));
  const size_t path = base.find('/', scheme);
  const std::string_view origin = base.substr(0, path);
  if (origin.size() <= scheme) return std::string();
  if (reference.front() == '/') return std::string(origin) + std::string(reference);
  const std::string_view folder =
      path == std::string_view::npos ? std::string_view("/")
                                     : base.substr(path, base.rfind('/') - path + 1);
  return std::string(origin) + std::string(folder) + std::string(reference);
}

std::string InstallerFileName(std::string_view brand, std::string_view version) {
  std::string name;
  for (char c : brand) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '_' || c == '.';
    name += plain ? c : '_';
  }
  return name + "-" + std::string(version) + "-setup.exe";
}

bool DecodeBase64(std::string_view text, std::vector<uint8_t>* bytes) {
  if (text.size() % 4 != 0) return false;
  std::vector<uint8_t> out;
  for (size_t i = 0; i < text.size(); i += 4) {
    const bool last = i + 4 == text.size();
    int values[4];
    int padding = 0;
    for (int k = 0; k < 4; ++k) {
      const char c = text[i + k];
      if (c == '=' && last && k >= 2 && (k == 3 || text[i + 3] == '=')) {
        values[k] = 0;
        ++padding;
        continue;
      }
      if (padding || (values[k] = Base64Value(c)) < 0) return false;
    }
    const uint32_t group = (values[0] << 18) | (values[1] << 12) | (values[2] << 6) | values[3];
    out.push_back(static_cast<uint8_t>(group >> 16));
    if (padding < 2) out.push_back(static_cast<uint8_t>(group >> 8));
    if (padding < 1) out.push_back(static_cast<uint8_t>(group));
  }
  *bytes = std::move(out);
  return true;
}

bool DecodeHex(std::string_view text, uint8_t* bytes, size_t size) {
  if (text.size() != 2 * size) return false;
  for (size_t i = 0; i < size; ++i) {
    const int high = HexValue(text[2 * i]);
    const int low = HexValue(text[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    bytes[i] = static_cast<uint8_t>(high << 4 | low);
  }
  return true;
}

}  // namespace upfetch
