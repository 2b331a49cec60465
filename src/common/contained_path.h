// Names that come from data files or modules (a descriptor's "path", a module's folder name,
// a picture key, a documents sub-folder) are joined to a folder we chose only when they
// cannot leave it: relative, no drive, stream or device, no climbing segment.
#pragma once

#include <string_view>

namespace contained_path {

template <typename Char>
bool IsClimbing(std::basic_string_view<Char> segment) {
  // Windows drops trailing dots and blanks, so ". ." and "... " can act as "..".
  int dots = 0;
  for (Char c : segment) {
    if (c == Char('.'))
      ++dots;
    else if (c != Char(' '))
      return false;
  }
  return dots >= 2;
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices in every folder, extension or not.
template <typename Char>
bool IsDeviceName(std::basic_string_view<Char> segment) {
  std::basic_string_view<Char> base = segment.substr(0, segment.find(Char('.')));
  while (!base.empty() && base.back() == Char(' ')) base.remove_suffix(1);
  auto upper = [](Char c) { return c >= Char('a') && c <= Char('z') ? Char(c - 'a' + 'A') : c; };
  auto starts_with = [&](const char* name) {
    for (size_t i = 0; i < 3; ++i)
      if (upper(base[i]) != Char(name[i])) return false;
    return true;
  };
  if (base.size() == 3)
    return starts_with("CON") || starts_with("PRN") || starts_with("AUX") || starts_with("NUL");
  if (base.size() == 4 && base[3] >= Char('1') && base[3] <= Char('9'))
    return starts_with("COM") || starts_with("LPT");
  return false;
}

template <typename Char>
bool IsContained(std::basic_string_view<Char> path) {
  if (path.empty()) return false;
  if (path[0] == Char('/') || path[0] == Char('\\')) return false;  // rooted or UNC
  size_t start = 0;
  for (size_t i = 0; i <= path.size(); ++i) {
    const bool end = i == path.size() || path[i] == Char('/') || path[i] == Char('\\');
    if (!end) {
      if (path[i] == Char(':')) return false;  // drive, device or stream
      continue;
    }
    const auto segment = path.substr(start, i - start);
    if (IsClimbing(segment) || IsDeviceName(segment)) return false;
    start = i + 1;
  }
  return true;
}

}  // namespace contained_path

// A relative path that stays inside its folder ("/" and "\" both separate).
inline bool IsContainedRelativePath(std::string_view path) {
  return contained_path::IsContained(path);
}
inline bool IsContainedRelativePath(std::wstring_view path) {
  return contained_path::IsContained(path);
}
