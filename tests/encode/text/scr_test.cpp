#include "encode/text/scr.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "support/container_view.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

using test::TempDir;

struct Read {
  bool ok = false;
  ScreenMap map{};
  std::string error;
  std::uint16_t At(int x, int y) const { return map[static_cast<std::size_t>(y) * 64 + x]; }
  // Cells other than 0, as "x,y=value".
  int NonZero() const {
    int count = 0;
    for (std::uint16_t cell : map)
      count += cell != 0;
    return count;
  }
};

Read ReadText(const std::string& text) {
  Read r;
  const auto bytes = test::Bytes(text);
  r.ok = ReadScreenText(bytes, r.map, r.error);
  EXPECT_EQ(r.ok, r.error.empty()) << r.error;
  return r;
}

// The screen text the SCR decoder writes for a map: four header lines, then one padded BGPUT line per cell.
std::string DecoderText(const std::vector<std::uint16_t>& cells) {
  std::string text =
      "' BG SCREEN DATA\r\n"
      "' BGPUT Layer, x, y, Number, Palette, horizonal_reverse, vertical_reverse\r\n"
      "' LAYER=0\r\n"
      "\r\n";
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      const unsigned cell = cells[static_cast<std::size_t>(y) * 64 + x];
      char line[64];
      std::snprintf(line, sizeof line, "BGPUT LAYER, %2d, %2d, %4u, %2u, %u, %u\r\n", x, y, cell & 0x3FF,
                    cell >> 12, (cell >> 10) & 1, (cell >> 11) & 1);
      text += line;
    }
  }
  return text;
}

// The payload of a map, cell by stored cell: stored cell i is the map cell at the place the decoder finds it.
ResourcePayload ExpectedPayload(const std::vector<std::uint16_t>& cells) {
  ResourcePayload payload(8212, 0);
  const std::string tag = "ZORIKAMUQAVN0100RSCR";
  std::copy(tag.begin(), tag.end(), payload.begin());
  for (int i = 0; i < 4096; ++i) {
    const int x = (i % 1024) % 32 + 32 * ((i / 1024) % 2);
    const int y = (i % 1024) / 32 + 32 * (i / 2048);
    const std::uint16_t cell = cells[static_cast<std::size_t>(y) * 64 + x];
    payload[20 + 2 * i] = static_cast<std::uint8_t>(cell & 0xFF);
    payload[21 + 2 * i] = static_cast<std::uint8_t>(cell >> 8);
  }
  return payload;
}

std::vector<std::uint16_t> RandomCells(unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<std::uint16_t> cells(4096);
  for (auto& cell : cells)
    cell = static_cast<std::uint16_t>(rng());
  return cells;
}

// --- the three statement forms ---

TEST(ReadScreenText, EveryFormGivesTheSameCell) {
  for (const char* line :
       {"BGPUT LAYER, 5, 12, 564, 1, 0, 0", "BGPUT LAYER, 5, 12, 4660", "BGPUT LAYER, 5, 12, &H1234",
        "BGPUT LAYER, 5, 12, &h1234", "BGPUT LAYER, 5, 12, \"1234\"", "bgput 3,5,12,\"1234\"",
        "BgPuT\tL,\t5 ,12 , 564 ,1 ,0 ,0"}) {
    const Read r = ReadText(std::string(line) + "\r\n");
    ASSERT_TRUE(r.ok) << line << ": " << r.error;
    EXPECT_EQ(r.At(5, 12), 0x1234) << line;
    EXPECT_EQ(r.NonZero(), 1) << line;
  }
}

TEST(ReadScreenText, CoordinatesWrapAndReverseBitsSet) {
  Read r = ReadText("bgput 0, 70, -1, 1, 0, 1, 1\r\n");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.At(6, 63), 0x0C01);
  r = ReadText("BGPUT L, &H3F, &h01, &H3FF, &HF, 1, 1\r\nBGPUT L, -65, 64, 1, 0, 0, 7\r\n");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.At(63, 1), 0xFFFF);
  EXPECT_EQ(r.At(63, 0), 0x0801);  // -65 is 63 modulo 64, 64 is 0; any non-zero reverse sets the bit
  r = ReadText("BGPUT L, 1, 2, 3, 4, -0, -5\r\n");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.At(1, 2), 0x4803);
}

