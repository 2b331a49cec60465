#include "update_lists.h"

#include <windows.h>
#include <bcrypt.h>

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "update_test_private_key.h"  // generated from tests/upfetch/keys/

namespace {

std::string Base64(const unsigned char* data, size_t size) {
  static const char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (size_t i = 0; i < size; i += 3) {
    unsigned value = data[i] << 16;
    if (i + 1 < size) value |= data[i + 1] << 8;
    if (i + 2 < size) value |= data[i + 2];
    out += kAlphabet[(value >> 18) & 63];
    out += kAlphabet[(value >> 12) & 63];
    out += i + 1 < size ? kAlphabet[(value >> 6) & 63] : '=';
    out += i + 2 < size ? kAlphabet[value & 63] : '=';
  }
  return out;
}

void Digest(const std::string& bytes, unsigned char digest[32]) {
  BCRYPT_ALG_HANDLE sha = nullptr;
  ::BCryptOpenAlgorithmProvider(&sha, BCRYPT_SHA256_ALGORITHM, nullptr, 0);
  ::BCryptHash(sha, nullptr, 0, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
               static_cast<ULONG>(bytes.size()), digest, 32);
  ::BCryptCloseAlgorithmProvider(sha, 0);
}

}  // namespace

std::string Sha256Hex(const std::string& bytes) {
  unsigned char digest[32];
  Digest(bytes, digest);
  static const char kHex[] = "0123456789abcdef";
  std::string text;
  for (unsigned char b : digest) {
    text += kHex[b >> 4];
    text += kHex[b & 15];
  }
  return text;
}

std::string UpdateListBody(const std::vector<TestUpdate>& updates, const std::string& brand) {
  rapidjson::StringBuffer buffer;
  rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
  writer.StartObject();
  writer.Key("format");
  writer.Int(1);
  writer.Key("brand");
  writer.String(brand.c_str());
  writer.Key("updates");
  writer.StartArray();
  for (const auto& update : updates) {
    writer.StartObject();
    writer.Key("version");
    writer.String(update.version.c_str());
    writer.Key("url");
    writer.String(update.url.c_str());
    writer.Key("size");
    writer.Uint64(update.installer.size());
    writer.Key("sha256");
    writer.String(Sha256Hex(update.installer).c_str());
    writer.Key("md5");
    writer.String("");
    writer.Key("notes");
    writer.StartArray();
    for (const auto& note : update.notes) writer.String(note.c_str());
    writer.EndArray();
    writer.EndObject();
  }
  writer.EndArray();
  writer.EndObject();
  return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}

std::string SignList(const std::string& body) {
  unsigned char digest[32];
  Digest(body, digest);
  BCRYPT_ALG_HANDLE ecdsa = nullptr;
  BCRYPT_KEY_HANDLE key = nullptr;
  unsigned char signature[64] = {};
  ULONG size = 0;
  ::BCryptOpenAlgorithmProvider(&ecdsa, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0);
  ::BCryptImportKeyPair(ecdsa, nullptr, BCRYPT_ECCPRIVATE_BLOB, &key,
                        const_cast<PUCHAR>(kUpdateTestPrivateKey), sizeof(kUpdateTestPrivateKey),
                        0);
  ::BCryptSignHash(key, nullptr, digest, 32, signature, sizeof(signature), &size, 0);
  ::BCryptDestroyKey(key);
  ::BCryptCloseAlgorithmProvider(ecdsa, 0);
  return "UFSIG1 ES256 " + Base64(signature, sizeof(signature)) + "\n" + body;
}
