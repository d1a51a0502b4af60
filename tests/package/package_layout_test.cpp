#include "package/package_layout.h"

#include <gtest/gtest.h>

#include "package/package_form.h"

namespace granvel {
namespace {

PackageMask Bit(int bit) {
  return PackageMask{1} << bit;
}

TEST(FailureReportText, ListsFailedSlotsInReportOrderWithTheScreenSuffix) {
  EXPECT_EQ(FailureReportText(Bit(29) | Bit(44)), "Convert failed.\n BGU2 (Down screen)\n BGD1");
  EXPECT_EQ(FailureReportText(Bit(0) | Bit(45) | Bit(8)), "Convert failed.\n PRG\n BGU0\n SPU0");
  EXPECT_EQ(FailureReportText(Bit(41) | Bit(42) | Bit(43) | Bit(26)),
            "Convert failed.\n BGD0\n SPS0\n SPS1\n SPD3");
  EXPECT_EQ(FailureReportText(Bit(34) | Bit(15) | Bit(22) | Bit(36)),
            "Convert failed.\n SCU1 (Down screen)\n COL2\n COL2 (Down screen)\n MEM");
}

TEST(FailureReportText, AllFortyTwoSlotsGiveTheLongestReport) {
  PackageMask all = Bit(45);
  for (int bit = 0; bit <= 44; ++bit) {
    if (bit < 37 || bit > 40)
      all |= Bit(bit);
  }
  const std::string text = FailureReportText(all);
  // "Convert failed." + 40 four-letter names and PRG, MEM (6 and 5 bytes a line) + 10 down-screen suffixes.
  EXPECT_EQ(text.size(), 15u + 40 * 6 + 2 * 5 + 10 * 14);
  EXPECT_EQ(text.size(), 405u);
  EXPECT_EQ(text.rfind("\n SPD3"), text.size() - 6);
}

TEST(NormalizePackageName, KeepsEightNameCharactersAndCutsAtTheFirstOther) {
  struct Row {
    std::string in, out;
  };
  for (const Row& row : {Row{"my_game1", "MY_GAME1"}, Row{"abc-def", "ABC"}, Row{"longname123", "LONGNAME"},
                         Row{"-x", ""}, Row{"a b", "A"}, Row{"AB\x83\x41", "AB"}, Row{"", ""}}) {
    EXPECT_EQ(NormalizePackageName(row.in), row.out) << row.in;
  }
  EXPECT_EQ(PackageResourceName(""), "PACKAGE");
  EXPECT_EQ(PackageResourceName("-game"), "PACKAGE");
  EXPECT_EQ(PackageResourceName("game"), "GAME");
}

TEST(PackageMask, HighHalfFirstInTheHead) {
  ResourcePayload head = EmptyPackageHead();
  ASSERT_EQ(head.size(), 32u);
  EXPECT_EQ(std::string(head.begin(), head.begin() + 20), "ZORIKAMUQAVN0300RPRG");
  StorePackageMask(head, Bit(41) | Bit(13) | Bit(8));
  const std::vector<std::uint8_t> expected{0x00, 0x02, 0x00, 0x00, 0x00, 0x21, 0x00, 0x00, 0, 0, 0, 0};
  EXPECT_EQ(std::vector<std::uint8_t>(head.begin() + 20, head.end()), expected);
  EXPECT_EQ(ReadPackageMask(head.data()), Bit(41) | Bit(13) | Bit(8));
}

TEST(AppendPayload, DropsTheBrandWordAndRefusesShortPayloads) {
  ResourcePayload package = EmptyPackageHead();
  EXPECT_FALSE(AppendPayload(package, ResourcePayload(7, 1)));
  EXPECT_EQ(package.size(), 32u);
  ResourcePayload col = NewPayload(kTagCol, 532);
  col[531] = 0xAB;
  ASSERT_TRUE(AppendPayload(package, col));
  ASSERT_EQ(package.size(), 32u + 524);
  EXPECT_EQ(std::string(package.begin() + 32, package.begin() + 44), "QAVN0100RCOL");
  EXPECT_EQ(package.back(), 0xAB);
}

TEST(PackageSlots, TableHoldsEverySlotOnceWithItsBitAndId) {
  const auto slots = PackageSlots();
  ASSERT_EQ(slots.size(), 42u);
  PackageMask seen = 0;
  for (const SlotInfo& slot : slots) {
    EXPECT_EQ(slot.SlotId % 8, 0) << slot.Label;
    EXPECT_EQ(SlotById(slot.SlotId), &slot);
    if (slot.Bit < 0)
      continue;
    EXPECT_FALSE(seen & Bit(slot.Bit)) << slot.Label;
    seen |= Bit(slot.Bit);
    EXPECT_EQ(SlotByBit(slot.Bit), &slot);
  }
  // Bits 0 to 36 and 41 to 44; 37 to 40 are reserved.
  EXPECT_EQ(seen, (Bit(37) - 1) | Bit(41) | Bit(42) | Bit(43) | Bit(44));
  // Spot checks against the layout: SPU ids step 16 from 4352, icons are bits 23 to 26.
  EXPECT_EQ(SlotByBit(7)->SlotId, 4464);
  EXPECT_EQ(SlotByBit(23)->SlotId, 4544);
  EXPECT_EQ(SlotByBit(31)->SlotId, 8184);
  EXPECT_EQ(SlotByBit(44)->SlotId, 4240);
  EXPECT_EQ(SlotByBit(34)->SlotId, 7248);
}

TEST(PackageSlots, CommandLineNamesTellTheScreens) {
  EXPECT_EQ(SlotByCommandLineName("bgu0")->Bit, 8);
  EXPECT_EQ(SlotByCommandLineName("down:BGU0")->Bit, 27);
  EXPECT_EQ(SlotByCommandLineName("DOWN:col1")->Bit, 33);
  EXPECT_EQ(SlotByCommandLineName("SPS1")->Bit, 42);
  EXPECT_EQ(SlotByCommandLineName("bgd1")->Bit, 44);
  EXPECT_EQ(SlotByCommandLineName("prg")->Kind, SlotKind::Program);
  EXPECT_EQ(SlotByCommandLineName("COL1 (SPU)")->Bit, 14);
  EXPECT_EQ(SlotByCommandLineName("down:SPS0"), nullptr);
  EXPECT_EQ(SlotByCommandLineName("BGU4"), nullptr);
  EXPECT_EQ(CommandLineName(*SlotByBit(35)), "down:SCU0");
  EXPECT_EQ(CommandLineName(*SlotByBit(41)), "SPS0");
}

TEST(SlotUnit, SizeListIndexNamesTheSpriteUnit) {
  const SlotInfo& spu0 = *SlotByBit(0);
  EXPECT_EQ(SlotUnit(spu0, 4).Width, 64);
  EXPECT_EQ(SlotUnit(spu0, 4).Height, 32);
  EXPECT_EQ(SlotUnit(spu0, 5).Width, 32);
  EXPECT_EQ(SlotUnit(spu0, 5).Height, 64);
  EXPECT_EQ(SlotUnit(spu0, std::nullopt).Width, 16);
  EXPECT_EQ(SlotUnit(spu0, 9).Height, 16);
  EXPECT_EQ(SlotUnit(*SlotByBit(24), 0).Width, 32);
  EXPECT_EQ(SlotUnit(*SlotByBit(8), 3).Width, 8);
}

TEST(PackageForm, SlotsStartEmptyWithTheFirstSizeSelected) {
  PackageForm form;
  EXPECT_FALSE(form.Slot(4352).Checked);
  EXPECT_EQ(form.Slot(4352).SizeIndex, 0);
  EXPECT_FALSE(form.Slot(4352).PartIndex.has_value());
  form.Slot(4096).Checked = true;
  EXPECT_TRUE(form.Slot(*SlotByBit(8)).Checked);
  EXPECT_THROW(form.Slot(4097), std::out_of_range);
}

}  // namespace
}  // namespace granvel
