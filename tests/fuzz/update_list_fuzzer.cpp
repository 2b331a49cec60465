// The update list as it arrives and travels on: the signature line split off, the body read
// into entries whose addresses and file names are safe to use, the newer ones handed out as a
// chain, and that chain's JSON for the list dialog, which must always make a dialog text.
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "update/update_list_json.h"
#include "upfetch/update_items.h"
#include "upfetch/update_list.h"

namespace {

constexpr char kListAddress[] =
    "https://up.example/update/Pellavorne/update-list.txt?product=P&version=1.1.64&type=1";

bool StartsWithHttp(const std::string& address) {
  std::string head = address.substr(0, 8);
  for (char& c : head) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return head.rfind("http://", 0) == 0 || head.rfind("https://", 0) == 0;
}

bool PlainAscii(const std::string& text) {
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7F || c == '\\' || c == '"') return false;
  }
  return true;
}

void CheckAddresses(std::string_view document) {
  // A root as an option file might give it, cut from the input's first line.
  const std::string root(document.substr(0, std::min<size_t>(document.find('\n'), 80)));
  const std::string address = upfetch::ListAddress(root, "Pellavorne", "Pellavorne Screen Recorder",
                                                   "1.1.64", 1);
  if (address.empty()) return;
  FUZZ_CHECK(address.rfind(root, 0) == 0 && StartsWithHttp(address) && PlainAscii(address));
  const std::string resolved = upfetch::ResolveAddress(address, "setup.exe");
  FUZZ_CHECK(resolved.empty() || (StartsWithHttp(resolved) && PlainAscii(resolved)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view document(reinterpret_cast<const char*>(data), size);
  upfetch::SignedList signed_list;
  std::string_view body = document;
  if (upfetch::SplitSignedList(document, &signed_list)) {
    FUZZ_CHECK(signed_list.signature.size() == upfetch::kSignatureBytes);
    FUZZ_CHECK(!signed_list.body.empty());
    FUZZ_CHECK(signed_list.body.data() + signed_list.body.size() == document.data() + size);
    body = signed_list.body;
  }
  CheckAddresses(document);

  // Whatever the dialog is handed, it never breaks; here the body stands in for it.
  UpdateListText text;
  FormatUpdateList(body.data(), body.size(), "Version", &text);

  std::vector<upfetch::ListEntry> entries;
  std::string error;
  if (!upfetch::ParseUpdateList(body, "Pellavorne", kListAddress, &entries, &error)) {
    FUZZ_CHECK(!error.empty());
    return 0;
  }
  for (const upfetch::ListEntry& entry : entries) {
    upfetch::Version again;
    FUZZ_CHECK(upfetch::ParseVersion(entry.version_text, &again) && again == entry.version);
    FUZZ_CHECK(StartsWithHttp(entry.address) && PlainAscii(entry.address));
    FUZZ_CHECK(entry.size > 0);
    // The installer's file name goes into a folder of ours: no separators, no way up.
    const std::string name = upfetch::InstallerFileName("Pellavorne", entry.version_text);
    FUZZ_CHECK(name.find_first_of("/\\:") == std::string::npos);
    FUZZ_CHECK(name.find("..") == std::string::npos);
  }

  upfetch::Version running;
  FUZZ_CHECK(upfetch::ParseVersion("1.1.64", &running));
  const std::vector<upfetch::ListEntry> newer = upfetch::NewerEntries(entries, running);
  for (size_t i = 0; i < newer.size(); ++i) {
    FUZZ_CHECK(upfetch::CompareVersions(newer[i].version, running) > 0);
    if (i > 0) FUZZ_CHECK(upfetch::CompareVersions(newer[i - 1].version, newer[i].version) >= 0);
  }

  const std::shared_ptr<upfetch::List> list = upfetch::MakeList("Pellavorne", newer);
  const UFUpdateData* first = list->items.empty() ? nullptr : &list->items.front()->data;
  size_t count = 0;
  for (const UFUpdateData* item = first; item; item = item->next, ++count) {
    FUZZ_CHECK(count < newer.size());
    FUZZ_CHECK(item->version == newer[count].version_text);
    FUZZ_CHECK(item->path_remote == newer[count].address);
    FUZZ_CHECK(item->local_path && item->md5);
    size_t notes = 0;
    for (const UFNote* note = item->notes; note; note = note->next, ++notes) FUZZ_CHECK(note->text);
    FUZZ_CHECK(notes == newer[count].notes.size());
  }
  FUZZ_CHECK(count == newer.size());

  // A list the library accepted always reaches the user as a dialog text.
  for (const char* language : {"en", "fr", ""}) {
    const std::string json = UpdateListJson(first, language);
    FUZZ_CHECK(FormatUpdateList(json.data(), json.size(), "Version", &text));
    FUZZ_CHECK(text.text.empty() == newer.empty());
    if (!newer.empty()) {
      FUZZ_CHECK(text.first_version == newer.front().version_text);
      FUZZ_CHECK(text.text.rfind("Version: " + newer.front().version_text + "\r\n", 0) == 0);
    }
  }
  return 0;
}
