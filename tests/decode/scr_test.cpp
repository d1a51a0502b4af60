#include "decode/scr.h"

#include <gtest/gtest.h>

#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

using Bytes = std::vector<std::uint8_t>;

// SCR data with `value` at stored cell `index` (little-endian), every other cell 0.
Bytes WithStoredCell(std::size_t index, std::uint16_t value) {
  Bytes data(8192, 0);
  data[2 * index] = static_cast<std::uint8_t>(value);
  data[2 * index + 1] = static_cast<std::uint8_t>(value >> 8);
  return data;
}

// Line `n` (from 0) of the BGPUT lines: the header is 18 + 75 + 11 + 2 bytes, each line 37.
std::string BgputLine(const Bytes& text, std::size_t n) {
  const std::size_t at = 106 + 37 * n;
  return std::string(text.begin() + at, text.begin() + at + 37);
}

TEST(ScrCellsInReadingOrder, PutsTheFourQuartersInPlace) {
  struct Row {
    std::size_t stored;
    std::size_t x, y;
  };
  const Row rows[] = {{0, 0, 0},     {31, 31, 0},   {32, 0, 1},     {1023, 31, 31}, {1024, 32, 0},
                      {1056, 32, 1}, {2048, 0, 32}, {3072, 32, 32}, {4095, 63, 63}, {2047, 63, 31}};
  for (const Row& row : rows) {
    const auto cells = ScrCellsInReadingOrder(WithStoredCell(row.stored, 0xBEEF));
    ASSERT_EQ(cells.size(), 4096u);
    EXPECT_EQ(cells[row.y * 64 + row.x], 0xBEEF) << row.stored;
  }
}

TEST(RawScreenBytes, StoresEachCellHighByteFirst) {
  const auto raw = RawScreenBytes(ScrCellsInReadingOrder(WithStoredCell(0, 0x1234)));
  ASSERT_EQ(raw.size(), 8192u);
  EXPECT_EQ(raw[0], 0x12);
  EXPECT_EQ(raw[1], 0x34);
  // Stored cell 1024 is map cell 32.
  const auto second = RawScreenBytes(ScrCellsInReadingOrder(WithStoredCell(1024, 0xABCD)));
  EXPECT_EQ(second[64], 0xAB);
  EXPECT_EQ(second[65], 0xCD);
}

TEST(ScreenTextBytes, WritesTheHeaderAndOnePaddedLinePerCell) {
  const Bytes text = ScreenTextBytes(ScrCellsInReadingOrder(Bytes(8192, 0)));
  ASSERT_EQ(text.size(), 151658u);
  EXPECT_EQ(std::string(text.begin(), text.begin() + 106),
            "' BG SCREEN DATA\r\n"
            "' BGPUT Layer, x, y, Number, Palette, horizonal_reverse, vertical_reverse\r\n"
            "' LAYER=0\r\n"
            "\r\n");
  EXPECT_EQ(BgputLine(text, 0), "BGPUT LAYER,  0,  0,    0,  0, 0, 0\r\n");
  EXPECT_EQ(BgputLine(text, 4095), "BGPUT LAYER, 63, 63,    0,  0, 0, 0\r\n");
}

TEST(ScreenTextBytes, SplitsTheCellIntoItsFields) {
  // 0x1234 at map cell (5, 12): stored index 12 * 32 + 5 in the top-left quarter.
  Bytes text = ScreenTextBytes(ScrCellsInReadingOrder(WithStoredCell(12 * 32 + 5, 0x1234)));
  EXPECT_EQ(BgputLine(text, 12 * 64 + 5), "BGPUT LAYER,  5, 12,  564,  1, 0, 0\r\n");

  text = ScreenTextBytes(ScrCellsInReadingOrder(WithStoredCell(4095, 0xFFFF)));
  EXPECT_EQ(BgputLine(text, 4095), "BGPUT LAYER, 63, 63, 1023, 15, 1, 1\r\n");
  EXPECT_EQ(text.size(), 151658u);

  // The stored cell 1024 is the 33rd line; reverse bits apart: 0x0400 horizontal, 0x0800 vertical.
  text = ScreenTextBytes(ScrCellsInReadingOrder(WithStoredCell(1024, 0x0400 | 7)));
  EXPECT_EQ(BgputLine(text, 32), "BGPUT LAYER, 32,  0,    7,  0, 1, 0\r\n");
  text = ScreenTextBytes(ScrCellsInReadingOrder(WithStoredCell(0, 0xA800 | 99)));
  EXPECT_EQ(BgputLine(text, 0), "BGPUT LAYER,  0,  0,   99, 10, 0, 1\r\n");
}

TEST(DecodeScr, WritesTheRawFileThenTheText) {
  test::TempDir dir;
  ConvertSettings settings;
  test::FakeHost host;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  ASSERT_TRUE(DecodeScr(Bytes(8192, 0), dir / "MAP", "_SCR", ctx)) << report.Reason;
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"MAP_SCR_SCR.rscr", "MAP_SCR_SCR.txt"}));
  EXPECT_EQ(test::ReadBytes(dir / "MAP_SCR_SCR.rscr").size(), 8192u);
  EXPECT_EQ(test::ReadBytes(dir / "MAP_SCR_SCR.txt").size(), 151658u);
  EXPECT_EQ(report.Written, (std::vector<std::string>{dir / "MAP_SCR_SCR.rscr", dir / "MAP_SCR_SCR.txt"}));

  ASSERT_TRUE(DecodeScr(Bytes(8192, 0), dir / "PACKAGE", "_SCR0", ctx));
  EXPECT_TRUE(test::Exists(dir / "PACKAGE_SCR0_SCR.txt"));

  test::TempDir empty;
  EXPECT_FALSE(DecodeScr(Bytes(8191, 0), empty / "MAP", "_SCR", ctx));
  EXPECT_TRUE(empty.List().empty());
}

}  // namespace
}  // namespace granvel