TEST(ReadScreenText, NumbersWrapAt32Bits) {
  const Read r =
      ReadText("BGPUT L, 1, 1, 4294967297\r\nBGPUT L, 2, 1, &H100001234\r\nBGPUT L, 3, 1, 70000\r\n");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.At(1, 1), 1);
  EXPECT_EQ(r.At(2, 1), 0x1234);
  EXPECT_EQ(r.At(3, 1), 70000 & 0xFFFF);  // the four-argument form keeps the low 16 bits
}

TEST(ReadScreenText, LaterStatementsOverwrite) {
  const Read r = ReadText("BGPUT L,1,1,5\r\nBGPUT L,65,1,6\r\n");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.At(1, 1), 6);
}

// --- what a line may hold ---

TEST(ReadScreenText, AcceptsAndRefusesAsTheHandheldDoes) {
  struct Row {
    std::string text;
    std::string error;  // empty: accepted
  };
  const Row rows[] = {
      // Numbers out of range.
      {"BGPUT L, 0, 0, 1024, 0, 0, 0\r\n", "line 1, column 23: character number 1024 is above 1023"},
      {"BGPUT L, 0, 0, 1023, 16, 0, 0\r\n", "line 1, column 24: palette 16 is above 15"},
      {"BGPUT L, 0, 0, 1024\r\n", ""},
      // Blanks after the last argument, and comments.
      {"BGPUT L, 0, 0, 1, 2, 0, 1  \t \r\n", ""},
      {"BGPUT L, 0, 0, 1  \r\n", ""},
      {"BGPUT L, 0, 0, \"0001\"  \r\n", ""},
      {"BGPUT L, 0, 0, \"0001\" ' note\r\n", ""},
      {"BGPUT L, 0, 0, \"0001\"' note\r\n", ""},
      {"BGPUT L, 0, 0, 1, 2, 0, 1 ' note\r\n", ""},
      {"BGPUT L, 0, 0, 1, 2, 0, 1' note\r\n", "line 1, column 26: unexpected '''"},
      {"BGPUT L, 0, 0, 1 ' note\r\n", "line 1, column 18: unexpected '''"},
      {"BGPUT L, 0, 0, 1' note\r\n", "line 1, column 17: unexpected '''"},
      // Empty arguments, "&" without "H", quoted values of the wrong length.
      {"BGPUT L, 1, , 5\r\n", "line 1, column 13: an argument has no digits"},
      {"BGPUT L, 1, 2, 3, 4, 5,\r\n", "line 1, column 24: an argument has no digits"},
      {"BGPUT L, &1, 2, 5\r\n", "line 1, column 11: '&' must be followed by 'H'"},
      {"BGPUT L, 1, 2, &\r\n", "line 1, column 17: an argument has no digits"},
      {"BGPUT L, 1, 2, \"123\"\r\n", "line 1, column 20: a quoted value needs exactly 4 hexadecimal digits"},
      {"BGPUT L, 1, 2, \"12345\"\r\n",
       "line 1, column 22: a quoted value needs exactly 4 hexadecimal digits"},
      {"BGPUT L, 1, 2, \"12 34\"\r\n", "line 1, column 19: unexpected blank"},
      {"BGPUT L, 1, 2, \"1234\r\n", "line 1, column 21: unexpected line end"},
      {"BGPUT L, 1, 2, 5 6\r\n", "line 1, column 18: unexpected '6'"},
      {"BGPUT L, 1, 2, -5\r\n", "line 1, column 16: unexpected '-'"},
      {"BGPUT L, --1, 2, 5\r\n", "line 1, column 11: unexpected '-'"},
      {"BGPUT L, 1, 2, 3, 4, 5, 6 7\r\n", "line 1, column 28: digits after a complete statement"},
      {"BGPUT L, 1, 2, 3, 4, 5, 6, 7\r\n", "line 1, column 26: unexpected ','"},
      {"BGPUT L, 1, 2, 1A\r\n", "line 1, column 17: unexpected 'A'"},
      // Other statements and stray bytes.
      {"PRINT 1\r\n", "line 1, column 1: unexpected 'P'"},
      {"REM\r\n", "line 1, column 2: unexpected 'E'"},
      {"X\r\n", ""},
      {"  \t\r\n\r\n", ""},
      {"BG PUT L, 1, 2, 3\r\n", "line 1, column 3: unexpected blank"},
      {"BGPUT\r\n", "line 1, column 6: unexpected line end"},
      {"BGPUT LAYER\r\n", "line 1, column 12: unexpected line end"},
      {"BGPUT L, 1\r\n", "line 1, column 11: unexpected line end"},
      {"' BGPUT L, 1\r\n' \xFF\x81\x40\r\n", ""},
      {"\x81\x40\r\n", ""},
      {"BGPUT L, 1, 2, 3, 4, 5, 6\x01", ""},
      {"7\r\n", "line 1, column 1: unexpected '7'"},
      {"\x01\r\n,", "line 2, column 1: unexpected ','"},
  };
  for (const Row& row : rows) {
    const Read r = ReadText(row.text);
    EXPECT_EQ(r.error, row.error) << row.text;
  }
}

