// Writes small palette BMP files for tests, byte by byte from the format's field offsets, independent of the
// reader under test.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace granvel::test {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
};

struct BmpLayout {
  int width = 0;
  int height = 0;  // rows; stored with a negative height when topDown
  int bits = 8;
  std::vector<Rgb> palette;          // the colour table, written as blue, green, red, 0
  std::vector<std::uint8_t> pixels;  // width x height palette indices, top row first
  bool topDown = false;
  std::uint32_t headerSize = 40;  // 40, or 108 / 124 for the V4 / V5 headers
  std::uint32_t clrUsed = 0;
};

// A layout of width x height at `bits` bits per pixel with `palette`, every pixel 0.
BmpLayout Layout(int width, int height, int bits, std::vector<Rgb> palette = {});

// The whole file: uncompressed rows, bottom row first unless topDown, each padded to 4 bytes.
std::vector<std::uint8_t> MakeBmp(const BmpLayout& layout);

// A file with the headers of `layout` (its pixels are ignored) and `data` as the pixel data, with
// biCompression set to `compression`.
std::vector<std::uint8_t> MakeBmpWithData(const BmpLayout& layout, const std::vector<std::uint8_t>& data,
                                          std::uint32_t compression);

// A grey ramp of n colours: entry i is (i, i, i).
std::vector<Rgb> GreyPalette(int n);

}  // namespace granvel::test
