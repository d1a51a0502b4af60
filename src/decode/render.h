// A screen map drawn with its tiles: the picture the handheld shows for a screen.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "decode/bitmap.h"

namespace granvel {

// Draws the top-left `width` x `height` pixels (multiples of 8, at most 512) of the 64 x 64 map `cells`
// (reading order). A cell's tile number (bits 0-9) picks tile number % 256 of banks[number / 256] (8192 bytes
// each; a missing or short bank draws an empty tile); bits 10 and 11 flip it, bits 12-15 are its palette
// bank. A pixel of value 0 in its tile is index 0 (transparent); any other value v is index 16 x bank + v.
IndexedImage RenderScreen(const std::vector<std::uint16_t>& cells,
                          const std::vector<std::span<const std::uint8_t>>& banks, int width, int height);

}  // namespace granvel
