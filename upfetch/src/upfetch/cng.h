// SHA-256 and ECDSA P-256 verification through the system's CNG, so no hashing or curve
// arithmetic of our own stands between the network and the installer we start.
#pragma once

#include <windows.h>
#include <bcrypt.h>

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "upfetch/update_list.h"

namespace upfetch {

// SHA-256 over bytes given in pieces. A hash whose set-up failed answers false everywhere.
class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;

  bool Add(const void* data, size_t size);
  // Ends the hash; further Add or Finish calls fail.
  bool Finish(Sha256Digest* digest);

 private:
  BCRYPT_ALG_HANDLE algorithm_ = nullptr;
  BCRYPT_HASH_HANDLE hash_ = nullptr;
};

// True only when `signature` (r||s, 64 bytes) is a valid ECDSA P-256 signature of
// SHA-256(message) under the key in `key_blob` (a BCRYPT_ECCPUBLIC_BLOB).
bool VerifyEcdsaP256(const uint8_t* key_blob, size_t key_size, std::string_view message,
                     const std::vector<uint8_t>& signature);

}  // namespace upfetch
