// The update list between the check worker and the list dialog: JSON text built from the
// library's items with the notes of one language, and the dialog text made from it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "upfetch/upfetch.h"

// The lines after the first one equal to "{" + language + "}" (case ignored), up to the next
// line that starts with "{". None without such a line.
std::vector<std::string> NotesForLanguage(const std::vector<std::string>& lines,
                                          const std::string& language);

// [{"version", "md5", "path_remote", "descriptions": [...]}, ...] in list order; null texts
// become empty ones.
std::string UpdateListJson(const UFUpdateData* first, const std::string& language);

struct UpdateListText {  // UTF-8
  std::string text;           // what the notes box shows
  std::string first_version;  // the newest version, for the sheet tip
};

// For each element: version_label + ": " + version, then one line per description, each
// ended by "\r\n"; an empty line between elements only. False when the text is not such a
// JSON array.
bool FormatUpdateList(const char* json, size_t length, const std::string& version_label,
                      UpdateListText* text);
