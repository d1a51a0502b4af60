// PNG images read into the same BmpImage a BMP gives: palette images (1, 2, 4 and 8 bits) keep their
// indices and palette as an indexed BMP does; greyscale, RGB and RGBA images get a palette built from their
// colours (true_colour.h).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "encode/image/bmp.h"

namespace granvel {

// Images of more pixels than this are refused before anything is decoded (8192 x 8192).
inline constexpr std::uint64_t kMaxPngPixels = std::uint64_t{1} << 26;

// The 8 bytes every PNG file starts with.
inline constexpr std::array<std::uint8_t, 8> kPngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// True when `file` starts with the PNG signature.
bool HasPngSignature(std::span<const std::uint8_t> file);

// Reads a PNG held in memory, with the checks and pixel mask of ReadBmpImage. A refused file gives the empty
// image and a reason in `ctx`.
BmpImage ReadPngImage(std::span<const std::uint8_t> file, const std::string& name, std::uint32_t unitWidth,
                      std::uint32_t unitHeight, std::uint8_t pixelMask, const ConvertContext& ctx);

}  // namespace granvel
