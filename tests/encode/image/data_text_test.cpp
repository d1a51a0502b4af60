#include "encode/image/data_text.h"

#include <gtest/gtest.h>

#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : text) {
    EXPECT_NE(c, '\n');
    if (c == '\r') {
      lines.push_back(line);
      line.clear();
    } else {
      line.push_back(c);
    }
  }
  EXPECT_TRUE(line.empty()) << "a line without its carriage return";
  return lines;
}

BmpImage ImageWithSlots(std::initializer_list<std::pair<int, std::uint16_t>> slots) {
  BmpImage image;
  image.ColPayload = NewPayload(kTagCol, kColPayloadSize);
  for (const auto& [slot, word] : slots) {
    image.ColPayload[20 + 2 * slot] = static_cast<std::uint8_t>(word);
    image.ColPayload[21 + 2 * slot] = static_cast<std::uint8_t>(word >> 8);
  }
  image.PaletteRows = 16;
  image.PixelCount = 1;
  image.Width = image.Height = 1;
  image.Pixels = {0};
  return image;
}

TEST(WritePaletteData, WritesSixteenPalettesOfSixLines) {
  std::string out;
  WritePaletteData(out, ImageWithSlots({{1, 0x001F}, {2, 0x7FFF}, {3, 0xFFFF}, {17, 0x8000}}));
  const auto lines = Lines(out);
  ASSERT_EQ(lines.size(), 96u);
  EXPECT_EQ(lines[0], "' PALETTE 0");
  EXPECT_EQ(lines[1], "DATA \"000000\",\"F80000\",\"F8F8F8\",\"F8FCF8\"");
  EXPECT_EQ(lines[2], "DATA \"000000\",\"000000\",\"000000\",\"000000\"");
  EXPECT_EQ(lines[5], "");
  EXPECT_EQ(lines[6], "' PALETTE 1");
  EXPECT_EQ(lines[7], "DATA \"000000\",\"000400\",\"000000\",\"000000\"");
  EXPECT_EQ(lines[90], "' PALETTE 15");
  EXPECT_EQ(lines[95], "");
}

TEST(WritePaletteData, WritesNothingForAnImageNotRead) {
  std::string out;
  WritePaletteData(out, BmpImage{});
  EXPECT_TRUE(out.empty());
}

ResourcePayload ChrBank(std::uint8_t fill) {
  ResourcePayload payload = NewPayload(kTagChr, kChrPayloadSize);
  std::fill(payload.begin() + 20, payload.end(), fill);
  return payload;
}

TEST(WriteChrData, SixteenBySixteenBankTwoNumbersItsUnits80ToBF) {
  std::string out;
  WriteChrData(out, ChrBank(0x21), 16, 16, 2);
  const auto lines = Lines(out);
  ASSERT_EQ(lines.size(), 64u * 6);  // number, four tiles, empty line
  EXPECT_EQ(lines[0], "' &H80");
  EXPECT_EQ(lines[6], "' &H81");
  EXPECT_EQ(lines[63 * 6], "' &HBF");
  EXPECT_EQ(lines[5], "");
  // 0x21: low nibble 1 first, then 2.
  std::string digits;
  for (int i = 0; i < 32; ++i)
    digits += "12";
  EXPECT_EQ(lines[1], "DATA \"" + digits + "\"");
}

TEST(WriteChrData, EightByEightBanksNumberEveryTile) {
  std::string out;
  WriteChrData(out, ChrBank(0), 8, 8, 0);
  auto lines = Lines(out);
  ASSERT_EQ(lines.size(), 256u * 3);
  EXPECT_EQ(lines[0], "' &H00");
  EXPECT_EQ(lines[3 * 15], "' &H0F");
  EXPECT_EQ(lines[3 * 255], "' &HFF");
  out.clear();
  WriteChrData(out, ChrBank(0), 8, 8, 1);
  lines = Lines(out);
  EXPECT_EQ(lines[0], "' &H40");
  EXPECT_EQ(lines[3 * 255], "' &H13F");
}

