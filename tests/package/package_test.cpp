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

// Every slot of the dialog in its order, each field as the design's tables give it: a line per run of slots
// whose ids go up by 16, their bits by 1 and the digit of their name by 1.
TEST(PackageSlots, TableHoldsEverySlotOnceWithItsBitIdNameAndUnit) {
  using S = SlotScreen;
  using K = SlotKind;
  using W = BrowseKind;
  struct Run {
    int firstId, count;
    const char* label;  // the first slot's
    int firstBit;
    S screen;
    K kind;
    W browse;
    int unitWidth, unitHeight, mask;
    bool parts, sizes, down;
  };
  // clang-format off
  const Run runs[] = {
      {7936, 1, "PRG", -1, S::Both, K::Program, W::Text, 8, 8, 15, false, false, false},
      {8176, 1, "BGF0", 12, S::Upper, K::Chr, W::Bitmap, 8, 8, 15, true, false, false},
      {4096, 4, "BGU0", 8, S::Upper, K::Chr, W::Bitmap, 8, 8, 15, true, false, false},
      {4256, 2, "SCU0", 16, S::Upper, K::Scr, W::Screen, 0, 0, 0, false, false, false},
      {4608, 4, "GRP0", 18, S::Both, K::Grp, W::Bitmap, 1, 1, 255, true, false, false},
      {8184, 1, "BGF0", 31, S::Lower, K::Chr, W::Bitmap, 8, 8, 15, true, false, true},
      {4160, 4, "BGU0", 27, S::Lower, K::Chr, W::Bitmap, 8, 8, 15, true, false, true},
      {4224, 2, "BGD0", 43, S::Lower, K::Chr, W::Bitmap, 8, 8, 15, true, false, false},
      {4288, 2, "SCU0", 35, S::Lower, K::Scr, W::Screen, 0, 0, 0, false, false, true},
      {4352, 8, "SPU0", 0, S::Upper, K::Sprite, W::Bitmap, 16, 16, 15, true, true, false},
      {7168, 1, "COL0 (BGF/BGU)", 13, S::Upper, K::Col, W::Bitmap, 8, 8, 15, false, false, false},
      {7184, 1, "COL1 (SPU)", 14, S::Upper, K::Col, W::Bitmap, 8, 8, 15, false, false, false},
      {7200, 1, "COL2 (GRP)", 15, S::Upper, K::Col, W::Bitmap, 8, 8, 15, false, false, false},
      {7952, 1, "MEM", 22, S::Both, K::Mem, W::Text, 8, 8, 15, false, false, false},
      {4480, 2, "SPS0", 41, S::Lower, K::Sprite, W::Bitmap, 16, 16, 15, true, true, false},
      {4544, 4, "SPD0", 23, S::Lower, K::Icon, W::Bitmap, 32, 32, 15, true, true, false},
      {7216, 1, "COL0 (BGF/BGU)", 32, S::Lower, K::Col, W::Bitmap, 8, 8, 15, false, false, true},
      {7232, 1, "COL1 (SPS)", 33, S::Lower, K::Col, W::Bitmap, 8, 8, 15, false, false, true},
      {7248, 1, "COL2 (GRP)", 34, S::Lower, K::Col, W::Bitmap, 8, 8, 15, false, false, true},
  };
  // clang-format on
  std::size_t at = 0;
  PackageMask seen = 0;
  for (const Run& run : runs) {
    for (int i = 0; i < run.count; ++i, ++at) {
      ASSERT_LT(at, PackageSlots().size());
      const SlotInfo& slot = PackageSlots()[at];
      std::string label = run.label;
      if (run.count > 1)
        label[3] = static_cast<char>(label[3] + i);  // BGU0, BGU1, ...
      const int bit = run.firstBit < 0 ? -1 : run.firstBit + i;
      EXPECT_EQ(slot.SlotId, run.firstId + 16 * i) << label;
      EXPECT_EQ(std::string(slot.Label), label);
      EXPECT_EQ(std::string(slot.Name), label.substr(0, label.find(' ')));
      EXPECT_EQ(slot.Bit, bit) << label;
      EXPECT_TRUE(slot.Screen == run.screen && slot.Kind == run.kind && slot.Browse == run.browse) << label;
      EXPECT_EQ(std::vector<int>({slot.CheckUnitWidth, slot.CheckUnitHeight, slot.CheckMask}),
                std::vector<int>({run.unitWidth, run.unitHeight, run.mask}))
          << label;
      EXPECT_EQ(std::vector<bool>({slot.HasPartList, slot.HasSizeList, slot.DownSuffix}),
                std::vector<bool>({run.parts, run.sizes, run.down}))
          << label;
      EXPECT_EQ(SlotById(slot.SlotId), &slot);
      if (bit >= 0) {
        EXPECT_EQ(SlotByBit(bit), &slot);
        seen |= Bit(bit);
      }
    }
  }
  EXPECT_EQ(at, PackageSlots().size());
  EXPECT_EQ(seen, (Bit(37) - 1) | Bit(41) | Bit(42) | Bit(43) | Bit(44));  // 37 to 40 are reserved
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

// The save dialog opens on the package's name in the folder the settings choose for outputs: the first filled
// slot's for "Same folder as source", the tool folder, the User folder (the tool folder when it is empty).
TEST(SuggestedPackagePath, FollowsTheOutputFolderSetting) {
  PackageForm form;
  form.PackageName = "GAME";
  form.Slot(7200).Checked = true;  // upper COL2, after BGU0 in the dialog's order
  form.Slot(7200).Path = "/art/pal.bmp";
  form.Slot(4096).Checked = true;
  form.Slot(4096).Path = "/tiles/bg.bmp";
  const struct {
    int select;
    const char* user;
    const char* path;
  } rows[] = {{768, "/u", "/tiles/GAME.zkp"},
              {769, "/u", "/tool/GAME.zkp"},
              {770, "/u", "/u/GAME.zkp"},
              {770, "", "/tool/GAME.zkp"}};
  for (const auto& row : rows) {
    ConvertSettings settings;
    settings.ToolDir = "/tool";
    settings.Select = row.select;
    settings.User = row.user;
    EXPECT_EQ(SuggestedPackagePath(form, settings), row.path) << row.select << row.user;
  }
}

}  // namespace
}  // namespace granvel
