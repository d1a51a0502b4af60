// What decoding draws on besides the files: the built-in palettes, colour table entries, the slot labels of
// a package mask, and MEM data too short to hold its characters.
#include <gtest/gtest.h>

#include "decode/mask_names.h"
#include "decode/mem.h"
#include "decode/palettes.h"
#include "decode/walk.h"

namespace granvel {
namespace {

TEST(Palettes, BuiltInTablesAndColourTableEntries) {
  const std::pair<std::uint16_t, std::array<std::uint8_t, 4>> entries[] = {
      {0x7FFF, {248, 248, 248, 0}}, {0xFFFF, {248, 252, 248, 0}}, {0x8000, {0, 4, 0, 0}},
      {0x001F, {0, 0, 248, 0}},     {0x03E0, {0, 248, 0, 0}},     {0x7C00, {248, 0, 0, 0}}};
  for (const auto& [word, entry] : entries)
    EXPECT_EQ(ColourTableEntry(word), entry) << std::hex << word;
  const ColourWords& bg = BuiltInBgPalette();
  const std::pair<int, std::uint16_t> bgRows[] = {{0, 0x0000},   {1, 0x1CE7},   {15, 0x7FFF},  {30, 0x7FFF},
                                                  {139, 0x76D7}, {223, 0x007F}, {240, 0x318C}, {255, 0x77BD}};
  for (const auto& [i, word] : bgRows)
    EXPECT_EQ(bg[i], word) << i;
  const ColourWords grp = BuiltInGrpPalette();
  EXPECT_TRUE(std::equal(bg.begin(), bg.begin() + 32, grp.begin()));
  // Then a 6x6x6 colour cube from white to just before black, blue stepping fastest, then green, then red.
  const int level[] = {31, 25, 19, 12, 6, 0};
  for (int i = 0; i < 215; ++i)
    ASSERT_EQ(grp[32 + i], level[i / 36] | level[i / 6 % 6] << 5 | level[i % 6] << 10) << i;
  const std::uint16_t greys[] = {0x77BD, 0x6F7B, 0x5EF7, 0x56B5, 0x4631, 0x39CE, 0x294A, 0x2108, 0x1084};
  EXPECT_TRUE(std::equal(std::begin(greys), std::end(greys), grp.begin() + 247));
}

TEST(FindMaskBitName, LabelsBothScreensAndLeavesHighBitsUnnamed) {
  const std::pair<int, std::string_view> rows[] = {{8, "BGU0"},
                                                   {27, "BGU0 (Down screen)"},
                                                   {31, "BGF0 (Down screen)"},
                                                   {36, "SCU1 (Down screen)"},
                                                   {22, "MEM"},
                                                   {41, "SPS0"},
                                                   {44, "BGD1"}};
  for (const auto& [bit, label] : rows)
    EXPECT_EQ(FindMaskBitName(bit)->Label, label);
  EXPECT_EQ(FindMaskBitName(45), nullptr);
  EXPECT_EQ(FindMaskBitName(-1), nullptr);
  int expected = 0;
  for (const MaskBitName& name : MaskBitNames())
    EXPECT_EQ(name.Bit, expected++);
  EXPECT_EQ(expected, 45);
}

TEST(ShortData, IsRefusedByTheMemTextAndTheDigestCheck) {
  EXPECT_FALSE(ContainerDigestMatches(std::vector<std::uint8_t>(35)));
  std::vector<std::uint8_t> text;
  std::string reason;
  EXPECT_FALSE(MemTextBytes(std::vector<std::uint8_t>(515), ConvertSettings{}, text, reason));
  EXPECT_EQ(reason, "MEM data is 515 bytes, not 516");
}

}  // namespace
}  // namespace granvel
