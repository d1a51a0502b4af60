// A screen map drawn with its tiles and palette into an image file: what "render" writes, and the browser's
// preview of a screen.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace granvel {

// The containers a screen is drawn from: the map, its banks (bank 0 first; none draws empty tiles) and its
// palette (empty: the built-in BG palette).
struct ScreenFiles {
  std::string Scr;
  std::vector<std::string> Chr;
  std::string Col;
};

// Draws the top-left `width` x `height` pixels (multiples of 8, at most 512) of the screen into an 8-bit BMP,
// or an 8-bit palette PNG when `png`. False with a reason naming the file that cannot be read or holds no
// resource of its kind.
bool RenderScreenFile(const ScreenFiles& files, int width, int height, bool png,
                      std::vector<std::uint8_t>& image, std::string& error);

}  // namespace granvel
