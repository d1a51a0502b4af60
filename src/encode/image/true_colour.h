// True-colour pictures (24 and 32-bit BMP; RGB, RGBA and greyscale PNG) given a palette of their own, built
// exactly, without dithering or guessing: each colour is reduced to the handheld's colour word as a palette
// entry is, and the words take indices in the order the picture first shows them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "convert/context.h"
#include "encode/image/bmp.h"

namespace granvel {

struct RgbaPicture {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::vector<std::uint8_t> Rgba;  // Width x Height x 4, top row first; alpha 255 is opaque
};

// Fills `image` (indices, COL payload, sizes) from `picture`. A pixel with alpha below 128 is index 0. Index
// 0 is the colour of the TransparentColour setting when it names one (its pixels become 0 too); else the
// transparent pixels' when there are any (no opaque colour shares it); else the first colour. The other
// colours follow in order of first appearance, rows from the top, left to right. More than `maxColours`
// entries are refused with the count and the first colours over the limit, with where each first appears.
bool IndexTrueColour(const RgbaPicture& picture, int maxColours, const ConvertContext& ctx, BmpImage& image);

// "RRGGBB" or "#RRGGBB" in hexadecimal digits.
bool ParseRgbText(const std::string& text, std::array<std::uint8_t, 3>& rgb);

}  // namespace granvel
