#include "platform/md5.h"

#include <openssl/evp.h>

namespace granvel {

bool ComputeMd5(const std::uint8_t* data, std::size_t size, Md5Digest& digest) {
  digest.fill(0);
  unsigned int length = 0;
  static const std::uint8_t kNothing = 0;
  if (EVP_Digest(size ? data : &kNothing, size, digest.data(), &length, EVP_md5(), nullptr) != 1 ||
      length != digest.size()) {
    digest.fill(0);
    return false;
  }
  return true;
}

}  // namespace granvel
