// MEM string memory to a `MEM$="..."` text, the form the MEM encoder reads back.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "convert/context.h"

namespace granvel {

// The inverse of WideCodeOf: the text byte of each 16-bit character code the encoder produces, plus 0xFFFF
// for the byte 0xFF. Codes that no byte gives (a plain "A" where U+FF21 belongs, U+30FC, ...) have none.
class MemByteTable {
 public:
  MemByteTable();
  std::optional<std::uint8_t> ByteOf(std::uint16_t code) const;

 private:
  std::array<std::pair<std::uint16_t, std::uint8_t>, 257> entries_;  // sorted by code
};

// The text of MEM data (516 bytes: 256 codes, then the count): MEM$=", one byte per character (escaped
// with PRG_ESCAPE on), then the closing quote and CR LF. A character without a byte is dropped; a count above
// 256 converts the 256 codes there are. Either makes the result false with a reason; the text is complete.
bool MemTextBytes(std::span<const std::uint8_t> data, const ConvertSettings& settings,
                  std::vector<std::uint8_t>& text, std::string& reason);

// Writes "<stem>_MEM.txt". Nothing is written for data that is not 516 bytes long; for a character without a
// byte or a count above 256 the file is written and the result is false.
bool DecodeMem(std::span<const std::uint8_t> data, const std::string& stem, const ConvertContext& ctx);

}  // namespace granvel
