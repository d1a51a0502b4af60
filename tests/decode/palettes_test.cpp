#include "decode/palettes.h"

#include <gtest/gtest.h>

namespace granvel {
namespace {

using Entry = std::array<std::uint8_t, 4>;  // blue, green, red, 0

TEST(ColourTableEntry, ScalesEachLevelByEightAndAddsTheLowGreenBit) {
  struct Row {
    std::uint16_t word;
    Entry entry;
  };
  const Row rows[] = {
      {0x7FFF, {248, 248, 248, 0}}, {0xFFFF, {248, 252, 248, 0}}, {0x8000, {0, 4, 0, 0}},
      {0x001F, {0, 0, 248, 0}},     {0x03E0, {0, 248, 0, 0}},     {0x7C00, {248, 0, 0, 0}},
      {0x4210, {128, 128, 128, 0}}, {0x0000, {0, 0, 0, 0}},
  };
  for (const Row& row : rows)
    EXPECT_EQ(ColourTableEntry(row.word), row.entry) << std::hex << row.word;
}

TEST(BuiltInBgPalette, HoldsTheTableRowByRow) {
  const ColourWords& p = BuiltInBgPalette();
  EXPECT_EQ(p[0], 0x0000);
  EXPECT_EQ(p[1], 0x1CE7);
  EXPECT_EQ(p[15], 0x7FFF);
  EXPECT_EQ(p[16 * 1 + 14], 0x7FFF);
  EXPECT_EQ(p[16 * 8 + 11], 0x76D7);
  EXPECT_EQ(p[16 * 13 + 15], 0x007F);
  EXPECT_EQ(p[16 * 15 + 0], 0x318C);
  EXPECT_EQ(p[255], 0x77BD);
}

TEST(BuiltInGrpPalette, IsBuiltByRule) {
  const ColourWords grp = BuiltInGrpPalette();
  for (int i = 0; i < 32; ++i)
    EXPECT_EQ(grp[i], BuiltInBgPalette()[i]) << i;
  EXPECT_EQ(grp[32], 0x7FFF);                              // white opens the cube
  EXPECT_EQ(grp[33], 0x67FF);                              // blue 25 next
  EXPECT_EQ(grp[32 + 6], (31 | (25 << 5) | (31 << 10)));   // green steps after six blues
  EXPECT_EQ(grp[32 + 36], (25 | (31 << 5) | (31 << 10)));  // red steps after 36
  EXPECT_EQ(grp[246], (6 << 10));                          // the last colour before the left-out black
  const std::uint16_t greys[] = {0x77BD, 0x6F7B, 0x5EF7, 0x56B5, 0x4631, 0x39CE, 0x294A, 0x2108, 0x1084};
  for (int i = 0; i < 9; ++i)
    EXPECT_EQ(grp[247 + i], greys[i]) << i;
}

}  // namespace
}  // namespace granvel
