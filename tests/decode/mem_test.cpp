#include "decode/mem.h"

#include <gtest/gtest.h>

#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

using Bytes = std::vector<std::uint8_t>;

// MEM data (516 bytes) with `codes` and `count`.
Bytes MemData(const std::vector<std::uint16_t>& codes, std::uint32_t count) {
  Bytes data(516, 0);
  for (std::size_t i = 0; i < codes.size() && i < 256; ++i) {
    data[2 * i] = static_cast<std::uint8_t>(codes[i]);
    data[2 * i + 1] = static_cast<std::uint8_t>(codes[i] >> 8);
  }
  for (int i = 0; i < 4; ++i)
    data[512 + i] = static_cast<std::uint8_t>(count >> (8 * i));
  return data;
}

struct TextResult {
  bool ok;
  std::string text;
  std::string reason;
};

TextResult TextOf(const std::vector<std::uint16_t>& codes, std::uint32_t count, int escape = 0) {
  ConvertSettings settings;
  settings.PRG_ESCAPE = escape;
  Bytes text;
  TextResult r;
  r.ok = MemTextBytes(MemData(codes, count), settings, text, r.reason);
  r.text.assign(text.begin(), text.end());
  return r;
}

TEST(MemTextBytes, HelloIsFourteenBytes) {
  const TextResult r = TextOf({0xFF28, 0xFF25, 0xFF2C, 0xFF2C, 0xFF2F}, 5);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.text, "MEM$=\"HELLO\"\r\n");
  EXPECT_EQ(r.text.size(), 14u);
}

TEST(MemTextBytes, CountZeroGivesTheOpeningAndClosingOnly) {
  const TextResult r = TextOf({0xFF28}, 0);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.text, "MEM$=\"\"\r\n");
}

TEST(MemTextBytes, MapsEachCodeBackToItsByte) {
  struct Row {
    std::uint16_t code;
    int byte;  // -1: no byte
  };
  const Row rows[] = {
      {0xFF21, 'A'},  {0xFF5F, 0x7F}, {0xFF08, '('},  {0xFF3B, '['},  {0xFF3D, ']'},  {0xFF01, '!'},
      {0xFF03, '#'},  {0xFF06, '&'},  {0x3001, 0xA4}, {0x3002, 0xA1}, {0x30F2, 0xA6}, {0x30A1, 0xA7},
      {0x30C3, 0xAF}, {0xFF70, 0xB0}, {0x30A2, 0xB1}, {0x30BD, 0xBF}, {0x30BF, 0xC0}, {0x30DE, 0xCF},
      {0x30DF, 0xD0}, {0x309C, 0xDF}, {0xFFE5, '\\'}, {0x2019, '\''}, {0x201D, '"'},  {0x000D, 0x0D},
      {0x0000, 0x00}, {0x0020, ' '},  {0x0080, 0x80}, {0x00A0, 0xA0}, {0x00E0, 0xE0}, {0x00FF, 0xFF},
      {0xFFFF, 0xFF}, {0x0041, -1},   {0x0021, -1},   {0x007F, -1},   {0x00A1, -1},   {0x00DF, -1},
      {0xFF02, -1},   {0xFF07, -1},   {0xFF3C, -1},   {0x30FC, -1},   {0x0100, -1},   {0xFF60, -1},
  };
  for (const Row& row : rows) {
    const TextResult r = TextOf({row.code}, 1);
    EXPECT_EQ(r.ok, row.byte >= 0) << std::hex << row.code;
    const std::string expected =
        row.byte >= 0 ? std::string("MEM$=\"") + static_cast<char>(row.byte) + "\"\r\n" : "MEM$=\"\"\r\n";
    EXPECT_EQ(r.text, expected) << std::hex << row.code;
  }
}

TEST(MemTextBytes, ACodeWithoutByteIsDroppedAndTheRestKept) {
  const TextResult r = TextOf({0xFF21, 0x0041, 0xFF22}, 3);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.text, "MEM$=\"AB\"\r\n");
  EXPECT_NE(r.reason.find("U+0041"), std::string::npos) << r.reason;
}

TEST(MemTextBytes, EscapesOnlyWhenSwitchedOn) {
  EXPECT_EQ(TextOf({0xFFE5, 0x000D, 0xFF21}, 3, 1).text, "MEM$=\"\\\\\\0DA\"\r\n");
  EXPECT_EQ(TextOf({0xFFE5, 0x000D, 0xFF21}, 3, 0).text, "MEM$=\"\\\rA\"\r\n");
}

TEST(MemTextBytes, ACountAbove256KeepsThe256CodesThereAre) {
  std::vector<std::uint16_t> codes(256, 0xFF30);  // "P"
  const TextResult r = TextOf(codes, 300);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.text, "MEM$=\"" + std::string(256, 'P') + "\"\r\n");
  EXPECT_NE(r.reason.find("300"), std::string::npos) << r.reason;
  // Only the low 16 bits are the count: 0x10005 counts 5.
  EXPECT_EQ(TextOf(codes, 0x10005).text, "MEM$=\"PPPPP\"\r\n");
}

TEST(DecodeMem, WritesTheTextEvenWhenACharacterIsDropped) {
  test::TempDir dir;
  ConvertSettings settings;
  test::FakeHost host;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  EXPECT_TRUE(DecodeMem(MemData({0xFF28, 0xFF29}, 2), dir / "NOTES", ctx));
  EXPECT_EQ(test::ReadText(dir / "NOTES_MEM.txt"), "MEM$=\"HI\"\r\n");

  EXPECT_FALSE(DecodeMem(MemData({0x0041, 0xFF29}, 2), dir / "BAD", ctx));
  EXPECT_EQ(test::ReadText(dir / "BAD_MEM.txt"), "MEM$=\"I\"\r\n");
  EXPECT_FALSE(report.Reason.empty());

  EXPECT_FALSE(DecodeMem(Bytes(515), dir / "SHORT", ctx));
  EXPECT_FALSE(test::Exists(dir / "SHORT_MEM.txt"));
}

}  // namespace
}  // namespace granvel
