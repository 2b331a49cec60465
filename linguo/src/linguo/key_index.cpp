#include "linguo/key_index.h"

#include <chrono>
#include <cwchar>

namespace linguo {
namespace {

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;

std::uint64_t Mix(std::uint64_t h, std::uint64_t word) noexcept {
  h = (h ^ word) * kMultiplier;
  return h ^ (h >> 29);
}

// Units are hashed four to a word. Only the low 16 bits of a unit count, so the hash is the
// same wherever wchar_t is wider; look-ups still compare whole keys.
std::uint64_t Unit(wchar_t c) noexcept { return std::uint16_t(c); }

std::uint64_t Finish(std::uint64_t h, std::size_t length) noexcept {
  h = Mix(h, length);
  return Mix(h, h >> 32);
}

}  // namespace

KeyIndex::KeyIndex(std::size_t count)
    // Seeded per table, so a crafted catalogue cannot count on its keys colliding.
    : seed_(std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()) ^
            std::uint64_t(reinterpret_cast<std::uintptr_t>(this))) {
  std::size_t slots = 8;
  while (slots < 2 * count) slots *= 2;  // at most half full: misses end at once
  slots_.resize(slots);
  mask_ = slots - 1;
  capacity_ = slots / 2;
}

std::uint64_t KeyIndex::Hash(std::wstring_view key) const noexcept {
  std::uint64_t h = seed_;
  const wchar_t* p = key.data();
  std::size_t left = key.size();
  for (; left >= 4; p += 4, left -= 4) {
    h = Mix(h, Unit(p[0]) | Unit(p[1]) << 16 | Unit(p[2]) << 32 | Unit(p[3]) << 48);
  }
  std::uint64_t word = 0;
  for (std::size_t i = 0; i < left; ++i) word |= Unit(p[i]) << (16 * i);
  if (left > 0) h = Mix(h, word);
  return Finish(h, key.size());
}

// The same hash as above, measuring the key while reading it: a translation's key arrives
// NUL-terminated, and a separate wcslen would read it twice.
std::uint64_t KeyIndex::Hash(const wchar_t* key, std::size_t* length) const noexcept {
  std::uint64_t h = seed_;
  const wchar_t* p = key;
  std::uint64_t word = 0;
  bool tail = true;
  for (;; p += 4) {
    if (p[0] == 0) {
      tail = false;
      break;
    }
    const std::uint64_t c0 = Unit(p[0]);
    if (p[1] == 0) {
      word = c0;
      p += 1;
      break;
    }
    const std::uint64_t c1 = Unit(p[1]);
    if (p[2] == 0) {
      word = c0 | c1 << 16;
      p += 2;
      break;
    }
    const std::uint64_t c2 = Unit(p[2]);
    if (p[3] == 0) {
      word = c0 | c1 << 16 | c2 << 32;
      p += 3;
      break;
    }
    h = Mix(h, c0 | c1 << 16 | c2 << 32 | Unit(p[3]) << 48);
  }
  if (tail) h = Mix(h, word);
  *length = std::size_t(p - key);
  return Finish(h, *length);
}

bool KeyIndex::Insert(std::wstring_view key, const wchar_t* text) {
  if (count_ >= capacity_ || key.data() == nullptr) return false;
  const std::uint64_t hash = Hash(key);
  for (std::size_t at = hash & mask_;; at = (at + 1) & mask_) {
    Slot& slot = slots_[at];
    if (slot.key == nullptr) {
      slot = Slot{hash, key.data(), key.size(), text};
      ++count_;
      return true;
    }
    if (slot.hash == hash && slot.length == key.size() &&
        std::wmemcmp(slot.key, key.data(), key.size()) == 0) {
      return false;
    }
  }
}

const wchar_t* KeyIndex::Probe(std::uint64_t hash, const wchar_t* key,
                               std::size_t length) const noexcept {
  for (std::size_t at = hash & mask_;; at = (at + 1) & mask_) {
    const Slot& slot = slots_[at];
    if (slot.key == nullptr) return nullptr;  // never full, so every probe ends
    if (slot.hash == hash && slot.length == length &&
        std::wmemcmp(slot.key, key, length) == 0) {
      return slot.text;
    }
  }
}

const wchar_t* KeyIndex::Find(std::wstring_view key) const noexcept {
  return Probe(Hash(key), key.data(), key.size());
}

const wchar_t* KeyIndex::Find(const wchar_t* key) const noexcept {
  std::size_t length = 0;
  const std::uint64_t hash = Hash(key, &length);
  return Probe(hash, key, length);
}

}  // namespace linguo