TEST(ReadScreenText, ErrorsNameTheLineAndColumn) {
  EXPECT_EQ(ReadText("' map\r\n\r\nBGPUT LAYER, 1, P, 1\r\n").error, "line 3, column 17: unexpected 'P'");
  EXPECT_EQ(ReadText("' map\n\nBGPUT LAYER, 1, P, 1\n").error, "line 3, column 17: unexpected 'P'");
  EXPECT_EQ(ReadText("' map\r\rBGPUT LAYER, 1, P, 1\r").error, "line 3, column 17: unexpected 'P'");
  EXPECT_EQ(ReadText("BGPUT L,1,1,1\r\nBGPUT L,1,1,\xE9 5\r\n\"").error, "line 3, column 1: unexpected '\"'");
}

TEST(ReadScreenText, EndOfFile) {
  // An empty text and one of comments only give a map of zero cells.
  for (const char* text : {"", "' one\r\n' two", "' no line end", "   "}) {
    const Read r = ReadText(text);
    EXPECT_TRUE(r.ok) << text;
    EXPECT_EQ(r.NonZero(), 0) << text;
  }
  // A statement on the last line needs no line end.
  struct Last {
    const char* text;
    std::uint16_t cell;
  };
  for (const Last& last : {Last{"BGPUT L, 2, 3, 9", 9}, Last{"BGPUT L, 2, 3, 1, 0, 0, 9", 0x0801},
                           Last{"BGPUT L, 2, 3, \"0009\"", 9}, Last{"BGPUT L, 2, 3, \"0009\" ' note", 9},
                           Last{"BGPUT L, 2, 3, 9 ", 9}}) {
    const Read r = ReadText(last.text);
    ASSERT_TRUE(r.ok) << last.text << ": " << r.error;
    EXPECT_EQ(r.At(2, 3), last.cell) << last.text;
  }
  // One that is not complete fails.
  struct Cut {
    const char* text;
    const char* error;
  };
  for (const Cut& cut : {Cut{"BGPUT L, 2, 3", "line 1: the file ends inside a statement"},
                         Cut{"BGPUT L, 2, 3, 9,", "line 1: the file ends inside a statement"},
                         Cut{"BGPUT L, 2, 3, \"0009", "line 1: the file ends inside a statement"},
                         Cut{"BGPUT L", "line 1: the file ends inside a statement"},
                         Cut{"BGPUT", "line 1: the file ends inside a statement"},
                         Cut{"BGPUT L,1,1,1,1,1,1 7", "line 1: digits after a complete statement"}}) {
    EXPECT_EQ(ReadText(cut.text).error, cut.error) << cut.text;
  }
  EXPECT_EQ(ReadText("BGPUT L, 2").error, "line 1: the file ends inside a statement");
  EXPECT_EQ(ReadText("\r\nBGPUT L, 2, 3, 4,").error, "line 2: the file ends inside a statement");
}

TEST(ReadScreenText, LineFeedsEndLinesLikeCarriageReturns) {
  // Statements on lines ended by LF alone, and a comment ended by one.
  Read r =
      ReadText("' header\nBGPUT L, 1, 1, 5\nBGPUT L, 2, 1, 6, 0, 0, 0\n' note\nBGPUT L, 3, 1, \"0007\"\n");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.At(1, 1), 5);
  EXPECT_EQ(r.At(2, 1), 6);
  EXPECT_EQ(r.At(3, 1), 7);
  // CR LF and CR alone read the same.
  for (const char* end : {"\r\n", "\r", "\n"}) {
    const std::string e = end;
    r = ReadText("' x" + e + "BGPUT L, 1, 1, 5" + e + e + "BGPUT L, 2, 1, 6, 0, 0, 0" + e);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.At(1, 1), 5);
    EXPECT_EQ(r.At(2, 1), 6);
  }
  // A line feed inside a statement is a line end there too.
  EXPECT_EQ(ReadText("BGPUT L, 1,\n2, 3\n").error, "line 1, column 12: unexpected line end");
  EXPECT_EQ(ReadText("BGPUT LAYER\n, 1, 2, 3\n").error, "line 1, column 12: unexpected line end");
}

