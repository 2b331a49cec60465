// The look-up table of a catalogue's keys, internal to the library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace linguo {

// Open addressing over UTF-16 keys, filled once and read-only afterwards, so any number of
// threads may look up at once. A look-up reads the key once, measuring and hashing it, and a
// miss usually stops at the first empty slot: a translation costs little more than one pass
// over its key.
class KeyIndex {
 public:
  // Sizes the table for `count` keys; Insert beyond that is refused.
  explicit KeyIndex(std::size_t count);

  // Adds key → text; the views must outlive the index. A repeated key keeps its first text.
  // False when the key was already there or the table is full.
  bool Insert(std::wstring_view key, const wchar_t* text);

  // The text of key, or null. Allocates nothing.
  const wchar_t* Find(std::wstring_view key) const noexcept;
  // The same for a NUL-terminated key, read only once.
  const wchar_t* Find(const wchar_t* key) const noexcept;

  std::size_t size() const noexcept { return count_; }

 private:
  struct Slot {
    std::uint64_t hash = 0;
    const wchar_t* key = nullptr;  // null marks an empty slot
    std::size_t length = 0;
    const wchar_t* text = nullptr;
  };

  std::uint64_t Hash(std::wstring_view key) const noexcept;
  std::uint64_t Hash(const wchar_t* key, std::size_t* length) const noexcept;
  const wchar_t* Probe(std::uint64_t hash, const wchar_t* key, std::size_t length) const noexcept;

  std::vector<Slot> slots_;
  std::size_t mask_ = 0;
  std::size_t capacity_ = 0;  // keys accepted before the table would be more than half full
  std::size_t count_ = 0;
  std::uint64_t seed_;
};

}  // namespace linguo
