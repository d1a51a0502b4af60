#include "encode/text/mem.h"

#include <gtest/gtest.h>

#include "encode/text/escapes.h"
#include "support/container_view.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

using test::TempDir;

struct MemResult {
  ResourcePayload payload;
  std::string reason;
  std::vector<std::uint16_t> codes;  // the `count` codes
  std::uint32_t count = 0;
};

MemResult BuildFrom(const std::string& text, int escape = 0) {
  TempDir dir;
  test::WriteText(dir / "x_mem.txt", text);
  ConvertSettings settings;
  settings.PRG_ESCAPE = escape;
  test::FakeHost host;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  MemResult r;
  r.payload = BuildMemPayload(MakeConvertJob(dir / "x_mem.txt", false, settings), ctx);
  r.reason = report.Reason;
  if (r.payload.size() == 536) {
    r.count = test::ContainerView::U32(r.payload, 532);
    for (std::uint32_t i = 0; i < r.count && i < 256; ++i) {
      r.codes.push_back(static_cast<std::uint16_t>(r.payload[20 + 2 * i] | (r.payload[21 + 2 * i] << 8)));
    }
  }
  return r;
}

using Codes = std::vector<std::uint16_t>;

TEST(BuildMemPayload, HelloGivesFullWidthCodesAndZeroesTheRest) {
  const MemResult r = BuildFrom("MEM$ = \"HELLO\"\r\n");
  ASSERT_EQ(r.payload.size(), 536u) << r.reason;
  EXPECT_EQ(std::string(r.payload.begin(), r.payload.begin() + 20), "ZORIKAMUQAVN0200RMEM");
  EXPECT_EQ(r.count, 5u);
  EXPECT_EQ(r.codes, (Codes{0xFF28, 0xFF25, 0xFF2C, 0xFF2C, 0xFF2F}));
  for (std::size_t i = 30; i < 532; ++i)
    ASSERT_EQ(r.payload[i], 0) << i;
}

TEST(BuildMemPayload, FindsTheAssignmentAsTheHandheldWritesIt) {
  struct Row {
    std::string text;
    Codes codes;  // empty with ok=false: refused
    bool ok;
  };
  const Row rows[] = {
      {"MEM$  =  \t\"A\"\r\n", {0xFF21}, true},
      {"' a comment\r\nMEM$=\"A\"\r\n", {0xFF21}, true},
      {"mem$=\"A\"\r\n", {}, false},
      {"MEM$:=\"A\"\r\n", {}, false},
      {"MEM$=\"\"\r\n", {}, true},
      {"MEM$=\"A\"B\"\r\n", {0xFF21, 0x201D, 0xFF22}, true},
      {"MEM$=\"", {}, false},      // the opening quote is the last byte
      {"MEM$=\"AB", {}, false},    // no closing quote
      {"MMEM$=\"A\"", {}, false},  // the breaking M is not tried again
      {"XMEM$=\"A\"\r\n", {0xFF21}, true},
      {"", {}, false},
  };
  for (const Row& row : rows) {
    const MemResult r = BuildFrom(row.text);
    EXPECT_EQ(!r.payload.empty(), row.ok) << row.text;
    EXPECT_EQ(r.reason.empty(), row.ok) << row.text << ": " << r.reason;
    if (row.ok) {
      EXPECT_EQ(r.codes, row.codes) << row.text;
    }
  }
}

TEST(BuildMemPayload, EscapesAreDecodedOnlyWhenSwitchedOn) {
  EXPECT_EQ(BuildFrom("MEM$=\"\\41\\0D\\\\\"", 1).codes, (Codes{0xFF21, 0x000D, 0xFFE5}));
  EXPECT_EQ(BuildFrom("MEM$=\"\\41\"", 0).codes, (Codes{0xFFE5, 0xFF14, 0xFF11}));
}

