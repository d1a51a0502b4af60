// The MD5 digest (RFC 1321) that every container carries.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace granvel {

using Md5Digest = std::array<std::uint8_t, 16>;

// The digest of `size` bytes at `data`. Returns false (and a zero digest) only if the crypto library fails.
bool ComputeMd5(const std::uint8_t* data, std::size_t size, Md5Digest& digest);

}  // namespace granvel
