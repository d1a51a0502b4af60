#include "encode/image/chr.h"

#include <gtest/gtest.h>

#include "support/bmp_writer.h"
#include "support/container_view.h"
#include "support/fake_host.h"
#include "support/run_converter.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

using test::ContainerView;
using test::TempDir;

// Writes `pixels` as a 4-bit BMP `name`.bmp in `dir` and converts it with `settings`.
test::ConverterRun Convert(const TempDir& dir, const std::string& name, int width, int height,
                           const std::vector<std::uint8_t>& pixels, ConvertSettings settings) {
  test::BmpLayout layout = test::Layout(width, height, 4, test::GreyPalette(16));
  layout.pixels = pixels;
  test::WriteBytes(dir / (name + ".bmp"), test::MakeBmp(layout));
  return test::RunConverter(ConvertBmpToChr, dir / (name + ".bmp"), settings);
}

ConvertSettings WithType(int type, int textOut = 0) {
  ConvertSettings settings;
  SelectConvertType(settings, type);
  settings.TextOut = textOut;
  return settings;
}

std::vector<std::uint8_t> Fill(int width, int height, std::uint8_t value) {
  return std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height, value);
}

// The payload of a written bank, checked as a CHR container.
std::vector<std::uint8_t> Bank(const std::string& path, const std::string& name) {
  const ContainerView view(test::ReadBytes(path));
  EXPECT_EQ(view.type, 3u) << path;
  EXPECT_EQ(view.storedSize, 8204u) << path;
  EXPECT_EQ(view.Name(), name) << path;
  EXPECT_TRUE(view.DigestMatches()) << path;
  return view.Payload();
}

TEST(ConvertBmpToChr, OneBankBesideTheColFile) {
  TempDir dir;
  const auto pixels = test::PixelsOf(128, 128, [](int x, int y) { return (x + y) % 16; });
  const test::ConverterRun run = Convert(dir, "Hero", 128, 128, pixels, WithType(kConvertBgFont));
  ASSERT_TRUE(run.ok) << run.reason;
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"Hero.bmp", "Hero_CHR.zkp", "Hero_COL.zkp"}));
  EXPECT_EQ(run.written, (std::vector<std::string>{dir / "Hero_COL.zkp", dir / "Hero_CHR.zkp"}));
  const ContainerView col(test::ReadBytes(dir / "Hero_COL.zkp"));
  EXPECT_EQ(col.type, 5u);
  EXPECT_EQ(col.storedSize, 524u);
  EXPECT_EQ(col.Name(), "HERO");
  // Grey 15: each component 15 >> 3 = 1, and bit 2 of green set: 1 | 1 << 5 | 1 << 10 | 1 << 15.
  EXPECT_EQ(col.Payload()[20 + 2 * 15], 0x21);
  EXPECT_EQ(col.Payload()[21 + 2 * 15], 0x84);
  const auto bank = Bank(dir / "Hero_CHR.zkp", "HERO");
  EXPECT_EQ(bank[20], 0x10);
  EXPECT_EQ(bank[20 + 32], 0x98);  // tile 1 starts at (8, 0): pixels 8 and 9
}

TEST(ConvertBmpToChr, TwoBanksTopHalfFirstWithSpuLines) {
  TempDir dir;
  const auto pixels = test::PixelsOf(128, 256, [](int, int y) { return y < 128 ? 1 : 2; });
  const test::ConverterRun run = Convert(dir, "bg", 128, 256, pixels, WithType(kConvertBgFont, 1));
  ASSERT_TRUE(run.ok) << run.reason;
  EXPECT_EQ(Bank(dir / "bg_CHR0.zkp", "BG0")[20], 0x11);
  EXPECT_EQ(Bank(dir / "bg_CHR1.zkp", "BG1")[20], 0x22);
  EXPECT_FALSE(test::Exists(dir / "bg_CHR.zkp"));
  const std::string text = test::ReadText(dir / "bg_CHR_DATA.txt");
  const auto spu0 = text.find("' - SPU0\r' &H00\rDATA \"1111");
  const auto spu1 = text.find("' - SPU1\r' &H40\rDATA \"2222");
  ASSERT_NE(spu0, std::string::npos);
  ASSERT_NE(spu1, std::string::npos);
  EXPECT_LT(spu0, spu1);
  EXPECT_EQ(text.find('\n'), std::string::npos);
  EXPECT_EQ(run.written.back(), dir / "bg_CHR_DATA.txt");
}

