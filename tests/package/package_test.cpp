// The package's own tables and layout: the failure report, names, the mask in the head, and the slots.
#include <gtest/gtest.h>

#include "package/package.h"
#include "package/package_form.h"
#include "package/package_layout.h"
#include "package/slots.h"

namespace granvel {
namespace {

PackageMask Bit(int bit) {
  return PackageMask{1} << bit;
}

TEST(FailureReportText, ListsFailedSlotsInReportOrderWithTheScreenSuffix) {
  const std::pair<PackageMask, std::string> rows[] = {
      {Bit(29) | Bit(44), "Convert failed.\n BGU2 (Down screen)\n BGD1"},
      {Bit(0) | Bit(45) | Bit(8), "Convert failed.\n PRG\n BGU0\n SPU0"},
      {Bit(41) | Bit(42) | Bit(43) | Bit(26), "Convert failed.\n BGD0\n SPS0\n SPS1\n SPD3"},
      {Bit(34) | Bit(15) | Bit(22) | Bit(36),
       "Convert failed.\n SCU1 (Down screen)\n COL2\n COL2 (Down screen)\n MEM"}};
  for (const auto& [mask, text] : rows)
    EXPECT_EQ(FailureReportText(mask), text);
  PackageMask all = Bit(45);
  for (int bit = 0; bit <= 44; ++bit)
    all |= bit < 37 || bit > 40 ? Bit(bit) : 0;
  // "Convert failed." + 40 four-letter names and PRG, MEM (6 and 5 bytes a line) + 10 down-screen suffixes.
  const std::string text = FailureReportText(all);
  EXPECT_EQ(text.size(), 15u + 40 * 6 + 2 * 5 + 10 * 14);
  EXPECT_EQ(text.rfind("\n SPD3"), text.size() - 6);
}

TEST(PackageLayout, NamesHeadMaskAndAppendedPayloads) {
  const std::pair<std::string, std::string> names[] = {
      {"my_game1", "MY_GAME1"}, {"abc-def", "ABC"}, {"longname123", "LONGNAME"}, {"-x", ""}, {"a b", "A"},
      {"AB\x83\x41", "AB"}};
  for (const auto& [in, out] : names)
    EXPECT_EQ(NormalizePackageName(in), out) << in;
  EXPECT_EQ(PackageResourceName("-game") + PackageResourceName("game"), "PACKAGEGAME");
  ResourcePayload head = EmptyPackageHead();
  ASSERT_EQ(head.size(), 32u);
  EXPECT_EQ(std::string(head.begin(), head.begin() + 20), "ZORIKAMUQAVN0300RPRG");
  StorePackageMask(head, Bit(41) | Bit(13) | Bit(8));
  EXPECT_EQ(std::vector<std::uint8_t>(head.begin() + 20, head.end()),
            (std::vector<std::uint8_t>{0x00, 0x02, 0, 0, 0x00, 0x21, 0, 0, 0, 0, 0, 0}));  // high half first
  EXPECT_EQ(ReadPackageMask(head.data()), Bit(41) | Bit(13) | Bit(8));
  EXPECT_FALSE(AppendPayload(head, ResourcePayload(7, 1)));
  ResourcePayload col = NewPayload(kTagCol, 532);
  col[531] = 0xAB;
  ASSERT_TRUE(AppendPayload(head, col));
  ASSERT_EQ(head.size(), 32u + 524);
  EXPECT_EQ(std::string(head.begin() + 32, head.begin() + 44) + char(head.back()), "QAVN0100RCOL\xAB");
}

TEST(PackageSlots, TableHoldsEverySlotOnceWithItsBitIdNameAndUnit) {
  PackageMask seen = 0;
  for (const SlotInfo& slot : PackageSlots()) {
    EXPECT_EQ(slot.SlotId % 8, 0) << slot.Label;
    EXPECT_EQ(SlotById(slot.SlotId), &slot);
    if (slot.Bit >= 0) {
      EXPECT_FALSE(seen & Bit(slot.Bit)) << slot.Label;
      seen |= Bit(slot.Bit);
      EXPECT_EQ(SlotByBit(slot.Bit), &slot);
    }
  }
  EXPECT_EQ(PackageSlots().size(), 42u);
  EXPECT_EQ(seen, (Bit(37) - 1) | Bit(41) | Bit(42) | Bit(43) | Bit(44));  // 37 to 40 are reserved
  const std::pair<int, int> ids[] = {{7, 4464}, {23, 4544}, {31, 8184}, {44, 4240}, {34, 7248}};
  for (const auto& [bit, id] : ids)
    EXPECT_EQ(SlotByBit(bit)->SlotId, id) << bit;
  const std::pair<std::string, int> names[] = {{"bgu0", 8},  {"down:BGU0", 27}, {"DOWN:col1", 33},
                                               {"SPS1", 42}, {"bgd1", 44},      {"COL1 (SPU)", 14},
                                               {"prg", -1}};
  for (const auto& [name, bit] : names)
    EXPECT_EQ(SlotByCommandLineName(name)->Bit, bit) << name;
  EXPECT_EQ(SlotByCommandLineName("down:SPS0"), nullptr);
  EXPECT_EQ(SlotByCommandLineName("BGU4"), nullptr);
  EXPECT_EQ(CommandLineName(*SlotByBit(35)) + CommandLineName(*SlotByBit(41)), "down:SCU0SPS0");
  const std::tuple<int, std::optional<int>, int, int> units[] = {
      {0, 4, 64, 32},  {0, 5, 32, 64}, {0, std::nullopt, 16, 16}, {0, 9, 16, 16}, {0, 7, 16, 16},
      {24, 0, 32, 32}, {8, 3, 8, 8}};
  for (const auto& [bit, size, width, height] : units)
    EXPECT_EQ(SlotUnit(*SlotByBit(bit), size).Width * 100 + SlotUnit(*SlotByBit(bit), size).Height,
              width * 100 + height);
  PackageForm form;
  EXPECT_FALSE(form.Slot(4352).Checked || form.Slot(4352).PartIndex.has_value());
  EXPECT_EQ(form.Slot(4352).SizeIndex, 0);
  form.Slot(4096).Checked = true;
  EXPECT_TRUE(form.Slot(*SlotByBit(8)).Checked);
  EXPECT_THROW(form.Slot(4097), std::out_of_range);
}

}  // namespace
}  // namespace granvel
