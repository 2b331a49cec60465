#include "upfetch/cng.h"

namespace upfetch {

namespace {

bool Succeeded(NTSTATUS status) { return status >= 0; }

// One algorithm provider per use: opening one is cheap next to a network round trip, and
// nothing is left shared between threads.
class AlgorithmProvider {
 public:
  explicit AlgorithmProvider(const wchar_t* name) {
    if (!Succeeded(::BCryptOpenAlgorithmProvider(&handle_, name, nullptr, 0))) handle_ = nullptr;
  }
  ~AlgorithmProvider() {
    if (handle_) ::BCryptCloseAlgorithmProvider(handle_, 0);
  }
  AlgorithmProvider(const AlgorithmProvider&) = delete;
  AlgorithmProvider& operator=(const AlgorithmProvider&) = delete;
  BCRYPT_ALG_HANDLE handle() const { return handle_; }

 private:
  BCRYPT_ALG_HANDLE handle_ = nullptr;
};

class ImportedKey {
 public:
  ImportedKey(BCRYPT_ALG_HANDLE algorithm, const uint8_t* blob, size_t size) {
    if (!algorithm || size > 0xFFFF ||
        !Succeeded(::BCryptImportKeyPair(algorithm, nullptr, BCRYPT_ECCPUBLIC_BLOB, &handle_,
                                         const_cast<PUCHAR>(blob), static_cast<ULONG>(size),
                                         0))) {
      handle_ = nullptr;
    }
  }
  ~ImportedKey() {
    if (handle_) ::BCryptDestroyKey(handle_);
  }
  ImportedKey(const ImportedKey&) = delete;
  ImportedKey& operator=(const ImportedKey&) = delete;
  BCRYPT_KEY_HANDLE handle() const { return handle_; }

 private:
  BCRYPT_KEY_HANDLE handle_ = nullptr;
};

}  // namespace

Sha256::Sha256() {
  if (!Succeeded(::BCryptOpenAlgorithmProvider(&algorithm_, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) {
    algorithm_ = nullptr;
    return;
  }
  if (!Succeeded(::BCryptCreateHash(algorithm_, &hash_, nullptr, 0, nullptr, 0, 0))) {
    hash_ = nullptr;
  }
}

Sha256::~Sha256() {
  if (hash_) ::BCryptDestroyHash(hash_);
  if (algorithm_) ::BCryptCloseAlgorithmProvider(algorithm_, 0);
}

bool Sha256::Add(const void* data, size_t size) {
  if (!hash_) return false;
  const auto* bytes = static_cast<const uint8_t*>(data);
  while (size > 0) {
    const ULONG piece = size > 0x40000000 ? 0x40000000 : static_cast<ULONG>(size);
    if (!Succeeded(::BCryptHashData(hash_, const_cast<PUCHAR>(bytes), piece, 0))) return false;
    bytes += piece;
    size -= piece;
  }
  return true;
}

bool Sha256::Finish(Sha256Digest* digest) {
  if (!hash_) return false;
  const bool done = Succeeded(
      ::BCryptFinishHash(hash_, digest->data(), static_cast<ULONG>(digest->size()), 0));
  ::BCryptDestroyHash(hash_);
  hash_ = nullptr;
  return done;
}

bool VerifyEcdsaP256(const uint8_t* key_blob, size_t key_size, std::string_view message,
                     const std::vector<uint8_t>& signature) {
  if (signature.size() != kSignatureBytes) return false;
  Sha256 hash;
  Sha256Digest digest;
  if (!hash.Add(message.data(), message.size()) || !hash.Finish(&digest)) return false;
  AlgorithmProvider ecdsa(BCRYPT_ECDSA_P256_ALGORITHM);
  ImportedKey key(ecdsa.handle(), key_blob, key_size);
  if (!key.handle()) return false;
  return ::BCryptVerifySignature(key.handle(), nullptr, digest.data(),
                                 static_cast<ULONG>(digest.size()),
                                 const_cast<PUCHAR>(signature.data()),
                                 static_cast<ULONG>(signature.size()), 0) == 0;
}

}  // namespace upfetch
