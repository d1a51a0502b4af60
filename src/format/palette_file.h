// Palette files that need no image reader, from their bytes: a GIMP ".gpl", a JASC ".pal", an Adobe ".act"
// (768 bytes, or 772 with a colour count) and a COL ".zkp". Each gives at most 256 colour words, in the
// file's order. Which one a file is goes by its extension (encode/image/palette_file.h, which also reads
// the colour table of an image).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace granvel {

// "GIMP Palette", optional "Name:" and "Columns:" lines, then "R G B ..." lines (blank and "#" lines
// skipped). False when the file is not one or holds no colour.
bool ReadGimpPalette(std::span<const std::uint8_t> bytes, std::vector<std::uint16_t>& words);

// "JASC-PAL", its version and colour count, then that many "R G B" lines (at most 256 are read). False when
// the file is not one or holds fewer colours than it counts.
bool ReadJascPalette(std::span<const std::uint8_t> bytes, std::vector<std::uint16_t>& words);

// 256 RGB triples, or 772 bytes whose big-endian word at 768 counts the triples used (1 to 256).
bool ReadActPalette(std::span<const std::uint8_t> bytes, std::vector<std::uint16_t>& words);

// The 256 colour words of the first COL resource of a container.
bool ReadColPalette(std::span<const std::uint8_t> bytes, std::vector<std::uint16_t>& words);

}  // namespace granvel
