#include "format/tiles.h"

#include <gtest/gtest.h>

#include <vector>

namespace granvel {
namespace {

// An image whose pixel (x, y) holds f(x, y), kept alive beside its grid.
struct Image {
  std::vector<std::uint8_t> pixels;
  PixelGrid grid;
  template <typename F>
  Image(int width, int height, F f) : pixels(static_cast<std::size_t>(width) * height) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        pixels[static_cast<std::size_t>(y) * width + x] = static_cast<std::uint8_t>(f(x, y));
    grid = PixelGrid{pixels, width, height};
  }
};

// The GRP payload offset of page pixel (x, y), from the page's tile order.
std::size_t GrpOffset(int x, int y) {
  return 20 + 4096 * (4 * (y / 64) + x / 64) + 64 * (8 * ((y % 64) / 8) + (x % 64) / 8) + 8 * (y % 8) + x % 8;
}

TEST(BuildTilePayload, GrpPageFollowsTheTileOrder) {
  // Each pixel holds a code of its position that differs between neighbouring tiles and units.
  const Image image(256, 192,
                    [](int x, int y) { return (x / 8) * 7 + (y / 8) * 13 + (x % 8) + 31 * (y % 8); });
  const ResourcePayload payload = BuildTilePayload(image.grid, 49152, 0, 64, 64, 256);
  ASSERT_EQ(payload.size(), 49172u);
  EXPECT_EQ(std::string(payload.begin(), payload.begin() + 20), "ZORIKAMUQAVN0100RGRP");
  auto at = [&](int x, int y) { return image.pixels[static_cast<std::size_t>(y) * 256 + x]; };
  EXPECT_EQ(payload[20 + 0], at(0, 0));
  EXPECT_EQ(payload[20 + 8], at(0, 1));      // second row of the first tile
  EXPECT_EQ(payload[20 + 64], at(8, 0));     // the tile to its right
  EXPECT_EQ(payload[20 + 512], at(0, 8));    // second tile row of the unit
  EXPECT_EQ(payload[20 + 4096], at(64, 0));  // the unit at x 64
  EXPECT_EQ(payload[20 + 4096 + 8 + 1], at(65, 1));
  for (int y = 0; y < 192; ++y)
    for (int x = 0; x < 256; ++x)
      ASSERT_EQ(payload[GrpOffset(x, y)], at(x, y)) << x << "," << y;
}

TEST(BuildTilePayload, GrpBlocksOfAWideImageArePaddedWithZero) {
  const Image image(300, 100, [](int x, int y) { return 1 + (x + y) % 200; });
  EXPECT_TRUE(BuildTilePayload(image.grid, 49152, 2, 64, 64, 256).empty());  // two blocks across, one down
  const ResourcePayload second = BuildTilePayload(image.grid, 49152, 1, 64, 64, 256);
  ASSERT_EQ(second.size(), 49172u);
  for (int y = 0; y < 192; ++y) {
    for (int x = 0; x < 256; ++x) {
      const int sx = 256 + x;
      const std::uint8_t expected = (sx < 300 && y < 100) ? static_cast<std::uint8_t>(1 + (sx + y) % 200) : 0;
      ASSERT_EQ(second[GrpOffset(x, y)], expected) << x << "," << y;
    }
  }
}

TEST(BuildTilePayload, ChrPacksTwoPixelsPerByteLeftInTheLowNibble) {
  const Image image(128, 128, [](int x, int y) { return (x + 3 * y) % 16; });
  const ResourcePayload payload = BuildTilePayload(image.grid, 16384, 0, 8, 8, 128);
  ASSERT_EQ(payload.size(), 8212u);
  EXPECT_EQ(std::string(payload.begin(), payload.begin() + 20), "ZORIKAMUQAVN0100RCHR");
  EXPECT_EQ(payload[20], 0x10);  // pixel (0,0) = 0 low, pixel (1,0) = 1 high
  // 8x8 units: tile t is at (8 (t % 16), 8 (t / 16)); byte 4 r + c / 2 of a tile holds row r, columns c, c+1.
  for (int t = 0; t < 256; ++t) {
    for (int r = 0; r < 8; ++r) {
      for (int c = 0; c < 8; c += 2) {
        const int x = 8 * (t % 16) + c, y = 8 * (t / 16) + r;
        const int expected = ((x + 3 * y) % 16) | (((x + 1 + 3 * y) % 16) << 4);
        ASSERT_EQ(payload[20 + 32 * t + 4 * r + c / 2], expected) << t;
      }
    }
  }
}

TEST(BuildTilePayload, SixteenBySixteenUnitTakesItsTilesInReadingOrder) {
  // Each 8x8 quarter of the image holds its own value: top left 1, top right 2, bottom left 3, bottom
  // right 4.
  const Image image(128, 128, [](int x, int y) { return 1 + (x / 8) % 2 + 2 * ((y / 8) % 2); });
  const ResourcePayload payload = BuildTilePayload(image.grid, 16384, 0, 16, 16, 128);
  ASSERT_EQ(payload.size(), 8212u);
  for (int tile = 0; tile < 4; ++tile)
    EXPECT_EQ(payload[20 + 32 * tile], (tile + 1) * 0x11) << tile;
  // The second unit starts at x 16: again top left.
  EXPECT_EQ(payload[20 + 128], 0x11);
}

TEST(BuildTilePayload, RefusesMissingBlocksAndEmptyImages) {
  const Image image(128, 256, [](int, int) { return 5; });
  EXPECT_EQ(BuildTilePayload(image.grid, 16384, 1, 8, 8, 128).size(), 8212u);
  EXPECT_TRUE(BuildTilePayload(image.grid, 16384, 2, 8, 8, 128).empty());            // as many as the blocks
  EXPECT_TRUE(BuildTilePayload(image.grid, 16384, 0xFFFFFFFFu, 8, 8, 128).empty());  // -1 from a caller
  EXPECT_TRUE(BuildTilePayload(PixelGrid{}, 16384, 0, 8, 8, 128).empty());
  EXPECT_TRUE(BuildTilePayload(image.grid, 16384, 0, 0, 8, 128).empty());
  const std::vector<std::uint8_t> few(10);
  EXPECT_TRUE(BuildTilePayload(PixelGrid{few, 128, 128}, 16384, 0, 8, 8, 128).empty());  // pixels missing
}

TEST(BuildTilePayload, BlocksThatDoNotFitTheDataAreCutNotOverrun) {
  // 48 wide as its own block width: 341 rows of 16x16 units would be 264 tiles; 3000 wide: 5 rows high.
  for (const int width : {48, 3000, 100}) {
    const Image image(width, 400, [](int, int) { return 9; });
    const ResourcePayload payload = BuildTilePayload(image.grid, 16384, 0, 16, 16, -1);
    ASSERT_EQ(payload.size(), 8212u) << width;
    const ResourcePayload grp = BuildTilePayload(image.grid, 49152, 0, 64, 64, -1);
    ASSERT_EQ(grp.size(), 49172u) << width;
  }
  // A 48-wide block is exactly filled: 256 tiles of 9s.
  const Image exact(48, 400, [](int, int) { return 9; });
  const ResourcePayload payload = BuildTilePayload(exact.grid, 16384, 0, 16, 16, -1);
  for (std::size_t i = 20; i < payload.size(); ++i)
    ASSERT_EQ(payload[i], 0x99) << i;
}

}  // namespace
}  // namespace granvel
