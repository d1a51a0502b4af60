// An image file as every image converter reads it: a BMP, or a PNG while PNG_Image is on, matched to the
// Palette_File palette when one is set.
#pragma once

#include <cstdint>
#include <string>

#include "encode/image/bmp.h"

namespace granvel {

// Whether a PNG is read as an image: while PNG_Image is on, or always (a file chosen for an image slot).
enum class PngUse { BySetting, Always };

// Reads the image at `path` with the checks and pixel mask of ReadBmpImage. With a palette file, the pixels
// are matched to it by colour first (palette_file.h) and the mask is applied after; its colours are the
// settings' PaletteWords when the run read them, else the file is read for this image. A refused file gives
// the empty image and a reason in `ctx`. A file named ".png" without the PNG signature is refused as no PNG
// (unless it is a BMP).
BmpImage ReadImageFile(const std::string& path, std::uint32_t unitWidth, std::uint32_t unitHeight,
                       std::uint8_t pixelMask, const ConvertContext& ctx, PngUse png = PngUse::BySetting);

}  // namespace granvel
