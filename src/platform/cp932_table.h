// Code page 932 from a table made from glibc's iconv (scripts/make-cp932-table.py): Shift JIS where the C
// library has no converter for it (the browser). The same answers as iconv's CP932 in both directions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace granvel {

// Appends the one or two bytes of `code` to `out`; false (nothing appended) when it has none that reads back
// as itself.
bool Cp932Encode(char32_t code, std::vector<std::uint8_t>& out);
// The character of `count` bytes (1 or 2); false when they are not one character.
bool Cp932Decode(const std::uint8_t* bytes, std::size_t count, char32_t& code);

}  // namespace granvel
