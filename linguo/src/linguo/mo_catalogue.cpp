#include "linguo/mo_catalogue.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace linguo {
namespace {

// Translations are handed out as UTF-16 units; the native test build keeps them in its wider
// wchar_t, one unit each.
static_assert(sizeof(wchar_t) >= 2, "a wchar_t holds one UTF-16 unit");

constexpr std::uint32_t kMagic = 0x950412deu;
constexpr std::uint32_t kMagicSwapped = 0xde120495u;
// magic, revision, string count, two table offsets, hash table size and offset
constexpr std::size_t kHeaderSize = 28;

struct Span {
  const unsigned char* bytes;
  std::size_t length;
};

// Reads the file's words in the file's own byte order. Callers check every offset first.
class Words {
 public:
  Words(const unsigned char* data, std::size_t size, bool big_endian)
      : data_(data), size_(size), big_endian_(big_endian) {}

  std::uint32_t At(std::uint64_t offset) const {
    const unsigned char* p = data_ + offset;
    if (big_endian_) {
      return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 |
             std::uint32_t(p[3]);
    }
    return std::uint32_t(p[3]) << 24 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 |
           std::uint32_t(p[0]);
  }

  // Whole-table check, so the per-entry reads below cannot leave the data.
  bool TableFits(std::uint32_t offset, std::uint32_t count) const {
    return std::uint64_t(offset) + std::uint64_t(count) * 8 <= size_;
  }

  // Entry i of a table that TableFits accepted. The string and its NUL must both lie inside
  // the data; 64-bit sums cannot wrap for 32-bit fields.
  bool StringAt(std::uint32_t table, std::uint32_t i, Span* out) const {
    const std::uint64_t entry = std::uint64_t(table) + std::uint64_t(i) * 8;
    const std::uint32_t length = At(entry);
    const std::uint32_t offset = At(entry + 4);
    const std::uint64_t terminator = std::uint64_t(offset) + length;
    if (terminator >= size_ || data_[terminator] != 0) return false;
    *out = Span{data_ + offset, length};
    return true;
  }

 private:
  const unsigned char* data_;
  std::size_t size_;
  bool big_endian_;
};

// Strict UTF-8 (no overlong forms, surrogates or values past U+10FFFF). When out is not
// null the text is appended to it as UTF-16.
bool DecodeUtf8(const unsigned char* s, std::size_t n, std::wstring* out) {
  std::size_t i = 0;
  while (i < n) {
    const unsigned lead = s[i];
    if (lead < 0x80) {
      if (out) out->push_back(wchar_t(lead));
      ++i;
      continue;
    }
    std::size_t extra;
    std::uint32_t cp;
    std::uint32_t least;
    if ((lead & 0xE0) == 0xC0) {
      extra = 1, cp = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2, cp = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3, cp = lead & 0x07, least = 0x10000;
    } else {
      return false;
    }
    if (n - i <= extra) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      const unsigned next = s[i + k];
      if ((next & 0xC0) != 0x80) return false;
      cp = cp << 6 | (next & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    if (out) {
      if (cp >= 0x10000) {
        cp -= 0x10000;
        out->push_back(wchar_t(0xD800 + (cp >> 10)));
        out->push_back(wchar_t(0xDC00 + (cp & 0x3FF)));
      } else {
        out->push_back(wchar_t(cp));
      }
    }
    i += extra + 1;
  }
  return true;
}

// Plural entries keep their forms NUL-separated; the first form stands for the entry.
Span FirstForm(Span s) {
  for (std::size_t i = 0; i < s.length; ++i) {
    if (s.bytes[i] == 0) return Span{s.bytes, i};
  }
  return s;
}

}  // namespace

std::unique_ptr<Catalogue> Catalogue::Parse(const unsigned char* data, std::size_t size) {
  if (data == nullptr || size < kHeaderSize) return nullptr;
  const std::uint32_t magic = Words(data, size, false).At(0);
  if (magic != kMagic && magic != kMagicSwapped) return nullptr;
  const Words words(data, size, magic == kMagicSwapped);

  // Major revision 1 only adds system-dependent strings after the plain tables; the plain
  // tables read the same, and those extra strings are not needed here.
  if ((words.At(4) >> 16) > 1) return nullptr;
  const std::uint32_t count = words.At(8);
  const std::uint32_t originals = words.At(12);
  const std::uint32_t translations = words.At(16);
  // The hash table (words 5 and 6) is never read: look-ups use an index built below.
  if (!words.TableFits(originals, count) || !words.TableFits(translations, count)) {
    return nullptr;
  }

  struct Entry {
    Span key;
    Span text;
  };
  std::vector<Entry> entries;
  entries.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    Span id;
    Span str;
    if (!words.StringAt(originals, i, &id) || !words.StringAt(translations, i, &str)) {
      return nullptr;
    }
    if (!DecodeUtf8(id.bytes, id.length, nullptr) || !DecodeUtf8(str.bytes, str.length, nullptr)) {
      return nullptr;
    }
    const Span key = FirstForm(id);
    const Span text = FirstForm(str);
    // The header entry has an empty key; an empty text means "not translated".
    if (key.length == 0 || text.length == 0) continue;
    entries.push_back(Entry{key, text});
  }

  std::unique_ptr<Catalogue> catalogue(new Catalogue);
  std::size_t units = 0;
  for (const Entry& e : entries) units += e.key.length + e.text.length + 2;
  catalogue->texts_.reserve(units);  // UTF-16 never takes more units than UTF-8 takes bytes

  // Offsets first: views are taken only once texts_ has stopped growing.
  std::vector<std::pair<std::size_t, std::size_t>> places;  // (key start, text start)
  places.reserve(entries.size());
  std::wstring& texts = catalogue->texts_;
  for (const Entry& e : entries) {
    const std::size_t key_at = texts.size();
    DecodeUtf8(e.key.bytes, e.key.length, &texts);
    texts.push_back(L'\0');
    const std::size_t text_at = texts.size();
    DecodeUtf8(e.text.bytes, e.text.length, &texts);
    texts.push_back(L'\0');
    places.emplace_back(key_at, text_at);
  }

  KeyIndex index(places.size());
  for (const auto& [key_at, text_at] : places) {
    // A repeated key keeps its first translation, as a linear search of the table would.
    const std::wstring_view key(texts.data() + key_at, text_at - key_at - 1);
    index.Insert(key, texts.data() + text_at);
  }
  catalogue->index_ = std::move(index);
  return catalogue;
}

const wchar_t* Catalogue::Find(std::wstring_view key) const noexcept {
  return index_.Find(key);
}

}  // namespace linguo
