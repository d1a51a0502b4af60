// Run-length-encoded BMP pixel data (RLE8 and RLE4), decoded tolerantly as common readers do.
#pragma once

#include <cstdint>
#include <span>

namespace granvel {

// Decodes RLE8 (bitsPerPixel 8) or RLE4 (4) data into `pixels`, a zero-filled grid of width x height, top row
// first; the data's first row is the bottom row. Runs use the usual escapes: 0,0 end of line; 0,1 end of
// bitmap; 0,2,dx,dy delta; 0,n an absolute run of n pixels padded to 16 bits. Pixels a run or delta places
// past the row end or above the image are dropped, data that ends early ends the image, and pixels never set
// stay 0. `mask` applies to RLE8 values.
void DecodeRle(std::span<const std::uint8_t> data, int bitsPerPixel, std::uint8_t mask, std::int32_t width,
               std::int32_t height, std::span<std::uint8_t> pixels);

}  // namespace granvel
