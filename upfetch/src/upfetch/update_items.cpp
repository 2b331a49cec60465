#include "upfetch/update_items.h"

namespace upfetch {

std::shared_ptr<List> MakeList(const std::string& brand, std::vector<ListEntry> entries) {
  auto list = std::make_shared<List>();
  list->brand = brand;
  for (auto& entry : entries) {
    auto item = std::make_unique<Item>();
    item->version = std::move(entry.version_text);
    item->address = std::move(entry.address);
    item->md5 = std::move(entry.md5);
    item->note_texts = std::move(entry.notes);
    item->size = entry.size;
    item->sha256 = entry.sha256;
    item->notes.resize(item->note_texts.size());
    for (size_t i = 0; i < item->notes.size(); ++i) {
      item->notes[i].text = &item->note_texts[i][0];
      item->notes[i].next = i + 1 < item->notes.size() ? &item->notes[i + 1] : nullptr;
    }
    item->data.version = &item->version[0];
    item->data.path_remote = &item->address[0];
    item->data.local_path = &item->local_path[0];
    item->data.md5 = &item->md5[0];
    item->data.notes = item->notes.empty() ? nullptr : &item->notes[0];
    if (!list->items.empty()) list->items.back()->data.next = &item->data;
    list->items.push_back(std::move(item));
  }
  return list;
}

}  // namespace upfetch