TEST(ReadScreenText, RandomTextsNeverReadAstray) {
  std::mt19937 rng(6);
  const std::vector<std::string> pieces = {"BGPUT", "bgput", " ",    "\t", ",",    "-",         "&H", "&",
                                           "\"",    "'",     "\r\n", "\n", "\r",   "1",         "9",  "F",
                                           "b",     "h",     "L",    "P",  "\xFF", "4294967295"};
  int accepted = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int count = static_cast<int>(rng() % 30);
    for (int k = 0; k < count; ++k)
      text += pieces[rng() % pieces.size()];
    ScreenMap map{};
    std::string error;
    const bool ok = ReadScreenText(test::Bytes(text), map, error);
    ASSERT_EQ(ok, error.empty()) << text;
    if (!ok) {
      ASSERT_EQ(error.rfind("line ", 0), 0u) << error;
    }
    accepted += ok;
  }
  EXPECT_GT(accepted, 100);
}

// --- payload and raw files ---

TEST(ScrPayloadFromText, DecoderTextComesBackToTheSamePayload) {
  for (unsigned seed : {1u, 2u, 3u}) {
    const auto cells = RandomCells(seed);
    const std::string text = DecoderText(cells);
    ASSERT_EQ(text.size(), 151658u);
    std::string error;
    const ResourcePayload payload = ScrPayloadFromText(test::Bytes(text), error);
    ASSERT_EQ(payload.size(), 8212u) << error;
    EXPECT_EQ(payload, ExpectedPayload(cells)) << "seed " << seed;
  }
}

TEST(ScrPayloadFromMap, CellsStandInQuarterOrder) {
  ScreenMap map{};
  map[0 * 64 + 32] = 0x1111;   // (32, 0): the 1025th cell
  map[32 * 64 + 0] = 0x2222;   // (0, 32): the 2049th
  map[31 * 64 + 31] = 0x3333;  // (31, 31): the last of the first quarter
  map[1 * 64 + 0] = 0x4444;    // (0, 1): the 33rd
  map[63 * 64 + 63] = 0x5555;  // (63, 63): the last
  const ResourcePayload payload = ScrPayloadFromMap(map);
  ASSERT_EQ(payload.size(), 8212u);
  EXPECT_EQ(std::string(payload.begin(), payload.begin() + 20), "ZORIKAMUQAVN0100RSCR");
  auto cell = [&payload](int index) { return payload[20 + 2 * index] | (payload[21 + 2 * index] << 8); };
  EXPECT_EQ(cell(1024), 0x1111);
  EXPECT_EQ(cell(2048), 0x2222);
  EXPECT_EQ(cell(1023), 0x3333);
  EXPECT_EQ(cell(32), 0x4444);
  EXPECT_EQ(cell(4095), 0x5555);
  int nonZero = 0;
  for (int i = 0; i < 4096; ++i)
    nonZero += cell(i) != 0;
  EXPECT_EQ(nonZero, 5);
}

TEST(ReadRawScreen, HighByteFirstAndShortFilesFilledWithZero) {
  ScreenMap map = ReadRawScreen(std::vector<std::uint8_t>{0x12, 0x34, 0x56});
  EXPECT_EQ(map[0], 0x1234);
  EXPECT_EQ(map[1], 0x5600);  // the missing low byte is 0
  for (std::size_t i = 2; i < map.size(); ++i)
    ASSERT_EQ(map[i], 0) << i;
  EXPECT_EQ(ReadRawScreen({}), ScreenMap{});

  std::vector<std::uint8_t> file(8192 + 10, 0xEE);
  file[8190] = 0xAB;
  file[8191] = 0xCD;
  map = ReadRawScreen(file);
  EXPECT_EQ(map[4095], 0xABCD);
  EXPECT_EQ(map[0], 0xEEEE);
}

