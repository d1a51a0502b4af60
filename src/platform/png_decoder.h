// PNG files decoded by the system's library (libspng on Linux, WIC on Windows) into indices and a palette
// (palette images) or into RGBA pixels (everything else).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace granvel {

struct DecodedPng {
  std::uint32_t Width = 0;
  std::uint32_t Height = 0;
  int BitDepth = 0;                                  // of the file: 1, 2, 4, 8 or 16
  bool Indexed = false;                              // a palette image: Indices and Palette; otherwise Rgba
  std::vector<std::uint8_t> Indices;                 // Width x Height, top row first
  std::vector<std::array<std::uint8_t, 3>> Palette;  // red, green, blue; up to 256 entries
  std::vector<std::uint8_t> Rgba;                    // Width x Height x 4, top row first, alpha 255 = opaque
};

// Decodes the PNG held in `file`. False with the library's reason for a damaged or unsupported file. The
// caller bounds the image's size before (png.h reads it from the header).
bool DecodePng(std::span<const std::uint8_t> file, DecodedPng& png, std::string& error);

}  // namespace granvel
