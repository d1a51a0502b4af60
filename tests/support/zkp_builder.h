// Builds ".zkp" files byte by byte from their documented layout, independent of any encoder: the 36-byte
// header ("PX01", stored size, type, 8-byte name, MD5 of the brand word and the stored bytes), then the
// stored resources, each its tag without the brand word and its data.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "support/md5_reference.h"

namespace granvel::test {

inline void PutLE(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// One stored resource: `tag` (normally the 12 bytes after the brand word, "QAVN0100RCHR") and its data.
inline std::vector<std::uint8_t> Stored(std::string_view tag, const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> out(tag.begin(), tag.end());
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

// A stored PRG resource: the tag, the two mask words (high half first), the program length, the program and
// zero bytes up to a multiple of 4 (the file offsets of a container are those of the stored bytes plus 36).
inline std::vector<std::uint8_t> StoredPrg(std::uint32_t maskHigh, std::uint32_t maskLow,
                                           const std::vector<std::uint8_t>& program) {
  std::vector<std::uint8_t> data;
  PutLE(data, maskHigh, 4);
  PutLE(data, maskLow, 4);
  PutLE(data, program.size(), 4);
  data.insert(data.end(), program.begin(), program.end());
  data.resize(data.size() + (4 - program.size() % 4) % 4, 0);
  return Stored("QAVN0300RPRG", data);
}

// Stored resources one after another.
inline std::vector<std::uint8_t> Join(std::initializer_list<std::vector<std::uint8_t>> parts) {
  std::vector<std::uint8_t> out;
  for (const auto& part : parts)
    out.insert(out.end(), part.begin(), part.end());
  return out;
}

// The whole file around `stored`, with a correct digest.
inline std::vector<std::uint8_t> ZkpFile(std::uint32_t type, std::string_view name,
                                         const std::vector<std::uint8_t>& stored) {
  std::vector<std::uint8_t> file{'P', 'X', '0', '1'};
  PutLE(file, stored.size(), 4);
  PutLE(file, type, 4);
  for (std::size_t i = 0; i < 8; ++i)
    file.push_back(i < name.size() ? static_cast<std::uint8_t>(name[i]) : 0);
  std::vector<std::uint8_t> payload{'Z', 'O', 'R', 'I', 'K', 'A', 'M', 'U'};
  payload.insert(payload.end(), stored.begin(), stored.end());
  const auto digest = ReferenceMd5(payload);
  file.insert(file.end(), digest.begin(), digest.end());
  file.insert(file.end(), stored.begin(), stored.end());
  return file;
}

}  // namespace granvel::test