TEST(BuildMemPayload, KeepsTheFirst256Characters) {
  std::string text(300, 'x');
  for (std::size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char>('0' + i % 10);
  const MemResult r = BuildFrom("MEM$=\"" + text + "\"\r\n");
  ASSERT_EQ(r.count, 256u);
  EXPECT_EQ(r.codes[255], 0xFEE0 + '5');  // byte 255 of the text is '5'
}

TEST(WideCodeOf, MapsEveryByteRange) {
  struct Row {
    std::uint8_t byte;
    std::uint16_t code;
  };
  for (const Row& row :
       {Row{0x00, 0x0000}, Row{0x0D, 0x000D}, Row{0x20, 0x0020}, Row{0x21, 0xFF01}, Row{'"', 0x201D},
        Row{'\'', 0x2019}, Row{'\\', 0xFFE5}, Row{0x7E, 0xFF5E}, Row{0x7F, 0xFF5F}, Row{0x80, 0x0080},
        Row{0xA0, 0x00A0}, Row{0xA1, 0x3002}, Row{0xA7, 0x30A1}, Row{0xB0, 0xFF70}, Row{0xB1, 0x30A2},
        Row{0xC8, 0x30CD}, Row{0xDD, 0x30F3}, Row{0xDE, 0x309B}, Row{0xDF, 0x309C}, Row{0xE0, 0x00E0},
        Row{0xFF, 0x00FF}}) {
    EXPECT_EQ(WideCodeOf(row.byte), row.code) << int(row.byte);
  }
}

TEST(DecodeEscapes, DecodesPairsAndDropsOtherBackslashes) {
  struct Row {
    std::string in, out;
  };
  const Row rows[] = {
      {"\\41", "A"},         {"\\0d", "\r"},     {"\\\\", "\\"}, {"\\\"", "\""},
      {"\\4G", "4G"},        {"end\\", "end"},   {"\\4", "4"},   {"\\5c41", "\\41"},
      {"a\\x\\41b", "axAb"}, {"\\\\41", "\\41"}, {"", ""},
  };
  ConvertSettings on;
  on.PRG_ESCAPE = 1;
  for (const Row& row : rows) {
    std::vector<std::uint8_t> text(row.in.begin(), row.in.end());
    EXPECT_EQ(DecodeEscapes(text, on), row.out.size()) << row.in;
    EXPECT_EQ(std::string(text.begin(), text.end()), row.out) << row.in;
  }
  ConvertSettings off;
  std::vector<std::uint8_t> untouched{'\\', '4', '1'};
  EXPECT_EQ(DecodeEscapes(untouched, off), 3u);
  EXPECT_EQ(untouched, (std::vector<std::uint8_t>{'\\', '4', '1'}));
}

TEST(WriteEscapedByte, EscapesControlHighAndBackslashBytesOnly) {
  struct Row {
    std::uint8_t byte;
    std::string text;
  };
  const Row rows[] = {{0x0A, "\\0A"}, {0x5C, "\\\\"}, {0x41, "A"},    {0xB1, "\xB1"}, {0x81, "\\81"},
                      {0x1F, "\\1F"}, {0x20, " "},    {0x7E, "~"},    {0x7F, "\\7F"}, {0x9F, "\\9F"},
                      {0xA0, "\xA0"}, {0xDF, "\xDF"}, {0xE0, "\\E0"}, {0xFF, "\\FF"}};
  ConvertSettings on;
  on.PRG_ESCAPE = 1;
  for (const Row& row : rows) {
    std::vector<std::uint8_t> out;
    WriteEscapedByte(out, row.byte);
    EXPECT_EQ(std::string(out.begin(), out.end()), row.text) << int(row.byte);
    // What it writes decodes back to the byte.
    EXPECT_EQ(DecodeEscapes(out, on), 1u);
    EXPECT_EQ(out[0], row.byte);
  }
}

TEST(HexPairValue, AcceptsBothCasesOnly) {
  EXPECT_EQ(HexPairValue('4', '1'), 0x41);
  EXPECT_EQ(HexPairValue('f', 'F'), 0xFF);
  EXPECT_FALSE(HexPairValue('g', '0').has_value());
  EXPECT_FALSE(HexPairValue('0', ' ').has_value());
}

TEST(ConvertMemText, WritesNamedFileWithItsResourceName) {
  TempDir dir;
  test::WriteText(dir / "Notes_mem.txt", "MEM$ = \"HELLO\"\r\n");
  ConvertSettings settings;
  test::FakeHost host;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  ASSERT_TRUE(ConvertMemText(MakeConvertJob(dir / "Notes_mem.txt", false, settings), ctx)) << report.Reason;
  const auto file = test::ReadBytes(dir / "Notes_mem_MEM.zkp");
  ASSERT_EQ(file.size(), 564u);
  const test::ContainerView view(file);
  EXPECT_EQ(view.Name(), "NOTES_ME");
  EXPECT_EQ(view.type, 1u);
  EXPECT_TRUE(view.DigestMatches());
  EXPECT_EQ(test::ContainerView::U32(file, 560), 5u);
  EXPECT_EQ(file[48], 0x28);
  EXPECT_EQ(file[49], 0xFF);
}

TEST(ConvertMemText, FallsBackToMemAndWritesNothingOnFailure) {
  TempDir dir;
  test::WriteText(dir / "~x_mem.txt", "MEM$=\"A\"\r\n");
  test::WriteText(dir / "bad_mem.txt", "nothing\r\n");
  ConvertSettings settings;
  test::FakeHost host;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  ASSERT_TRUE(ConvertMemText(MakeConvertJob(dir / "~x_mem.txt", false, settings), ctx));
  EXPECT_EQ(test::ContainerView(test::ReadBytes(dir / "~x_mem_MEM.zkp")).Name(), "MEM");
  EXPECT_FALSE(ConvertMemText(MakeConvertJob(dir / "bad_mem.txt", false, settings), ctx));
  EXPECT_FALSE(test::Exists(dir / "bad_mem_MEM.zkp"));
  EXPECT_FALSE(ConvertMemText(MakeConvertJob(dir / "missing_mem.txt", false, settings), ctx));
}

}  // namespace
}  // namespace granvel
