// Resource names and the tile payload builder.
#include <gtest/gtest.h>

#include "format/container.h"
#include "format/tiles.h"

namespace granvel {
namespace {

TEST(MakeResourceName, FollowsTheNameTable) {
  const std::pair<std::string, std::string> rows[] = {
      {"title", "TITLE"},   {"Stage_1", "STAGE_1"}, {"my file", "MY FILE"}, {"Notes_mem", "NOTES_ME"},
      {"a.b", "A.B"},       {"abc{x", "ABC"},       {"~tmp", ""},           {"\x83\x41name", ""},
      {"ab\x83\x41", "AB"}, {"50%off", "50%OFF"},   {"a\tb", "A"},          {"az`AZ", "AZ`AZ"}};
  for (const auto& [fileName, name] : rows)
    EXPECT_EQ(MakeResourceName(fileName), name) << fileName;
  EXPECT_EQ(ResourceNameOr("~tmp", "MEM"), "MEM");
  EXPECT_EQ(ResourceNameOr("abc", "MEM"), "ABC");
}

// An image whose pixel (x, y) holds f(x, y), kept alive beside its grid.
struct Image {
  std::vector<std::uint8_t> pixels;
  PixelGrid grid;
  template <typename F>
  Image(int width, int height, F f) : pixels(static_cast<std::size_t>(width) * height) {
    for (std::size_t i = 0; i < pixels.size(); ++i)
      pixels[i] = static_cast<std::uint8_t>(f(static_cast<int>(i % width), static_cast<int>(i / width)));
    grid = PixelGrid{pixels, width, height};
  }
};

TEST(BuildTilePayload, PagesAndBanksFollowTheTileOrder) {
  // A page: 64x64 units left to right, then down; 8x8 tiles row by row inside; 8 bytes a tile row.
  const Image page(300, 192,
                   [](int x, int y) { return (x / 8) * 7 + (y / 8) * 13 + (x % 8) + 31 * (y % 8); });
  const ResourcePayload second = BuildTilePayload(page.grid, kGrpBlockPixels, 1, 64, 64, 256);
  ASSERT_EQ(second.size(), 49172u);
  EXPECT_EQ(std::string(second.begin(), second.begin() + 20), "ZORIKAMUQAVN0100RGRP");
  for (int y = 0; y < 192; ++y) {
    for (int x = 0; x < 256; ++x) {
      const std::size_t at =
          20 + 4096 * (4 * (y / 64) + x / 64) + 64 * (8 * (y % 64 / 8) + x % 64 / 8) + 8 * (y % 8) + x % 8;
      ASSERT_EQ(second[at], 256 + x < 300 ? page.pixels[y * 300 + 256 + x] : 0) << x << "," << y;
    }
  }
  // A bank of 16x16 units: two pixels a byte, the left one low; a unit's four tiles in reading order.
  const Image bank(128, 128, [](int x, int y) { return (x + 3 * y) % 16; });
  const ResourcePayload chr = BuildTilePayload(bank.grid, kChrBlockPixels, 0, 16, 16, 128);
  ASSERT_EQ(chr.size(), 8212u);
  for (int unit = 0; unit < 64; ++unit) {
    for (int t = 0; t < 4; ++t) {
      const int x = 16 * (unit % 8) + 8 * (t % 2), y = 16 * (unit / 8) + 8 * (t / 2);
      ASSERT_EQ(chr[20 + 128 * unit + 32 * t + 4 * 7 + 3],
                bank.pixels[(y + 7) * 128 + x + 6] | bank.pixels[(y + 7) * 128 + x + 7] << 4);
    }
  }
}

TEST(BuildTilePayload, RefusesMissingBlocksAndCutsBlocksThatDoNotFit) {
  const Image image(128, 256, [](int, int) { return 5; });
  EXPECT_EQ(BuildTilePayload(image.grid, kChrBlockPixels, 1, 8, 8, 128).size(), 8212u);
  EXPECT_TRUE(BuildTilePayload(image.grid, kChrBlockPixels, 2, 8, 8, 128).empty());
  EXPECT_TRUE(BuildTilePayload(image.grid, kChrBlockPixels, 0xFFFFFFFFu, 8, 8, 128).empty());
  EXPECT_TRUE(BuildTilePayload(PixelGrid{}, kChrBlockPixels, 0, 8, 8, 128).empty());
  EXPECT_TRUE(BuildTilePayload(image.grid, kChrBlockPixels, 0, 0, 8, 128).empty());
  const std::vector<std::uint8_t> few(10);
  EXPECT_TRUE(BuildTilePayload(PixelGrid{few, 128, 128}, kChrBlockPixels, 0, 8, 8, 128).empty());
  for (const int width : {48, 3000, 100}) {  // the image's own width as the block: never past the data
    const Image tall(width, 400, [](int, int) { return 9; });
    EXPECT_EQ(BuildTilePayload(tall.grid, kChrBlockPixels, 0, 16, 16, -1).size(), 8212u) << width;
    EXPECT_EQ(BuildTilePayload(tall.grid, kGrpBlockPixels, 0, 64, 64, -1).size(), 49172u) << width;
  }
}

}  // namespace
}  // namespace granvel
