#include "platform/png_encoder.h"

namespace granvel {

bool EncodeIndexedPng(std::uint32_t width, std::uint32_t height, std::span<const std::uint8_t> indices,
                      const PngPalette& palette, std::vector<std::uint8_t>& file, std::string& error) {
  file.clear();
  if (width == 0 || height == 0 || indices.size() != std::size_t{width} * height) {
    error = "cannot encode the PNG: " + std::to_string(indices.size()) + " indices for " +
            std::to_string(width) + " x " + std::to_string(height) + " pixels";
    return false;
  }
  return EncodeIndexedPngWithSystem(width, height, indices, palette, file, error);
}

}  // namespace granvel
