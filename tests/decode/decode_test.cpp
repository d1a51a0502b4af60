// The slot labels of a package mask, which only the info command prints (the decoded files are named by the
// cases).
#include <gtest/gtest.h>

#include "decode/mask_names.h"

namespace granvel {
namespace {

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

}  // namespace
}  // namespace granvel