TEST(ConvertBmpToChr, SeventeenBanksNameTheLastInHexAndDecimal) {
  TempDir dir;
  const test::ConverterRun run =
      Convert(dir, "base", 128, 17 * 128, Fill(128, 17 * 128, 3), WithType(kConvertBgFont));
  ASSERT_TRUE(run.ok) << run.reason;
  Bank(dir / "base_CHR16.zkp", "BASE10");
  Bank(dir / "base_CHR9.zkp", "BASE9");
  EXPECT_FALSE(test::Exists(dir / "base_CHR17.zkp"));
  EXPECT_EQ(run.written.size(), 18u);
}

TEST(ConvertBmpToChr, EightCharacterBaseNamesKeepTheBaseOnly) {
  TempDir dir;
  const test::ConverterRun run =
      Convert(dir, "Sprites8", 128, 256, Fill(128, 256, 1), WithType(kConvertBgFont));
  ASSERT_TRUE(run.ok) << run.reason;
  Bank(dir / "Sprites8_CHR0.zkp", "SPRITES8");
  Bank(dir / "Sprites8_CHR1.zkp", "SPRITES8");
}

TEST(ConvertBmpToChr, KeepWidthSplitsBy128Or256) {
  TempDir dir;
  ConvertSettings settings = WithType(kConvertBgFont);
  settings.AutoTrim = 0;
  settings.WideMode = 0;
  const auto pixels = test::PixelsOf(200, 100, [](int, int) { return 7; });
  ASSERT_TRUE(Convert(dir, "a", 200, 100, pixels, settings).ok);
  const auto second = Bank(dir / "a_CHR1.zkp", "A1");
  // Bank 1 covers x 128 to 255: tile t at (128 + 8 (t % 16), 8 (t / 16)); x 200 and on, y 100 and on are 0.
  for (int t = 0; t < 256; ++t) {
    const int x = 128 + 8 * (t % 16), y = 8 * (t / 16);
    const std::uint8_t expected = (x < 200 && y < 100) ? 0x77 : 0;
    ASSERT_EQ(second[20 + 32 * t], expected) << t;
  }
  EXPECT_FALSE(test::Exists(dir / "a_CHR2.zkp"));

  settings.WideMode = 1;
  const auto rows = test::PixelsOf(256, 192, [](int, int y) { return 1 + y / 64; });
  ASSERT_TRUE(Convert(dir, "w", 256, 192, rows, settings).ok);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(Bank(dir / ("w_CHR" + std::to_string(i) + ".zkp"), "W" + std::to_string(i))[20],
              0x11 * (i + 1));
  EXPECT_FALSE(test::Exists(dir / "w_CHR3.zkp"));
}

TEST(ConvertBmpToChr, SpriteSheetBanksFollowTheReadingOrderOfTheirBlock) {
  TempDir dir;
  // Sprite (column c, row r) of a 64-wide sheet of 16x16 sprites holds (c + 4 r) % 16.
  const auto pixels = test::PixelsOf(64, 512, [](int x, int y) { return (x / 16 + 4 * (y / 16)) % 16; });
  const test::ConverterRun run = Convert(dir, "s", 64, 512, pixels, WithType(kConvert16x16));
  ASSERT_TRUE(run.ok) << run.reason;
  for (int b = 0; b < 2; ++b) {
    const auto bank = Bank(dir / ("s_CHR" + std::to_string(b) + ".zkp"), "S" + std::to_string(b));
    for (int k = 0; k < 64; ++k) {
      const int value = (k % 4 + 4 * (16 * b + k / 4)) % 16;
      for (int tile = 0; tile < 4; ++tile)
        ASSERT_EQ(bank[20 + 128 * k + 32 * tile], value * 0x11) << b << " " << k;
    }
  }
  EXPECT_FALSE(test::Exists(dir / "s_CHR2.zkp"));
}

