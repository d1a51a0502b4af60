#include "package/package.h"

#include <gtest/gtest.h>

#include "support/bmp_writer.h"
#include "support/container_view.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

using test::ContainerView;
using test::TempDir;

// A 4-bit image whose pixel (x, y) is (x + y) % 16, with a grey palette.
std::string WriteImage(const TempDir& dir, const std::string& name, int width, int height, int bits = 4) {
  test::BmpLayout layout = test::Layout(width, height, bits, test::GreyPalette(1 << bits));
  layout.pixels = test::PixelsOf(width, height, [](int x, int y) { return (x + y) % 16; });
  test::WriteBytes(dir / name, test::MakeBmp(layout));
  return dir / name;
}

struct Build {
  bool ok = false;
  PackageOutcome outcome;
  test::FakeHost host;
};

// Builds `form`, answering the save dialog with `savePath` (if given).
void RunBuild(Build& b, const PackageForm& form, const ConvertSettings& settings,
              const std::string& savePath) {
  if (!savePath.empty())
    b.host.choices.push_back({savePath});
  b.ok = BuildPackage(form, settings, b.host, b.outcome);
}

void Check(PackageForm& form, int slotId, const std::string& path, int part = 0) {
  SlotState& slot = form.Slot(slotId);
  slot.Checked = true;
  slot.Path = path;
  slot.PartIndex = part;
}

constexpr int kPrg = 7936, kBgu0 = 4096, kCol0 = 7168, kSps0 = 4480, kBgd1 = 4240, kSpu0 = 4352;
constexpr int kLowerBgu2 = 4192, kGrp0 = 4608;

TEST(BuildPackage, WorkedExampleProgramBackgroundAndPalette) {
  TempDir dir;
  test::WriteText(dir / "main.txt", "PRINT 1234");  // ten program bytes
  const std::string image = WriteImage(dir, "bg.bmp", 128, 128);
  PackageForm form;
  Check(form, kPrg, dir / "main.txt");
  Check(form, kBgu0, image);
  Check(form, kCol0, image);
  Build b;
  RunBuild(b, form, ConvertSettings{}, dir / "game.zkp");
  ASSERT_TRUE(b.ok) << b.outcome.Reason;

  const auto file = test::ReadBytes(dir / "game.zkp");
  ASSERT_EQ(file.size(), 8800u);
  const ContainerView view(file);
  EXPECT_EQ(view.storedSize, 8764u);
  EXPECT_EQ(view.type, 0u);
  EXPECT_EQ(view.Name(), "PACKAGE");
  EXPECT_TRUE(view.DigestMatches());
  const auto payload = view.Payload();
  ASSERT_EQ(payload.size(), 8772u);
  EXPECT_EQ(ContainerView::U32(payload, 20), 0u);
  EXPECT_EQ(ContainerView::U32(payload, 24), 0x2100u);
  EXPECT_EQ(ContainerView::U32(payload, 28), 10u);
  EXPECT_EQ(std::string(payload.begin() + 32, payload.begin() + 42), "PRINT 1234");
  EXPECT_EQ(payload[42], 0);
  EXPECT_EQ(payload[43], 0);
  EXPECT_EQ(std::string(payload.begin() + 44, payload.begin() + 56), "QAVN0100RCHR");
  EXPECT_EQ(payload[56], 0x10);  // pixel (0,0) = 0 low, pixel (1,0) = 1 high
  EXPECT_EQ(std::string(payload.begin() + 44 + 8204, payload.begin() + 56 + 8204), "QAVN0100RCOL");
  ASSERT_EQ(b.host.messages.size(), 1u);
  EXPECT_EQ(b.host.messages[0].caption, "Finished");
  EXPECT_EQ(b.host.messages[0].text, "Conpleted..");
  ASSERT_EQ(b.host.fileRequests.size(), 1u);
  EXPECT_EQ(b.host.fileRequests[0].Title, "Choose save path");
  EXPECT_TRUE(b.host.fileRequests[0].SaveMode);
}

TEST(BuildPackage, SingleSlotsGiveTheirSizesAndMaskWords) {
  TempDir dir;
  test::WriteText(dir / "p.txt", "PRINT 1234");
  const std::string image = WriteImage(dir, "i.bmp", 128, 128);
  struct Row {
    int slotId;
    std::size_t fileSize;
    std::uint32_t high, low;
  };
  const Row rows[] = {
      {kPrg, 72, 0, 0},
      {kCol0, 584, 0, 0x2000},
      {kSps0, 36 + 32 + 8204 - 8, 0x200, 0},
      {kBgd1, 36 + 32 + 8204 - 8, 0x1000, 0},
  };
  for (const Row& row : rows) {
    PackageForm form;
    Check(form, row.slotId, row.slotId == kPrg ? dir / "p.txt" : image);
    Build b;
    RunBuild(b, form, ConvertSettings{}, dir / "out.zkp");
    ASSERT_TRUE(b.ok) << row.slotId;
    const auto file = test::ReadBytes(dir / "out.zkp");
    EXPECT_EQ(file.size(), row.fileSize) << row.slotId;
    const auto payload = ContainerView(file).Payload();
    EXPECT_EQ(ContainerView::U32(payload, 20), row.high) << row.slotId;
    EXPECT_EQ(ContainerView::U32(payload, 24), row.low) << row.slotId;
  }
}

