#include "decode/render.h"

namespace granvel {

IndexedImage RenderScreen(const std::vector<std::uint16_t>& cells,
                          const std::vector<std::span<const std::uint8_t>>& banks, int width, int height) {
  IndexedImage image{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height, 0)};
  for (int cy = 0; cy < height / 8; ++cy) {
    for (int cx = 0; cx < width / 8; ++cx) {
      const std::size_t at = static_cast<std::size_t>(cy) * 64 + static_cast<std::size_t>(cx);
      if (at >= cells.size())
        continue;
      const std::uint16_t cell = cells[at];
      const std::size_t tile = cell & 0x3FF, bank = tile / 256, offset = (tile % 256) * 32;
      if (bank >= banks.size() || banks[bank].size() < offset + 32)
        continue;
      const bool flipX = cell & 0x400, flipY = cell & 0x800;
      const int palette = cell >> 12;
      for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
          const int sx = flipX ? 7 - x : x, sy = flipY ? 7 - y : y;
          const std::uint8_t pair = banks[bank][offset + 4 * static_cast<std::size_t>(sy) + sx / 2];
          const int value = sx % 2 == 0 ? pair & 0x0F : pair >> 4;
          image.Pixels[static_cast<std::size_t>(8 * cy + y) * width + 8 * cx + x] =
              static_cast<std::uint8_t>(value == 0 ? 0 : 16 * palette + value);
        }
      }
    }
  }
  return image;
}

}  // namespace granvel
