// Backslash escapes in program and MEM texts: "\41" is the byte 0x41, "\\" a backslash.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "convert/settings.h"

namespace granvel {

// The byte whose two hexadecimal digits are `high` and `low` (either case), or nothing.
std::optional<std::uint8_t> HexPairValue(std::uint8_t high, std::uint8_t low);

// Decodes escapes in `text` in place when PRG_ESCAPE is on, and returns the new length; with it off, the text
// is left as it is. A backslash and two hexadecimal digits become that byte; any other backslash is dropped
// and the byte after it kept as it is, unexamined.
std::size_t DecodeEscapes(std::vector<std::uint8_t>& text, const ConvertSettings& settings);

// Appends one byte as the text decoders write it when escapes are on: control bytes, 0x7F to 0x9F and 0xE0 up
// as a backslash and two upper-case hexadecimal digits, a backslash as two backslashes, any other byte as
// itself. The inverse of DecodeEscapes.
void WriteEscapedByte(std::vector<std::uint8_t>& out, std::uint8_t byte);

}  // namespace granvel