TEST(WriteChrData, SixtyFourBySixtyFourUnitsAreSixteenApart) {
  std::string out;
  WriteChrData(out, ChrBank(0), 64, 64, 0);
  const auto lines = Lines(out);
  ASSERT_EQ(lines.size(), 4u * 66);
  EXPECT_EQ(lines[0], "' &H00");
  EXPECT_EQ(lines[66], "' &H10");
  EXPECT_EQ(lines[3 * 66], "' &H30");
}

TEST(WriteChrData, TileRowOfPixelsOneToEightReadsInOrder) {
  ResourcePayload payload = ChrBank(0);
  payload[20] = 0x21;
  payload[21] = 0x43;
  payload[22] = 0x65;
  payload[23] = 0x87;
  std::string out;
  WriteChrData(out, payload, 8, 8, 0);
  EXPECT_EQ(Lines(out)[1].substr(0, 14), "DATA \"12345678");
  std::string none;
  WriteChrData(none, ResourcePayload{}, 8, 8, 0);
  EXPECT_TRUE(none.empty());
}

TEST(WriteGrpData, WritesTheFirst256TilesInDecimalOrHex) {
  ResourcePayload page = NewPayload(kTagGrp, kGrpPayloadSize);
  page[20] = 200;
  page[20 + 63] = 7;
  page[20 + 16384] = 99;  // tile 256: not written
  ConvertSettings decimal;
  decimal.DATA_Type = 0;
  std::string out;
  WriteGrpData(out, page, decimal);
  auto lines = Lines(out);
  ASSERT_EQ(lines.size(), 256u);
  std::string first = "DATA 200";
  for (int i = 1; i < 63; ++i)
    first += ",0";
  EXPECT_EQ(lines[0], first + ",7");
  EXPECT_EQ(out.find("99"), std::string::npos);

  ConvertSettings hex;  // DATA_Type -1 counts as on
  out.clear();
  WriteGrpData(out, page, hex);
  lines = Lines(out);
  ASSERT_EQ(lines.size(), 256u);
  EXPECT_EQ(lines[0], "DATA \"C8" + std::string(124, '0') + "07\"");
  EXPECT_EQ(lines[255], "DATA \"" + std::string(128, '0') + "\"");
}

TEST(HexText, IsUpperCaseWithoutLeadingZeros) {
  EXPECT_EQ(HexText(0), "0");
  EXPECT_EQ(HexText(0xBFFF), "BFFF");
  EXPECT_EQ(HexText(0x17FFF), "17FFF");
}

TEST(DataText, NothingAppearsUnderItsNameUntilFinished) {
  test::TempDir dir;
  test::FakeHost host;
  ConvertSettings settings;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  {
    DataText text;
    ASSERT_TRUE(text.Open(true, dir / "a_DATA.txt", ctx));
    text.Text() = "DATA 1\r";
    ASSERT_TRUE(text.Flush(ctx));
    EXPECT_TRUE(dir.List().size() == 1 && dir.List()[0] != "a_DATA.txt");
  }  // dropped without Finish: nothing stays
  EXPECT_TRUE(dir.List().empty());
  DataText text;
  ASSERT_TRUE(text.Open(true, dir / "a_DATA.txt", ctx));
  text.Text() = "DATA 1\r";
  ASSERT_TRUE(text.Finish(ctx));
  EXPECT_EQ(test::ReadText(dir / "a_DATA.txt"), "DATA 1\r");
  EXPECT_EQ(report.Written, std::vector<std::string>{dir / "a_DATA.txt"});
  DataText missing;
  EXPECT_FALSE(missing.Open(true, dir / "no/such/folder/a_DATA.txt", ctx));
  EXPECT_FALSE(report.Reason.empty());
}

}  // namespace
}  // namespace granvel
