// Gettext binary catalogues built in memory in either byte order, so tests can damage the
// bytes at will. Plain C++: the native sanitizer build uses it too.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace linguo_test {

using Bytes = std::string;

inline void PutWord(Bytes& b, std::size_t at, std::uint32_t v, bool big_endian) {
  for (int i = 0; i < 4; ++i) b[at + i] = char(v >> (big_endian ? 24 - 8 * i : 8 * i));
}

inline std::uint32_t GetWord(const Bytes& b, std::size_t at, bool big_endian) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) {
    v |= std::uint32_t(std::uint8_t(b[at + i])) << (big_endian ? 24 - 8 * i : 8 * i);
  }
  return v;
}

// {msgid, msgstr} in UTF-8, plural forms separated by '\0'. Layout: the 28-byte header, the
// original table at 28, the translation table, then every msgid and every msgstr with its NUL.
inline Bytes BuildMo(const std::vector<std::pair<std::string, std::string>>& entries,
                     bool big_endian, std::uint32_t revision = 0) {
  const auto n = static_cast<std::uint32_t>(entries.size());
  Bytes b(28 + 16 * n, '\0');
  const std::uint32_t header[] = {0x950412deu, revision, n, 28, 28 + 8 * n};
  for (int i = 0; i < 5; ++i) PutWord(b, 4 * i, header[i], big_endian);
  auto append = [&](const std::string& s, std::uint32_t table, std::uint32_t i) {
    PutWord(b, table + 8 * i, static_cast<std::uint32_t>(s.size()), big_endian);
    PutWord(b, table + 8 * i + 4, static_cast<std::uint32_t>(b.size()), big_endian);
    b += s;
    b += '\0';
  };
  for (std::uint32_t i = 0; i < n; ++i) append(entries[i].first, 28, i);
  for (std::uint32_t i = 0; i < n; ++i) append(entries[i].second, 28 + 8 * n, i);
  return b;
}

inline Bytes SampleMo(bool big_endian) {
  return BuildMo({{"", "Content-Type: text/plain; charset=UTF-8\n"},
                  {"ok", "Okay"},
                  {"close", "\xE9\x96\x89\xE3\x81\x98\xE3\x82\x8B"},     // Japanese
                  {"exit", "\xD0\x92\xD1\x8B\xD1\x85\xD0\xBE\xD0\xB4"},  // Russian
                  {"smile", "\xF0\x9F\x98\x80"},                         // beyond the BMP
                  {"\xC3\xBC"
                   "ber",
                   "over"},
                  {std::string("file\0files", 10), std::string("Datei\0Dateien", 13)},
                  {"untranslated", ""},
                  {"tip-%s", "Restart %s now."}},
                 big_endian);
}
inline const wchar_t* const kJapaneseClose = L"\u9589\u3058\u308B";
inline const wchar_t* const kRussianExit = L"\u0412\u044B\u0445\u043E\u0434";

}  // namespace linguo_test
