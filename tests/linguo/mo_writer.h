// Builds gettext binary catalogues in memory, in either byte order, so the tests need no
// msgfmt at run time and can damage the bytes at will.
#pragma once

#include <process.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace linguo_test {

struct MoEntry {
  std::string id;   // UTF-8; plural forms separated by '\0'
  std::string str;  // UTF-8; plural forms separated by '\0'
};

using Bytes = std::vector<unsigned char>;

inline void PutWord(Bytes& b, std::size_t at, std::uint32_t v, bool big_endian) {
  for (int i = 0; i < 4; ++i) {
    const int shift = big_endian ? 24 - 8 * i : 8 * i;
    b[at + i] = static_cast<unsigned char>(v >> shift);
  }
}

inline std::uint32_t GetWord(const Bytes& b, std::size_t at, bool big_endian) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) {
    const int shift = big_endian ? 24 - 8 * i : 8 * i;
    v |= std::uint32_t(b[at + i]) << shift;
  }
  return v;
}

// Layout: 28-byte header, `pad` spare bytes, the original table, the translation table,
// then every msgid and every msgstr, each with its NUL. The file's last byte is therefore
// the NUL of the last msgstr.
inline Bytes BuildMo(const std::vector<MoEntry>& entries, bool big_endian,
                     std::uint32_t revision = 0, std::size_t pad = 0) {
  const std::uint32_t n = static_cast<std::uint32_t>(entries.size());
  const std::uint32_t originals = static_cast<std::uint32_t>(28 + pad);
  const std::uint32_t translations = originals + 8 * n;
  std::size_t at = translations + 8 * n;
  Bytes b(at, 0);
  PutWord(b, 0, 0x950412deu, big_endian);
  PutWord(b, 4, revision, big_endian);
  PutWord(b, 8, n, big_endian);
  PutWord(b, 12, originals, big_endian);
  PutWord(b, 16, translations, big_endian);
  PutWord(b, 20, 0, big_endian);  // no hash table
  PutWord(b, 24, 0, big_endian);
  auto append = [&](const std::string& s, std::uint32_t table, std::uint32_t i) {
    PutWord(b, table + 8 * i, static_cast<std::uint32_t>(s.size()), big_endian);
    PutWord(b, table + 8 * i + 4, static_cast<std::uint32_t>(b.size()), big_endian);
    b.insert(b.end(), s.begin(), s.end());
    b.push_back(0);
  };
  for (std::uint32_t i = 0; i < n; ++i) append(entries[i].id, originals, i);
  for (std::uint32_t i = 0; i < n; ++i) append(entries[i].str, translations, i);
  return b;
}

inline void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A private folder under the temporary folder, removed again at the end.
class TempFolder {
 public:
  TempFolder() {
    static int serial = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("linguo-test-" + std::to_string(::_getpid()) + "-" + std::to_string(++serial));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The folder as Load takes it, with its trailing separator.
  std::wstring folder() const { return path_.wstring() + L"\\"; }

 private:
  std::filesystem::path path_;
};

}  // namespace linguo_test
