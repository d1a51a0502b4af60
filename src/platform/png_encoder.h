// PNG files encoded by the system's library (libspng on Linux, WIC on Windows): 8-bit palette images.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace granvel {

// Red, green and blue of each of the 256 palette entries.
using PngPalette = std::array<std::array<std::uint8_t, 3>, 256>;

// Encodes a picture of `width` x `height` palette indices (one byte a pixel, top row first) as an 8-bit
// palette PNG with all 256 entries of `palette`, into `file`. False with the library's reason when the sizes
// do not match or the library fails.
bool EncodeIndexedPng(std::uint32_t width, std::uint32_t height, std::span<const std::uint8_t> indices,
                      const PngPalette& palette, std::vector<std::uint8_t>& file, std::string& error);

// The system's library behind EncodeIndexedPng (png_encoder_posix.cpp, _windows.cpp), given matching sizes
// and an empty `file`.
bool EncodeIndexedPngWithSystem(std::uint32_t width, std::uint32_t height,
                                std::span<const std::uint8_t> indices, const PngPalette& palette,
                                std::vector<std::uint8_t>& file, std::string& error);

}  // namespace granvel
