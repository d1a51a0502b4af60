#include "decode/mask_names.h"

#include <gtest/gtest.h>

namespace granvel {
namespace {

constexpr std::uint64_t Bit(int n) {
  return std::uint64_t{1} << n;
}

TEST(TakeResourceEnding, TakesBitsInOrderAndFallsBackToTheKind) {
  std::uint64_t mask = Bit(0) | Bit(8);
  EXPECT_EQ(TakeResourceEnding("CHR", mask), "_SPU0");
  EXPECT_EQ(TakeResourceEnding("CHR", mask), "_BGU0");
  EXPECT_EQ(mask, 0u);
  EXPECT_EQ(TakeResourceEnding("CHR", mask), "_CHR");  // more CHR than announced
}

TEST(TakeResourceEnding, EachKindUsesOnlyItsOwnBits) {
  struct Row {
    const char* kind;
    int bit;
    const char* ending;
  };
  const Row rows[] = {
      {"CHR", 12, "_BGF0"},        {"CHR", 23, "_SPD0"}, {"CHR", 26, "_SPD3"},
      {"CHR", 27, "_BGS0"},        {"CHR", 31, "_BGF1"}, {"CHR", 37, "_SPS_NO_USE0"},
      {"CHR", 40, "_BGD_NO_USE1"}, {"CHR", 41, "_SPS0"}, {"CHR", 44, "_BGD1"},
      {"COL", 13, "_COL0"},        {"COL", 15, "_COL2"}, {"COL", 32, "_COL0_S"},
      {"COL", 34, "_COL2_S"},      {"SCR", 16, "_SCR0"}, {"SCR", 17, "_SCR1"},
      {"SCR", 35, "_SCR2"},        {"SCR", 36, "_SCR3"}, {"GRP", 18, "_GRP0"},
      {"GRP", 21, "_GRP3"},
  };
  for (const Row& row : rows) {
    std::uint64_t mask = Bit(row.bit);
    EXPECT_EQ(TakeResourceEnding(row.kind, mask), row.ending) << row.kind << " bit " << row.bit;
    EXPECT_EQ(mask, 0u) << row.bit;
    // Another kind leaves the bit alone.
    mask = Bit(row.bit);
    const char* other = std::string_view(row.kind) == "GRP" ? "CHR" : "GRP";
    EXPECT_NE(TakeResourceEnding(other, mask), row.ending);
    EXPECT_EQ(mask, Bit(row.bit)) << row.bit;
  }
}

TEST(TakeResourceEnding, NoKindTakesTheMemBit) {
  for (const char* kind : {"CHR", "COL", "SCR", "GRP"}) {
    std::uint64_t mask = Bit(22) | Bit(45) | Bit(63);
    TakeResourceEnding(kind, mask);
    EXPECT_EQ(mask, Bit(22) | Bit(45) | Bit(63)) << kind;
  }
  std::uint64_t mask = 0;
  EXPECT_EQ(TakeResourceEnding("COL", mask), "_COL");
  EXPECT_EQ(TakeResourceEnding("SCR", mask), "_SCR");
  EXPECT_EQ(TakeResourceEnding("GRP", mask), "_GRP");
}

TEST(FindMaskBitName, LabelsBothScreensAndLeavesHighBitsUnnamed) {
  EXPECT_EQ(FindMaskBitName(8)->Label, "BGU0");
  EXPECT_EQ(FindMaskBitName(27)->Label, "BGU0 (Down screen)");
  EXPECT_EQ(FindMaskBitName(31)->Label, "BGF0 (Down screen)");
  EXPECT_EQ(FindMaskBitName(36)->Label, "SCU1 (Down screen)");
  EXPECT_EQ(FindMaskBitName(22)->Label, "MEM");
  EXPECT_EQ(FindMaskBitName(41)->Label, "SPS0");
  EXPECT_EQ(FindMaskBitName(44)->Label, "BGD1");
  EXPECT_EQ(FindMaskBitName(45), nullptr);
  EXPECT_EQ(FindMaskBitName(-1), nullptr);
  // 45 named bits, 0 to 44, in ascending order.
  int expected = 0;
  for (const MaskBitName& name : MaskBitNames())
    EXPECT_EQ(name.Bit, expected++);
  EXPECT_EQ(expected, 45);
}

}  // namespace
}  // namespace granvel
