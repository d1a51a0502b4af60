#include "decode/images.h"

#include <gtest/gtest.h>

#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct DecodeRun {
  test::TempDir dir;
  ConvertSettings settings;
  test::FakeHost host;
  ConvertReport report;
  ConvertContext ctx{settings, host, report};
  std::string Stem() const { return dir / "HERO"; }
};

std::uint32_t U32(const Bytes& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

// The palette index at (x, y) of an 8-bit BMP written bottom row first.
std::uint8_t PixelOf(const Bytes& bmp, int x, int y) {
  const auto width = static_cast<int>(U32(bmp, 18)), height = static_cast<int>(U32(bmp, 22));
  return bmp[1078 + static_cast<std::size_t>(height - 1 - y) * width + x];
}

TEST(ChrUnitSize, FollowsTheEndingBeforeTheConvertType) {
  struct Row {
    const char* ending;
    std::uint16_t type;
    UnitSize unit;
  };
  const Row rows[] = {
      {"_SPD1", kConvertBgFont, {32, 32}},   {"_SPD1", kConvert64x32, {32, 32}},
      {"_SPD1", kConvertGraphics, {32, 32}}, {"_BGU2", kConvert64x64, {8, 8}},
      {"_BGU2", kConvertBgFont, {8, 8}},     {"_BGS0", kConvert16x16, {8, 8}},
      {"_BGF1", kConvert32x32, {8, 8}},      {"_BGD_NO_USE0", kConvert32x16, {8, 8}},
      {"_SPU0", kConvert64x32, {64, 32}},    {"_SPU0", kConvertBgFont, {16, 16}},
      {"_SPS1", kConvert32x64, {32, 64}},    {"_SPS_NO_USE0", kConvertBinary, {16, 16}},
      {"_CHR", kConvertBgFont, {8, 8}},      {"_CHR", kConvert32x32, {32, 32}},
      {"_CHR", kConvertGraphics, {8, 8}},    {"_CHR", kConvert16x32, {16, 32}},
      {"_CHR", kConvert32x16, {32, 16}},     {"_CHR", kConvert64x64, {64, 64}},
  };
  for (const Row& row : rows) {
    ConvertSettings settings;
    settings.ConvertType = row.type;
    const UnitSize unit = ChrUnitSize(row.ending, settings);
    EXPECT_EQ(unit, row.unit) << row.ending << " " << row.type << ": " << unit.Width << "x" << unit.Height;
  }
}

TEST(DecodeChr, WritesTheSameFileSizeInBothShapes) {
  for (int wide : {0, 1, -1}) {
    DecodeRun run;
    run.settings.Make_Wide = wide;
    ASSERT_TRUE(DecodeChr(Bytes(8192, 0x11), run.Stem(), "_CHR", run.ctx)) << run.report.Reason;
    const Bytes bmp = test::ReadBytes(run.dir / "HERO_CHR.bmp");
    ASSERT_EQ(bmp.size(), 17462u) << wide;
    EXPECT_EQ(U32(bmp, 18), wide == 0 ? 128u : 256u);
    EXPECT_EQ(U32(bmp, 22), wide == 0 ? 128u : 64u);
    // The built-in palette, not a package's COL: colour 1 of palette 0 is 0x1CE7.
    EXPECT_EQ(Bytes(bmp.begin() + 58, bmp.begin() + 62), (Bytes{7 * 8, 7 * 8, 7 * 8, 0}));
  }
}

TEST(DecodeChr, PlacesTileEightByTheUnitOfItsEnding) {
  // Tile 8 lies at x 64 in 8x8 units, at x 32 in 16x16 units, at y 16 in 32x32 units, at y 8 in 64x32 units.
  struct Row {
    const char* ending;
    std::uint16_t type;
    int x, y;
  };
  const Row rows[] = {
      {"_BGU2", kConvert64x32, 64, 0},  {"_CHR", kConvertBgFont, 64, 0}, {"_SPU0", kConvertBgFont, 32, 0},
      {"_SPD1", kConvertBgFont, 0, 16}, {"_CHR", kConvert32x32, 0, 16},  {"_SPU0", kConvert64x32, 0, 8},
  };
  Bytes data(8192, 0);
  for (int i = 0; i < 32; ++i)
    data[8 * 32 + i] = 0x99;
  for (const Row& row : rows) {
    DecodeRun run;
    run.settings.Make_Wide = 0;
    run.settings.ConvertType = row.type;
    ASSERT_TRUE(DecodeChr(data, run.Stem(), row.ending, run.ctx));
    const Bytes bmp = test::ReadBytes(run.dir / ("HERO" + std::string(row.ending) + ".bmp"));
    EXPECT_EQ(PixelOf(bmp, row.x, row.y), 9) << row.ending << " " << row.type;
    EXPECT_EQ(PixelOf(bmp, row.x + 7, row.y + 7), 9) << row.ending << " " << row.type;
  }
}

TEST(DecodeGrp, WritesThePageWithTheGrpPalette) {
  DecodeRun run;
  Bytes data(49152, 0);
  data[4096] = 33;
  ASSERT_TRUE(DecodeGrp(data, run.Stem(), "_GRP0", run.ctx));
  const Bytes bmp = test::ReadBytes(run.dir / "HERO_GRP0.bmp");
  ASSERT_EQ(bmp.size(), 50230u);
  EXPECT_EQ(U32(bmp, 18), 256u);
  EXPECT_EQ(U32(bmp, 22), 192u);
  EXPECT_EQ(PixelOf(bmp, 64, 0), 33);
  // Entry 33 of the GRP palette is 0x67FF: red 248, green 248, blue 200.
  EXPECT_EQ(Bytes(bmp.begin() + 54 + 4 * 33, bmp.begin() + 58 + 4 * 33), (Bytes{200, 248, 248, 0}));
}

TEST(DecodeCol, WritesTheSwatchWithTheResourcesColours) {
  DecodeRun run;
  Bytes data(512, 0);
  data[2 * 3] = 0x00;
  data[2 * 3 + 1] = 0x80;  // slot 3: 0x8000
  data[2 * 255] = 0xFF;
  data[2 * 255 + 1] = 0xFF;  // slot 255: 0xFFFF
  ASSERT_TRUE(DecodeCol(data, run.Stem(), "_COL0_S", run.ctx));
  const Bytes bmp = test::ReadBytes(run.dir / "HERO_COL0_S.bmp");
  ASSERT_EQ(bmp.size(), 1334u);
  EXPECT_EQ(Bytes(bmp.begin() + 54 + 12, bmp.begin() + 54 + 16), (Bytes{0, 4, 0, 0}));
  EXPECT_EQ(Bytes(bmp.begin() + 54 + 1020, bmp.begin() + 1078), (Bytes{248, 252, 248, 0}));
  EXPECT_EQ(PixelOf(bmp, 0, 0), 0);
  EXPECT_EQ(PixelOf(bmp, 15, 15), 255);
  for (int x = 0; x < 16; ++x)
    EXPECT_EQ(bmp[1078 + x], 240 + x);
}

TEST(DecodeImages, ShortDataWritesNothing) {
  DecodeRun run;
  EXPECT_FALSE(DecodeChr(Bytes(8191), run.Stem(), "_CHR", run.ctx));
  EXPECT_FALSE(DecodeGrp(Bytes(100), run.Stem(), "_GRP", run.ctx));
  EXPECT_FALSE(DecodeCol(Bytes(511), run.Stem(), "_COL", run.ctx));
  EXPECT_TRUE(run.dir.List().empty());
  EXPECT_FALSE(run.report.Reason.empty());
}

}  // namespace
}  // namespace granvel
