#include <gtest/gtest.h>

#include "support/bmp_writer.h"
#include "support/container_view.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

using test::ContainerView;
using test::RunCli;
using test::TempDir;

// A 64x64 4-bit sheet of 16x16 sprites: sprite (c, r) is filled with colour (c + 4 r) % 16.
std::vector<std::uint8_t> Sheet() {
  test::BmpLayout layout = test::Layout(64, 64, 4, test::GreyPalette(16));
  layout.pixels = test::PixelsOf(64, 64, [](int x, int y) { return (x / 16 + 4 * (y / 16)) % 16; });
  return test::MakeBmp(layout);
}

TEST(CliImageConvert, SpriteSheetBecomesPaletteBankAndDataText) {
  TempDir dir;
  test::WriteBytes(dir / "sheet.bmp", Sheet());
  const auto run = RunCli(dir.Path(), {"convert", "--type", "16x16", "sheet.bmp"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("sheet.bmp: wrote sheet_COL.zkp, sheet_CHR.zkp, sheet_CHR_DATA.txt"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(dir.List(),
            (std::vector<std::string>{"sheet.bmp", "sheet_CHR.zkp", "sheet_CHR_DATA.txt", "sheet_COL.zkp"}));
  const ContainerView bank(test::ReadBytes(dir / "sheet_CHR.zkp"));
  EXPECT_EQ(bank.type, 3u);
  EXPECT_EQ(bank.Name(), "SHEET");
  EXPECT_TRUE(bank.DigestMatches());
  const auto payload = bank.Payload();
  ASSERT_EQ(payload.size(), 8212u);
  for (int k = 0; k < 16; ++k)  // 64 wide: one bank of 64x256, the 16 sprites first in reading order
    EXPECT_EQ(payload[20 + 128 * k + 127], k * 0x11) << k;
  EXPECT_EQ(payload[20 + 128 * 16], 0);  // below the image
  const std::string text = test::ReadText(dir / "sheet_CHR_DATA.txt");
  EXPECT_NE(text.find("\r' 16x16 SPRITE DATA\r' &H00\r"), std::string::npos);
  EXPECT_EQ(ContainerView(test::ReadBytes(dir / "sheet_COL.zkp")).storedSize, 524u);
}

TEST(CliImageConvert, GrpTypeWritesPagesAndBinTypeCarriesTheFile) {
  TempDir dir;
  const auto sheet = Sheet();
  test::WriteBytes(dir / "sheet.bmp", sheet);
  auto run = RunCli(dir.Path(), {"convert", "--type", "grp", "--set", "TextOut=0", "sheet.bmp"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"sheet.bmp", "sheet_COL.zkp", "sheet_GRP.zkp"}));
  const auto page = ContainerView(test::ReadBytes(dir / "sheet_GRP.zkp")).Payload();
  ASSERT_EQ(page.size(), 49172u);
  EXPECT_EQ(page[20 + 64 * 2], 1);  // tile (16, 0) of the first unit: sprite 1

  run = RunCli(dir.Path(), {"convert", "--type", "bin", "sheet.bmp"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(test::Exists(dir / "sheet_DATA.txt"));
  const ContainerView carried(test::ReadBytes(dir / "sheet_BIN.zkp"));
  EXPECT_EQ(carried.type, 2u);
  const auto bytes = carried.Payload();
  for (std::size_t k = 0; k < 8; ++k)  // the first tile row holds the file's first 8 bytes
    EXPECT_EQ(bytes[20 + k], sheet[k]) << k;
  EXPECT_EQ(bytes[20 + 8], sheet[256]);  // the tile's second row is the file's second 256 bytes
}

TEST(CliImageConvert, UnknownExtensionsAreCarriedInPages) {
  TempDir dir;
  test::WriteText(dir / "song.mod", "some music");
  const auto run = RunCli(dir.Path(), {"convert", "--set", "TextOut=0", "song.mod"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"song.mod", "song_BIN.zkp"}));
}

TEST(CliImageConvert, OneBitQuestionIsAnsweredNoWithoutATerminal) {
  TempDir dir;
  test::BmpLayout layout = test::Layout(8, 8, 1, {{0, 0, 0}, {255, 255, 255}});
  layout.pixels.assign(64, 1);
  test::WriteBytes(dir / "mono.bmp", test::MakeBmp(layout));
  const auto run = RunCli(dir.Path(), {"convert", "mono.bmp"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("Select a color palette"), std::string::npos) << run.err;
  const auto bank = ContainerView(test::ReadBytes(dir / "mono_CHR.zkp")).Payload();
  EXPECT_EQ(bank[20], 0x11);  // answered No: palette 1
}

TEST(CliImageConvert, BadImagesFailWithTheirReasonAndWriteNothing) {
  TempDir dir;
  test::BmpLayout layout = test::Layout(40, 32, 4, test::GreyPalette(16));
  test::WriteBytes(dir / "odd.bmp", test::MakeBmp(layout));
  test::WriteText(dir / "fake.bmp", "GIF89a");
  const auto run = RunCli(dir.Path(), {"convert", "--type", "16x16", "odd.bmp", "fake.bmp"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("odd.bmp: failed: width 40 is not a multiple of the 16-pixel unit"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("fake.bmp: failed: not a BMP file"), std::string::npos) << run.err;
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"fake.bmp", "odd.bmp"}));
}

}  // namespace
}  // namespace granvel
