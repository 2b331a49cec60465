// Texts handed out by the user defaults are malloc'ed copies (ter_user_defaults.h); code that
// needs no other service of the library takes them with this and gives the block back.
#pragma once

#include <cstdlib>
#include <string>

inline std::string TakeDefaultsText(char* text) {
  std::string taken = text ? text : "";
  std::free(text);
  return taken;
}
