// The handheld's colours as both directions read them: a colour word from 8-bit levels and back to a BMP
// colour-table entry, the colour words of COL data, the built-in BG and sprite palette and the GRP palette
// built from it by rule.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace granvel {

// 256 colour words of the handheld: red in bits 0-4, green 5-9, blue 10-14, the lowest green bit in bit 15.
using ColourWords = std::array<std::uint16_t, 256>;

// The handheld's 16-bit colour: red >> 3 in bits 0-4, green >> 3 in 5-9, blue >> 3 in 10-14, and bit 2 of
// green in bit 15. Low bits are cut off, not rounded.
std::uint16_t ColourWord(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

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
