#include "decode/prg.h"

#include <gtest/gtest.h>

#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes TextOf(const Bytes& program, int multiByte, int escape) {
  ConvertSettings settings;
  settings.PRG_MultiByte = multiByte;
  settings.PRG_ESCAPE = escape;
  return ProgramText(program, settings);
}

Bytes FullWidth(std::uint8_t byte) {
  Bytes out;
  AppendFullWidth(out, byte);
  return out;
}

TEST(ProgramText, FullWidthPrintIsSixteenBytes) {
  const Bytes text = TextOf({'P', 'R', 'I', 'N', 'T', ' ', '1', '\r'}, 1, 0);
  EXPECT_EQ(text, (Bytes{0x82, 0x6F, 0x82, 0x71, 0x82, 0x68, 0x82, 0x6D, 0x82, 0x73, 0x81, 0x40, 0x82, 0x50,
                         0x0D, 0x0A}));
}

TEST(ProgramText, FullWidthIgnoresTheEscapeSetting) {
  EXPECT_EQ(TextOf({'\r', '\\'}, 1, 1), (Bytes{0x0D, 0x0A, 0x81, 0x8F}));
}

TEST(AppendFullWidth, FollowsTheTable) {
  struct Row {
    std::uint8_t byte;
    Bytes text;
  };
  const Row rows[] = {
      {0x00, {0x81, 0x40}}, {0x09, {0x09}},       {0x0A, {0x81, 0x9A}}, {0x0D, {0x0D, 0x0A}},
      {0x1A, {0x81, 0x9D}}, {0x1C, {0x81, 0xA8}}, {0x1F, {0x81, 0xAB}}, {0x21, {0x81, 0x49}},
      {0x22, {0x81, 0x68}}, {0x2F, {0x81, 0x5E}}, {0x30, {0x82, 0x4F}}, {0x39, {0x82, 0x58}},
      {0x3A, {0x81, 0x46}}, {0x40, {0x81, 0x97}}, {0x41, {0x82, 0x60}}, {0x5A, {0x82, 0x79}},
      {0x5B, {0x81, 0x6D}}, {0x5C, {0x81, 0x8F}}, {0x60, {0x81, 0x4D}}, {0x61, {0x82, 0x81}},
      {0x7A, {0x82, 0x9A}}, {0x7B, {0x81, 0x6F}}, {0x7D, {0x81, 0x70}}, {0x7E, {0x7E}},
      {0x7F, {0x81, 0x5F}}, {0x80, {0x81, 0x9E}}, {0x90, {0x84, 0xB3}}, {0x97, {0x81, 0xA1}},
      {0x9B, {0x84, 0xAE}}, {0xA0, {0x81, 0x60}}, {0xA1, {0x81, 0x42}}, {0xA6, {0x83, 0x92}},
      {0xA7, {0x83, 0x40}}, {0xAF, {0x83, 0x62}}, {0xB0, {0x81, 0x5B}}, {0xB1, {0x83, 0x41}},
      {0xB6, {0x83, 0x4A}}, {0xC0, {0x83, 0x5E}}, {0xC2, {0x83, 0x63}}, {0xCA, {0x83, 0x6E}},
      {0xCF, {0x83, 0x7D}}, {0xD4, {0x83, 0x84}}, {0xD7, {0x83, 0x89}}, {0xDC, {0x83, 0x8F}},
      {0xDD, {0x83, 0x93}}, {0xDE, {0x81, 0x4A}}, {0xDF, {0x81, 0x4B}}, {0xE0, {0x81, 0xA1}},
      {0xE7, {0x81, 0xA4}}, {0xF8, {0x81, 0x50}}, {0xFB, {0x81, 0x51}}, {0xFF, {0x81, 0xA6}},
  };
  for (const Row& row : rows)
    EXPECT_EQ(FullWidth(row.byte), row.text) << std::hex << int(row.byte);
}

TEST(AppendFullWidth, SixtyBytesWithoutACharacterBecomeTheMiddleDot) {
  std::vector<int> dotted;
  for (int b = 0; b < 256; ++b) {
    if (FullWidth(static_cast<std::uint8_t>(b)) == Bytes{0x81, 0x45} && b != 0xA5)
      dotted.push_back(b);
  }
  std::vector<int> expected;
  auto add = [&](int from, int to) {
    for (int b = from; b <= to; ++b)
      expected.push_back(b);
  };
  add(0x01, 0x08), add(0x0B, 0x0C), add(0x0E, 0x19), add(0x1B, 0x1B), add(0x81, 0x8F), add(0x9C, 0x9F);
  add(0xE8, 0xF7), add(0xF9, 0xFA);
  EXPECT_EQ(dotted, expected);
  EXPECT_EQ(expected.size(), 60u);
}

TEST(ProgramText, PlainBytesStayAsTheyAre) {
  Bytes program(100);
  for (std::size_t i = 0; i < program.size(); ++i)
    program[i] = static_cast<std::uint8_t>(i * 37 + 11);
  EXPECT_EQ(TextOf(program, 0, 0), program);
}

TEST(ProgramText, EscapesModeWritesControlAndHighBytesAsHex) {
  const Bytes text = TextOf({'A', '\r', 0xB1, '\\', 0xE0, 0x7F}, 0, 1);
  EXPECT_EQ(std::string(text.begin(), text.end()), "A\\0D\xB1\\\\\\E0\\7F");
}

TEST(DecodePrg, WritesTheProgramText) {
  test::TempDir dir;
  ConvertSettings settings;
  test::FakeHost host;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  ASSERT_TRUE(DecodePrg(Bytes{}, dir / "EMPTY", ctx));
  EXPECT_TRUE(test::ReadBytes(dir / "EMPTY_PRG.txt").empty());
  ASSERT_TRUE(DecodePrg(Bytes{'1', '0', '\r'}, dir / "GAME", ctx));
  EXPECT_EQ(test::ReadText(dir / "GAME_PRG.txt"), "10\r");
  EXPECT_FALSE(DecodePrg(Bytes{'1'}, dir / "missing/GAME", ctx));
}

}  // namespace
}  // namespace granvel
