// MD5 through libmd: a plain function over the bytes, with nothing to load or look up first.
#include <md5.h>

#include "platform/md5.h"

namespace granvel {

bool ComputeMd5(const std::uint8_t* data, std::size_t size, Md5Digest& digest) {
  MD5_CTX context;
  MD5Init(&context);
  MD5Update(&context, data, size);
  MD5Final(digest.data(), &context);
  return true;
}

}  // namespace granvel
