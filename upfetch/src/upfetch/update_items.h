// The lists the library hands out: every UFUpdateData of a check points into one List, which
// also keeps what the download must check. Built from parsed entries, without the platform.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "upfetch/update_list.h"
#include "upfetch/upfetch.h"

namespace upfetch {

// What the library keeps behind one UFUpdateData: the texts it points into and what the
// download must check.
struct Item {
  UFUpdateData data = {};
  std::string version;
  std::string address;
  std::string local_path;
  std::string md5;
  std::vector<std::string> note_texts;
  std::vector<UFNote> notes;
  uint64_t size = 0;
  Sha256Digest sha256 = {};
};

struct List {
  std::string brand;
  std::vector<std::unique_ptr<Item>> items;
};

// The entries as a chain in their order; every text pointer is valid (empty at least) for
// the life of the list.
std::shared_ptr<List> MakeList(const std::string& brand, std::vector<ListEntry> entries);

}  // namespace upfetch
