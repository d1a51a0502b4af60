// The one builder of CHR and GRP payloads: a block of an image cut into units, each unit into 8x8 tiles.
//
// Order, outermost first: unit rows of the block, unit columns, tile rows of the unit, tile columns, the 8
// pixel rows of a tile, its 8 pixels. A CHR bank packs two pixels a byte (left pixel in the low nibble), a
// GRP page one pixel a byte.
#pragma once

#include <cstdint>
#include <span>

#include "format/container.h"

namespace granvel {

// A grid of 8-bit palette indices, one byte per pixel, top row first. Pixels holds at least Width x Height
// bytes for a usable grid.
struct PixelGrid {
  std::span<const std::uint8_t> Pixels;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
};

inline constexpr std::uint32_t kChrBlockPixels = 16384;  // 256 tiles of 64 pixels
inline constexpr std::uint32_t kGrpBlockPixels = 49152;  // a 256x192 page

// The payload of one block: pixelsPerBlock below 49152 gives a CHR payload (4 bits a pixel, tag "...RCHR"),
// otherwise a GRP payload (8 bits, tag "...RGRP"). The block is blockWidth wide (a negative value: the
// image's width) and pixelsPerBlock / blockWidth high; blocks are counted row by row from the top left.
// Pixels outside the image are 0. A block whose units do not fill the data exactly is cut at the end of the
// data, and what it does not reach stays 0. Empty for an empty grid, a block index past the last block, or
// unusable sizes.
ResourcePayload BuildTilePayload(const PixelGrid& image, std::uint32_t pixelsPerBlock,
                                 std::uint32_t blockIndex, int unitWidth, int unitHeight, int blockWidth);

}  // namespace granvel
