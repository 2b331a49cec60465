// The JSON text a module opens a link alert with, read without the platform:
// {"title", "sub_title", "link", "width", "height"}, each optional.
#pragma once

#include <cstddef>
#include <string>

struct LinkAlertPayload {
  std::string title;      // UTF-8, as are the others
  std::string sub_title;
  std::string link;       // the message, whose <a href="..."> parts are the links
  int width = 0;          // asked-for client size, clamped to 0..0x7FFF
  int height = 0;
};

// False, and no dialog, unless the text is one JSON object; members of another type read
// as empty or 0.
bool ParseLinkAlertPayload(const char* json, size_t length, LinkAlertPayload* payload);