TEST(BuildPackage, ResourcesFollowBitOrderNotTheOrderGiven) {
  TempDir dir;
  // Two images told apart by their first pixel pair.
  test::BmpLayout a = test::Layout(128, 128, 4, test::GreyPalette(16));
  a.pixels.assign(128 * 128, 3);
  test::WriteBytes(dir / "bg.bmp", test::MakeBmp(a));
  a.pixels.assign(128 * 128, 5);
  test::WriteBytes(dir / "sp.bmp", test::MakeBmp(a));
  PackageForm form;
  Check(form, kBgu0, dir / "bg.bmp");
  Check(form, kSpu0, dir / "sp.bmp");
  Build b;
  RunBuild(b, form, ConvertSettings{}, dir / "o.zkp");
  ASSERT_TRUE(b.ok);
  const auto payload = ContainerView(test::ReadBytes(dir / "o.zkp")).Payload();
  ASSERT_EQ(payload.size(), 32u + 2 * 8204);
  EXPECT_EQ(payload[32 + 12], 0x55);         // SPU0 first (bit 0)
  EXPECT_EQ(payload[32 + 8204 + 12], 0x33);  // then BGU0 (bit 8)
}

TEST(BuildPackage, FailedSlotsAreReportedTogetherAndNothingIsWritten) {
  TempDir dir;
  const std::string good = WriteImage(dir, "good.bmp", 128, 128);
  PackageForm form;
  Check(form, kLowerBgu2, dir / "missing.bmp");
  Check(form, kBgd1, dir / "missing2.bmp");
  Check(form, kBgu0, good);
  Build b;
  RunBuild(b, form, ConvertSettings{}, dir / "never.zkp");
  EXPECT_FALSE(b.ok);
  ASSERT_EQ(b.host.messages.size(), 1u);
  EXPECT_EQ(b.host.messages[0].caption, "Error");
  EXPECT_EQ(b.host.messages[0].text, "Convert failed.\n BGU2 (Down screen)\n BGD1");
  EXPECT_TRUE(b.host.fileRequests.empty());
  EXPECT_FALSE(test::Exists(dir / "never.zkp"));
  ASSERT_EQ(b.outcome.SlotFailures.size(), 2u);
  EXPECT_NE(b.outcome.SlotFailures[0].Reason.find("missing.bmp"), std::string::npos)
      << b.outcome.SlotFailures[0].Reason;
}

TEST(BuildPackage, SlotFailuresOfEveryKind) {
  TempDir dir;
  test::WriteText(dir / "empty.txt", "");
  const std::string sheet = WriteImage(dir, "sheet.bmp", 48, 48);
  const std::string wide = WriteImage(dir, "wide.bmp", 16392, 8, 4);
  struct Row {
    const char* what;
    int slotId;
    std::string path;
    std::optional<int> part;
    std::optional<int> size;
    const char* reasonPart;
  };
  const Row rows[] = {
      {"empty program", kPrg, dir / "empty.txt", 0, 0, "empty"},
      {"48x48 sprites of 32x32", kSpu0, sheet, 0, 3, "48"},
      {"part beyond the image", kBgu0, WriteImage(dir, "small.bmp", 128, 128), 4, 0, "1 parts"},
      {"no part chosen", kBgu0, dir / "small.bmp", std::nullopt, 0, "part"},
      {"wider than 16384 with AutoTrim", kBgu0, wide, 0, 0, "16384"},
      {"a text in an image slot", kGrp0, dir / "empty.txt", 0, 0, "BMP"},
  };
  for (const Row& row : rows) {
    PackageForm form;
    Check(form, row.slotId, row.path);
    form.Slot(row.slotId).PartIndex = row.part;
    form.Slot(row.slotId).SizeIndex = row.size;
    Build b;
    RunBuild(b, form, ConvertSettings{}, dir / "x.zkp");
    EXPECT_FALSE(b.ok) << row.what;
    ASSERT_EQ(b.outcome.SlotFailures.size(), 1u) << row.what;
    EXPECT_NE(b.outcome.SlotFailures[0].Reason.find(row.reasonPart), std::string::npos)
        << row.what << ": " << b.outcome.SlotFailures[0].Reason;
    EXPECT_FALSE(test::Exists(dir / "x.zkp")) << row.what;
  }
}

