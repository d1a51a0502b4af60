#include "decode/bitmap.h"

#include <gtest/gtest.h>

#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t U32(const Bytes& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::uint8_t At(const IndexedImage& image, int x, int y) {
  return image.Pixels[static_cast<std::size_t>(y) * image.Width + x];
}

TEST(PlaceTiles, GrpBytesLandWhereTheTileOrderPutsThem) {
  // Data byte k holds a marker at the offsets whose places are known: tile (0,0), the tile right of it, the
  // second tile row of the first unit, the second unit, and the second row of units.
  Bytes data(49152, 0);
  data[0] = 1;
  data[7] = 2;
  data[8] = 3;
  data[64] = 4;
  data[512] = 5;
  data[4096] = 6;
  data[16384] = 7;
  data[49151] = 8;
  const IndexedImage image = PlaceTiles(data, 8, 256, 192, 64, 64);
  ASSERT_EQ(image.Pixels.size(), 49152u);
  EXPECT_EQ(At(image, 0, 0), 1);
  EXPECT_EQ(At(image, 7, 0), 2);
  EXPECT_EQ(At(image, 0, 1), 3);
  EXPECT_EQ(At(image, 8, 0), 4);
  EXPECT_EQ(At(image, 0, 8), 5);
  EXPECT_EQ(At(image, 64, 0), 6);
  EXPECT_EQ(At(image, 0, 64), 7);
  EXPECT_EQ(At(image, 255, 191), 8);
}

TEST(PlaceTiles, ChrPairsPutTheLeftPixelInTheLowHalf) {
  Bytes data(8192, 0);
  data[0] = 0x21;
  const IndexedImage image = PlaceTiles(data, 4, 128, 128, 8, 8);
  EXPECT_EQ(At(image, 0, 0), 1);
  EXPECT_EQ(At(image, 1, 0), 2);
}

TEST(PlaceTiles, SixteenByteUnitsHoldFourTilesInRows) {
  // Tile 5 of a bank in 16x16 units: unit 1 (x 16), top row, right tile: x 24 to 31, y 0 to 7.
  Bytes data(8192, 0);
  for (int i = 0; i < 32; ++i)
    data[5 * 32 + i] = 0xFF;
  const IndexedImage image = PlaceTiles(data, 4, 128, 128, 16, 16);
  int lit = 0;
  for (int y = 0; y < 128; ++y) {
    for (int x = 0; x < 128; ++x) {
      const bool inside = x >= 24 && x < 32 && y < 8;
      EXPECT_EQ(At(image, x, y), inside ? 15 : 0) << x << "," << y;
      lit += At(image, x, y) != 0;
    }
  }
  EXPECT_EQ(lit, 64);
}

TEST(PlaceTiles, RefusesDataOfTheWrongSizeAndUnitsThatDoNotFit) {
  EXPECT_TRUE(PlaceTiles(Bytes(8191), 4, 128, 128, 8, 8).Pixels.empty());
  EXPECT_TRUE(PlaceTiles(Bytes(8193), 4, 128, 128, 8, 8).Pixels.empty());
  EXPECT_TRUE(PlaceTiles(Bytes(8192), 4, 128, 128, 48, 8).Pixels.empty());
  EXPECT_TRUE(PlaceTiles(Bytes(8192), 4, 128, 128, 12, 8).Pixels.empty());
  EXPECT_TRUE(PlaceTiles(Bytes(16384), 2, 128, 128, 8, 8).Pixels.empty());
}

TEST(IndexedBitmapBytes, WritesTheHeadersTableAndRowsBottomFirst) {
  const IndexedImage image{4, 2, Bytes{1, 2, 3, 4, 5, 6, 7, 8}};
  ColourWords palette{};
  palette[1] = 0x8000;
  palette[255] = 0x7FFF;
  const Bytes file = IndexedBitmapBytes(image, palette);
  ASSERT_EQ(file.size(), 1078u + 8u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(U32(file, 2), 1086u);
  EXPECT_EQ(U32(file, 6), 0u);
  EXPECT_EQ(U32(file, 10), 1078u);
  EXPECT_EQ(U32(file, 14), 40u);
  EXPECT_EQ(U32(file, 18), 4u);
  EXPECT_EQ(U32(file, 22), 2u);
  EXPECT_EQ(file[26] | (file[27] << 8), 1);
  EXPECT_EQ(file[28] | (file[29] << 8), 8);
  for (std::size_t at : {30u, 34u, 38u, 42u, 50u})
    EXPECT_EQ(U32(file, at), 0u) << at;
  EXPECT_EQ(U32(file, 46), 256u);
  EXPECT_EQ(Bytes(file.begin() + 58, file.begin() + 62), (Bytes{0, 4, 0, 0}));  // entry 1
  EXPECT_EQ(Bytes(file.begin() + 54 + 4 * 255, file.begin() + 1078), (Bytes{248, 248, 248, 0}));
  EXPECT_EQ(Bytes(file.begin() + 1078, file.end()), (Bytes{5, 6, 7, 8, 1, 2, 3, 4}));
}

TEST(IndexedBitmapBytes, TheSwatchStoresItsBottomRowFirst) {
  const Bytes file = IndexedBitmapBytes(PaletteSwatch(), ColourWords{});
  ASSERT_EQ(file.size(), 1334u);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(file[1078 + i], 240 + i);      // first stored row: the bottom one
    EXPECT_EQ(file[1078 + 15 * 16 + i], i);  // last stored row: the top one
  }
}

TEST(WriteIndexedBitmap, WritesOnceAndRecordsTheFile) {
  test::TempDir dir;
  ConvertSettings settings;
  test::FakeHost host;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  ASSERT_TRUE(WriteIndexedBitmap(dir / "s.bmp", PaletteSwatch(), ColourWords{}, ctx));
  EXPECT_EQ(test::ReadBytes(dir / "s.bmp").size(), 1334u);
  EXPECT_EQ(report.Written, std::vector<std::string>{dir / "s.bmp"});

  EXPECT_FALSE(WriteIndexedBitmap(dir / "e.bmp", IndexedImage{}, ColourWords{}, ctx));
  EXPECT_FALSE(WriteIndexedBitmap(dir / "missing/x.bmp", PaletteSwatch(), ColourWords{}, ctx));
  EXPECT_FALSE(test::Exists(dir / "e.bmp"));
  EXPECT_FALSE(report.Reason.empty());
}

}  // namespace
}  // namespace granvel
