// CHR banks, GRP pages and COL palettes to 8-bit BMP images.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "convert/context.h"
#include "format/palettes.h"

namespace granvel {

struct UnitSize {
  int Width = 8;
  int Height = 8;
  bool operator==(const UnitSize&) const = default;
};

// The unit a CHR bank is drawn in, from its file-name ending: 8x8 for background endings ("_BG..."), 32x32
// for icon endings ("_SPD..."), otherwise the sprite size of the current convert type; with a convert type
// that is no sprite size, 16x16 for the other sprite endings ("_S...") and 8x8 for "_CHR".
UnitSize ChrUnitSize(std::string_view ending, const ConvertSettings& settings);

// Writes "<stem><ending>.bmp": the bank's 256 tiles (8192 bytes at 4 bits per pixel) in a 128 x 128 picture
// when Make_Wide is 0, else 256 x 64, in units by ChrUnitSize, with the built-in BG and sprite palette.
// `palette`, when given, is drawn with instead (a package's own COL, or the Palette_File palette).
bool DecodeChr(std::span<const std::uint8_t> data, const std::string& stem, std::string_view ending,
               const ConvertContext& ctx, const ColourWords* palette = nullptr);

// Writes "<stem><ending>.bmp": the 256 x 192 page (49152 bytes, 64 x 64 units) with the GRP palette.
bool DecodeGrp(std::span<const std::uint8_t> data, const std::string& stem, std::string_view ending,
               const ConvertContext& ctx, const ColourWords* palette = nullptr);

// Writes "<stem><ending>.bmp": the 16 x 16 swatch of the palette's 256 colours (512 bytes of colour words),
// and "<stem><ending>.gpl", the same colours as a GIMP palette that pixel-art editors read.
bool DecodeCol(std::span<const std::uint8_t> data, const std::string& stem, std::string_view ending,
               const ConvertContext& ctx);

// A GIMP palette of `words`, named after the last part of `name`: "R G B<tab>Index N" lines.
std::vector<std::uint8_t> GimpPalette(const ColourWords& words, const std::string& name);

}  // namespace granvel