// --- the converter ---

struct Converted {
  bool ok = false;
  std::string reason;
};

Converted Convert(const ConvertJob& job) {
  ConvertSettings settings;
  test::FakeHost host;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  return {ConvertScrText(job, ctx), report.Reason};
}

ConvertJob JobFor(const std::string& path) {
  return MakeConvertJob(path, false, ConvertSettings{});
}

TEST(ConvertScrText, ScreenTextBecomesAnScrFile) {
  TempDir dir;
  const auto cells = RandomCells(7);
  test::WriteText(dir / "Map_scr.txt", DecoderText(cells));
  const Converted c = Convert(JobFor(dir / "Map_scr.txt"));
  ASSERT_TRUE(c.ok) << c.reason;
  const auto file = test::ReadBytes(dir / "Map_scr_SCR.zkp");
  ASSERT_EQ(file.size(), 36u + 8204u);
  const test::ContainerView view(file);
  EXPECT_EQ(view.type, 4u);
  EXPECT_EQ(view.storedSize, 8204u);
  EXPECT_EQ(view.Name(), "MAP_SCR");
  EXPECT_TRUE(view.DigestMatches());
  EXPECT_EQ(view.Payload(), ExpectedPayload(cells));
}

TEST(ConvertScrText, RawFileBecomesTheSamePayload) {
  TempDir dir;
  const auto cells = RandomCells(8);
  std::vector<std::uint8_t> raw;
  for (std::uint16_t cell : cells) {
    raw.push_back(static_cast<std::uint8_t>(cell >> 8));
    raw.push_back(static_cast<std::uint8_t>(cell & 0xFF));
  }
  test::WriteBytes(dir / "Map.rscr", raw);
  ASSERT_TRUE(Convert(JobFor(dir / "Map.rscr")).ok);
  EXPECT_EQ(test::ContainerView(test::ReadBytes(dir / "Map_SCR.zkp")).Payload(), ExpectedPayload(cells));

  // A short raw file is no error: the missing cells are 0.
  test::WriteBytes(dir / "Short.rscr", {0xF0, 0x01});
  ASSERT_TRUE(Convert(JobFor(dir / "Short.rscr")).ok);
  std::vector<std::uint16_t> first(4096, 0);
  first[0] = 0xF001;
  EXPECT_EQ(test::ContainerView(test::ReadBytes(dir / "Short_SCR.zkp")).Payload(), ExpectedPayload(first));
}

TEST(BuildScrPayload, TheExtensionChoosesTheReader) {
  TempDir dir;
  test::WriteText(dir / "m_scr.txt", "BGPUT L, 0, 0, 1\r\n");
  ConvertSettings settings;
  test::FakeHost host;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  ConvertJob job = JobFor(dir / "m_scr.txt");
  ResourcePayload payload = BuildScrPayload(job, ctx);
  ASSERT_EQ(payload.size(), 8212u);
  EXPECT_EQ(payload[20], 1);
  EXPECT_EQ(payload[21], 0);
  // The same file with no extension in its job is a raw file: "BG" is the first cell, high byte first.
  job.Ext.clear();
  payload = BuildScrPayload(job, ctx);
  ASSERT_EQ(payload.size(), 8212u);
  EXPECT_EQ(payload[20], 'G');
  EXPECT_EQ(payload[21], 'B');
}

TEST(ConvertScrText, RefusedInputsWriteNothing) {
  TempDir dir;
  test::WriteText(dir / "bad_scr.txt", "' map\r\n\r\nBGPUT LAYER, 1, P, 1\r\n");
  Converted c = Convert(JobFor(dir / "bad_scr.txt"));
  EXPECT_FALSE(c.ok);
  EXPECT_EQ(c.reason, "line 3, column 17: unexpected 'P'");
  c = Convert(JobFor(dir / "gone_scr.txt"));
  EXPECT_FALSE(c.ok);
  EXPECT_NE(c.reason.find("gone_scr.txt"), std::string::npos) << c.reason;
  c = Convert(JobFor(dir / "gone.rscr"));
  EXPECT_FALSE(c.ok);
  EXPECT_EQ(dir.List(), std::vector<std::string>{"bad_scr.txt"});
}

}  // namespace
}  // namespace granvel