TEST(BuildPackage, NothingCheckedOrCancelledWritesNothingAndShowsNothing) {
  TempDir dir;
  PackageForm empty;
  Build none;
  RunBuild(none, empty, ConvertSettings{}, dir / "a.zkp");
  EXPECT_FALSE(none.ok);
  EXPECT_TRUE(none.host.messages.empty());
  EXPECT_TRUE(none.host.fileRequests.empty());

  PackageForm form;
  Check(form, kCol0, WriteImage(dir, "i.bmp", 8, 8));
  Build cancelled;
  RunBuild(cancelled, form, ConvertSettings{}, "");
  EXPECT_FALSE(cancelled.ok);
  EXPECT_TRUE(cancelled.host.messages.empty());
  EXPECT_EQ(dir.List(), std::vector<std::string>{"i.bmp"});
}

TEST(BuildPackage, SavePathGetsTheZkpExtensionAndASecondBuildReplacesTheFirst) {
  TempDir dir;
  test::WriteText(dir / "p.txt", "PRINT 1234");
  PackageForm form;
  Check(form, kPrg, dir / "p.txt");
  Check(form, kCol0, WriteImage(dir, "i.bmp", 8, 8));
  form.PackageName = "my_game1";
  Build first;
  RunBuild(first, form, ConvertSettings{}, dir / "game.txt");
  ASSERT_TRUE(first.ok);
  EXPECT_EQ(first.outcome.Written, dir / "game.zkp");
  EXPECT_EQ(ContainerView(test::ReadBytes(dir / "game.zkp")).Name(), "MY_GAME1");

  form.Slot(kCol0).Checked = false;
  Build second;
  RunBuild(second, form, ConvertSettings{}, dir / "game.zkp");
  ASSERT_TRUE(second.ok);
  EXPECT_EQ(test::ReadBytes(dir / "game.zkp").size(), 72u);
}

TEST(BuildPackage, UnwritableTargetShowsFileCreateFailed) {
  TempDir dir;
  PackageForm form;
  Check(form, kCol0, WriteImage(dir, "i.bmp", 8, 8));
  Build b;
  RunBuild(b, form, ConvertSettings{}, dir / "no/such/folder/p.zkp");
  EXPECT_FALSE(b.ok);
  ASSERT_EQ(b.host.messages.size(), 1u);
  EXPECT_EQ(b.host.messages[0].caption, "Error");
  EXPECT_EQ(b.host.messages[0].text, "File create failed.");
}

TEST(CountParts, ListsThePartsTheBuildCuts) {
  TempDir dir;
  const std::string square = WriteImage(dir, "s.bmp", 256, 256);
  const std::string wide = WriteImage(dir, "w.bmp", 300, 192, 8);
  const std::string tall = WriteImage(dir, "t.bmp", 256, 384, 8);
  const std::string odd = WriteImage(dir, "o.bmp", 100, 100);
  const std::string icon40 = WriteImage(dir, "i40.bmp", 40, 40);
  const std::string icon64 = WriteImage(dir, "i64.bmp", 64, 64);
  struct Row {
    std::string path;
    int slotId, autoTrim, wideMode;
    int parts;  // -1: refused
  };
  const Row rows[] = {
      {square, kBgu0, 0, 0, 4}, {square, kBgu0, 0, 1, 4}, {square, kBgu0, 1, 0, 4},
      {wide, kGrp0, 1, 0, 2},   {tall, kGrp0, 1, 1, 2},   {odd, kBgu0, 1, 0, -1},
      {odd, kBgu0, 0, 0, 1},    {odd, kBgu0, 0, 1, 2},    {icon40, 4544, 1, 0, -1},
      {icon64, 4592, 1, 0, 1},  {square, kCol0, 1, 0, 0}, {dir / "none.txt", 4256, 1, 0, 0},
  };
  for (const Row& row : rows) {
    ConvertSettings settings;
    settings.AutoTrim = row.autoTrim;
    settings.WideMode = row.wideMode;
    test::FakeHost host;
    ConvertReport report;
    const ConvertContext ctx(settings, host, report);
    int parts = -7;
    const bool fits = CountParts(*SlotById(row.slotId), row.path, ctx, parts);
    EXPECT_EQ(fits, row.parts >= 0) << row.path << " slot " << row.slotId << ": " << report.Reason;
    if (fits) {
      EXPECT_EQ(parts, row.parts) << row.path << " slot " << row.slotId;
    }
  }
}

}  // namespace
}  // namespace granvel
