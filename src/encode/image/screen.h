// A picture as a screen: its unique 8x8 tiles in CHR banks and a 64 x 64 screen map that places them, with
// the tiles that are flips of earlier ones stored once.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "convert/context.h"
#include "convert/job.h"
#include "encode/image/bmp.h"
#include "encode/text/scr.h"

namespace granvel {

// One tile: 64 palette indices of 0 to 15, row by row.
using Tile = std::array<std::uint8_t, 64>;

struct ScreenPicture {
  std::vector<Tile> Tiles;  // tile 0 is the empty tile
  ScreenMap Map{};          // cells: tile + 1024 h + 2048 v + 4096 palette bank
  ResourcePayload ColPayload;
};

// Cuts `image` into its screen. Width and height must be multiples of 8 and at most 512. Indexed pictures:
// each tile's pixels share one palette bank (the high nibble; a pixel whose low nibble is 0 is transparent
// and fits every bank). True-colour pictures: the tiles' colours are packed into at most 16 palettes of 15
// colours and the shared transparent index 0. More than 1,024 unique tiles are refused. False with the reason
// in `ctx`.
bool BuildScreenPicture(const BmpImage& image, const ConvertContext& ctx, ScreenPicture& screen);

// Converts an image as a screen: name_COL.zkp, name_CHR0.zkp ... (256 tiles a bank), name_SCR.zkp and, with
// TextOut, name_SCR_DATA.txt.
bool ConvertBmpToScreen(ConvertJob job, const ConvertContext& ctx);

}  // namespace granvel