TEST(ConvertBmpToChr, WidthsThatAreNoPowerOfTwoUseTheRoundedBlock) {
  TempDir dir;
  // 48 wide rounds to a 64x256 block: two banks for 512 rows, each exactly 256 tiles, x 48 to 63 zero.
  const test::ConverterRun run = Convert(dir, "n", 48, 512, Fill(48, 512, 5), WithType(kConvert16x16));
  ASSERT_TRUE(run.ok) << run.reason;
  for (int b = 0; b < 2; ++b) {
    const auto bank = Bank(dir / ("n_CHR" + std::to_string(b) + ".zkp"), "N" + std::to_string(b));
    for (int k = 0; k < 64; ++k)
      ASSERT_EQ(bank[20 + 128 * k], k % 4 == 3 ? 0 : 0x55) << b << " " << k;
  }
  EXPECT_FALSE(test::Exists(dir / "n_CHR2.zkp"));
}

TEST(ConvertBmpToChr, RefusedImagesWriteNothing) {
  struct Row {
    std::string what;
    int type, width, height;
    std::string reason;
  };
  const Row rows[] = {
      {"not a multiple of the unit", kConvert16x16, 40, 32,
       "width 40 is not a multiple of the 16-pixel unit"},
      {"block shallower than a unit", kConvert64x64, 512, 64,
       "width 512 gives banks 512 wide and 32 rows high, shallower than the 64-pixel-high unit"},
      {"wider than a block", kConvertBgFont, 16392, 8, "width 16392 is above 16384"},
  };
  for (const Row& row : rows) {
    TempDir dir;
    const test::ConverterRun run =
        Convert(dir, "x", row.width, row.height, Fill(row.width, row.height, 1), WithType(row.type, 1));
    EXPECT_FALSE(run.ok) << row.what;
    EXPECT_EQ(run.reason.rfind(row.reason, 0), 0u) << row.what << ": " << run.reason;
    EXPECT_EQ(dir.List(), std::vector<std::string>{"x.bmp"}) << row.what;
  }
}

TEST(ConvertBmpToChr, DataTextThatCannotBeCreatedStopsEverything) {
  TempDir dir;
  test::BmpLayout layout = test::Layout(8, 8, 4, test::GreyPalette(16));
  test::WriteBytes(dir / "x.bmp", test::MakeBmp(layout));
  ConvertSettings settings = WithType(kConvertBgFont, 1);
  settings.Select = kSelectUserFolder;
  settings.User = dir / "missing";
  test::FakeHost host;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  EXPECT_FALSE(ConvertBmpToChr(MakeConvertJob(dir / "x.bmp", false, settings), ctx));
  EXPECT_TRUE(report.Written.empty());
  EXPECT_FALSE(report.Reason.empty());
}

TEST(ConvertBmpToChr, DataTextNamesTheUnitWidthFirst) {
  TempDir dir;
  const test::ConverterRun run = Convert(dir, "t", 64, 256, Fill(64, 256, 0), WithType(kConvert32x16, 1));
  ASSERT_TRUE(run.ok) << run.reason;
  const std::string text = test::ReadText(dir / "t_CHR_DATA.txt");
  // 96 palette lines, then an empty line, the title and the first unit (one bank: no SPU line).
  EXPECT_NE(text.find("' PALETTE 15\r"), std::string::npos);
  EXPECT_NE(text.find("\r\r\r' 32x16 SPRITE DATA\r' &H00\rDATA \""), std::string::npos);
  EXPECT_EQ(text.find("SPU"), std::string::npos);
}

}  // namespace
}  // namespace granvel
