// Decoded pictures: tile data placed back into a picture, and the 8-bit indexed BMP files they are written
// as.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "convert/context.h"
#include "format/palettes.h"

namespace granvel {

// A picture of palette indices, one byte per pixel, top row first.
struct IndexedImage {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Pixels;
};

// Places 8x8 tiles into a picture of `width` x `height` pixels cut into units of `unitWidth` x `unitHeight`:
// units row by row from the top left, tiles row by row inside a unit, each tile's 8 rows from the top. At 8
// bits per pixel a tile row is 8 bytes; at 4 bits it is 4 bytes, the left pixel of each pair in the low half.
// The sizes must be multiples of 8, the units must divide the picture, and `data` must hold exactly the
// picture's pixels; otherwise the result is an empty picture.
IndexedImage PlaceTiles(std::span<const std::uint8_t> data, int bitsPerPixel, int width, int height,
                        int unitWidth, int unitHeight);

// The 16 x 16 swatch of a palette: the pixel in column x of row y has the value 16y + x.
IndexedImage PaletteSwatch();

// The bytes of an uncompressed 8-bit BMP: 14-byte file header, 40-byte information header, 256-entry colour
// table (1078 bytes in all), then the rows bottom row first. The width must be a multiple of 4 (no padding).
std::vector<std::uint8_t> IndexedBitmapBytes(const IndexedImage& image, const ColourWords& palette);

// Writes the picture to `path` as an 8-bit BMP, in one atomic write, and records it in `ctx`.
bool WriteIndexedBitmap(const std::string& path, const IndexedImage& image, const ColourWords& palette,
                        const ConvertContext& ctx);

}  // namespace granvel
