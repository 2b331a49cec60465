// The update list as it travels: a signature line and the signed body, a JSON document
// naming the available versions (upfetch/UPDATE_LIST.md). Pure text work, no system calls:
// the signature itself is checked by signature.h before ParseUpdateList ever sees a byte.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "upfetch/version.h"

namespace upfetch {

constexpr size_t kMaxListBytes = 1 << 20;
constexpr size_t kSignatureBytes = 64;  // ECDSA P-256: r and s, 32 bytes each
using Sha256Digest = std::array<uint8_t, 32>;

struct SignedList {
  std::string_view body;  // the exact bytes the signature covers
  std::vector<uint8_t> signature;
};

// Splits "UFSIG1 ES256 <base64 of r||s>\n<body>". False for any other first line, a
// signature of the wrong length, or an empty body.
bool SplitSignedList(std::string_view document, SignedList* list);

struct ListEntry {
  std::string version_text;
  Version version;
  std::string address;  // absolute http(s) address of the installer
  uint64_t size = 0;
  Sha256Digest sha256 = {};
  std::string md5;
  std::vector<std::string> notes;
};

// Reads a verified body. `brand` must match the list's "brand" (ASCII case ignored);
// relative installer addresses are resolved against `list_address`. False with a reason
// when anything breaks the format; one bad entry rejects the whole list.
bool ParseUpdateList(std::string_view body, std::string_view brand, std::string_view list_address,
                     std::vector<ListEntry>* entries, std::string* error);

// The entries newer than `running`, newest first; equal versions keep the list's order.
std::vector<ListEntry> NewerEntries(std::vector<ListEntry> entries, const Version& running);

// root + "update/" + brand + "/update-list.txt?product=...&version=...&type=...", with the
// query values percent-encoded. Empty when root is not an http(s) address.
std::string ListAddress(std::string_view root, std::string_view brand, std::string_view product,
                        std::string_view version, int product_type);

// An absolute http(s) address for `reference` seen from `base`: absolute references are
// kept, "/path" keeps base's origin, anything else replaces base's last path segment.
// Empty for other schemes, "//host" references, blanks, control or non-ASCII characters.
std::string ResolveAddress(std::string_view base, std::string_view reference);

// "<brand>-<version>-setup.exe", with anything but letters, digits, '-', '_' and '.'
// in the brand replaced by '_'.
std::string InstallerFileName(std::string_view brand, std::string_view version);

// Standard alphabet with padding; false on anything else.
bool DecodeBase64(std::string_view text, std::vector<uint8_t>* bytes);
// Exactly 2 × size hex digits, either case.
bool DecodeHex(std::string_view text, uint8_t* bytes, size_t size);

}  // namespace upfetch
