// MD5 straight from OpenSSL's one-shot call, independent of the code under test.
#pragma once

#include <openssl/md5.h>

#include <array>
#include <cstdint>
#include <vector>

namespace granvel::test {

inline std::array<std::uint8_t, 16> ReferenceMd5(const std::vector<std::uint8_t>& bytes) {
  std::array<std::uint8_t, 16> digest{};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  MD5(bytes.data(), bytes.size(), digest.data());
#pragma GCC diagnostic pop
  return digest;
}

}  // namespace granvel::test
