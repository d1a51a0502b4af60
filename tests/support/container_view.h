// Takes a written container apart by its byte offsets, independent of the code under test.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/md5_reference.h"

namespace granvel::test {

struct ContainerView {
  std::string magic;
  std::uint32_t storedSize = 0;
  std::uint32_t type = 0;
  std::vector<std::uint8_t> nameField;  // 8 bytes
  std::vector<std::uint8_t> digest;     // 16 bytes
  std::vector<std::uint8_t> stored;     // from offset 36 on

  static std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
  }

  explicit ContainerView(const std::vector<std::uint8_t>& file) {
    if (file.size() < 36)
      return;
    magic.assign(file.begin(), file.begin() + 4);
    storedSize = U32(file, 4);
    type = U32(file, 8);
    nameField.assign(file.begin() + 12, file.begin() + 20);
    digest.assign(file.begin() + 20, file.begin() + 36);
    stored.assign(file.begin() + 36, file.end());
  }

  // The name up to its first zero byte.
  std::string Name() const {
    std::string name;
    for (std::uint8_t b : nameField) {
      if (!b)
        break;
      name.push_back(static_cast<char>(b));
    }
    return name;
  }

  // The payload as its builder made it: the brand word in front of the stored bytes.
  std::vector<std::uint8_t> Payload() const {
    std::vector<std::uint8_t> payload{'Z', 'O', 'R', 'I', 'K', 'A', 'M', 'U'};
    payload.insert(payload.end(), stored.begin(), stored.end());
    return payload;
  }

  bool DigestMatches() const {
    const auto expected = ReferenceMd5(Payload());
    return std::vector<std::uint8_t>(expected.begin(), expected.end()) == digest;
  }
};

}  // namespace granvel::test
