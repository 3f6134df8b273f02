#include <openssl/evp.h>

#include "Platform/Crypto/Md5.h"

namespace lk {

std::string md5Hex(std::string_view bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_md5(), nullptr) != 1 ||
      length != 16) {
    return {};
  }
  std::string out(32, '\0');
  static constexpr char kHex[] = "0123456789abcdef";
  for (unsigned i = 0; i < 16; ++i) {
    out[i * 2] = kHex[digest[i] >> 4];
    out[i * 2 + 1] = kHex[digest[i] & 0x0F];
  }
  return out;
}

}  // namespace lk
