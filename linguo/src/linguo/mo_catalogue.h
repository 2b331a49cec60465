// Reader of gettext binary catalogues, internal to the library.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "linguo/key_index.h"

namespace linguo {

// A catalogue converted to UTF-16 at load time. It never changes afterwards, so any number
// of threads may look up at once without a lock, and its texts never move.
class Catalogue {
 public:
  // Null when the bytes are not a sound catalogue: wrong magic or revision, a table or
  // string outside the data, a string without its terminating NUL, or invalid UTF-8 in
  // any string (a catalogue that lies about its encoding is not trusted in part).
  static std::unique_ptr<Catalogue> Parse(const unsigned char* data, std::size_t size);

  // The translation of key, or null when the catalogue has none. Allocates nothing.
  const wchar_t* Find(std::wstring_view key) const noexcept;
  // The same for a NUL-terminated key, which it reads only once.
  const wchar_t* Find(const wchar_t* key) const noexcept { return index_.Find(key); }

  std::size_t entry_count() const noexcept { return index_.size(); }

 private:
  Catalogue() = default;

  std::wstring texts_;  // every key and translation, each followed by a NUL
  KeyIndex index_{0};  // views into texts_
};

}  // namespace linguo
