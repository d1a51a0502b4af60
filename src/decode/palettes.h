// The colour tables the decoded images are drawn with: the built-in BG and sprite palette, the GRP palette
// built from it by rule, and the conversion of a 16-bit colour word to a BMP colour-table entry.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace granvel {

// 256 colour words of the handheld: red in bits 0-4, green 5-9, blue 10-14, the lowest green bit in bit 15.
using ColourWords = std::array<std::uint16_t, 256>;

// The BG and sprite palette: palette p in entries 16p to 16p + 15.
const ColourWords& BuiltInBgPalette();

// The GRP palette: entries 0 to 31 of the BG palette, a 6x6x6 colour cube without black (red slowest, blue
// fastest, levels 31, 25, 19, 12, 6, 0), then nine greys.
ColourWords BuiltInGrpPalette();

// The 256 colour words of COL data (512 bytes, little-endian). `data` must hold at least 512 bytes.
ColourWords ColourWordsOf(std::span<const std::uint8_t> data);

// The BMP colour-table entry of a colour word: blue, green, red, 0; each 5-bit level times 8, plus 4 to
// green when bit 15 is set. The low bits are not filled in: 31 gives 248.
std::array<std::uint8_t, 4> ColourTableEntry(std::uint16_t word);

}  // namespace granvel
