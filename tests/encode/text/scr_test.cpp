// Screen texts: the statement forms, what a line may hold, and where a cell is stored.
#include "encode/text/scr.h"

#include <gtest/gtest.h>

namespace granvel {
namespace {

// Reads `text`; the map, or the refusal as "error: <reason>".
std::string Read(const std::string& text, ScreenMap& map) {
  map = {};
  std::string error;
  const bool ok = ReadScreenText(std::vector<std::uint8_t>(text.begin(), text.end()), map, error);
  EXPECT_EQ(ok, error.empty()) << text;
  return error;
}

TEST(ReadScreenText, FormsWrapsAndReverseBitsPutTheCell) {
  struct Row {
    std::string text;
    int x, y;
    std::uint16_t cell;
  };
  const Row rows[] = {
      {"BGPUT LAYER, 5, 12, 564, 1, 0, 0", 5, 12, 0x1234},
      {"BGPUT LAYER, 5, 12, 4660", 5, 12, 0x1234},
      {"BGPUT LAYER, 5, 12, &h1234", 5, 12, 0x1234},
      {"bgput 3,5,12,\"1234\"", 5, 12, 0x1234},
      {"BgPuT\tL,\t5 ,12 , 564 ,1 ,0 ,0", 5, 12, 0x1234},
      {"bgput 0, 70, -1, 1, 0, 1, 1", 6, 63, 0x0C01},
      {"BGPUT L, &H3F, &h01, &H3FF, &HF, 1, 1", 63, 1, 0xFFFF},
      {"BGPUT L, -65, 64, 1, 0, 0, 7", 63, 0, 0x0801},
      {"BGPUT L, 1, 2, 3, 4, -0, -5", 1, 2, 0x4803},
      {"BGPUT L, 1, 1, 4294967297", 1, 1, 1},
      {"BGPUT L, 2, 1, &H100001234", 2, 1, 0x1234},
      {"BGPUT L, 3, 1, 70000", 3, 1, 70000 & 0xFFFF},
      {"BGPUT L,1,1,5\r\nBGPUT L,65,1,6", 1, 1, 6},
      {"' x\nBGPUT L, 1, 1, 5\n\n' y\n", 1, 1, 5},
      {"BGPUT L, 2, 3, 1, 0, 0, 9", 2, 3, 0x0801},
      {"BGPUT L, 2, 3, \"0009\" ' note", 2, 3, 9},
      {"BGPUT L, 2, 3, 9 ", 2, 3, 9},
      {"' x\rBGPUT L, 2, 3, 9\r", 2, 3, 9},
  };
  for (const Row& row : rows) {
    ScreenMap map;
    ASSERT_EQ(Read(row.text, map), "") << row.text;
    EXPECT_EQ(map[row.y * 64 + row.x], row.cell) << row.text;
    EXPECT_EQ(std::count(map.begin(), map.end(), 0), 4095) << row.text;
  }
}

TEST(ReadScreenText, AcceptsAndRefusesAsTheHandheldDoes) {
  const std::pair<std::string, std::string> rows[] = {
      {"BGPUT L, 0, 0, 1024, 0, 0, 0\r\n", "line 1, column 23: character number 1024 is above 1023"},
      {"BGPUT L, 0, 0, 1023, 16, 0, 0\r\n", "line 1, column 24: palette 16 is above 15"},
      {"BGPUT L, 0, 0, 1024\r\n", ""},
      {"BGPUT L, 0, 0, 1, 2, 0, 1  \t \r\n", ""},
      {"BGPUT L, 0, 0, \"0001\"' note\r\n", ""},
      {"BGPUT L, 0, 0, 1, 2, 0, 1 ' note\r\n", ""},
      {"BGPUT L, 0, 0, 1, 2, 0, 1' note\r\n", "line 1, column 26: unexpected '''"},
      {"BGPUT L, 0, 0, 1 ' note\r\n", "line 1, column 18: unexpected '''"},
      {"BGPUT L, 1, , 5\r\n", "line 1, column 13: an argument has no digits"},
      {"BGPUT L, 1, 2, 3, 4, 5,\r\n", "line 1, column 24: an argument has no digits"},
      {"BGPUT L, &1, 2, 5\r\n", "line 1, column 11: '&' must be followed by 'H'"},
      {"BGPUT L, &1H2, 2, 5\r\n", "line 1, column 11: '&' must be followed by 'H'"},
      {"BGPUT L, 1&H2, 2, 5\r\n", "line 1, column 11: unexpected '&'"},
      {"BGPUT L, &H&H1, 2, 5\r\n", "line 1, column 12: unexpected '&'"},
      {"BGPUT L, &HH1, 2, 5\r\n", "line 1, column 12: unexpected 'H'"},
      {"BGPUT L, 1, 2, &\r\n", "line 1, column 17: an argument has no digits"},
      {"BGPUT L, 1, 2, \"123\"\r\n", "line 1, column 20: a quoted value needs exactly 4 hexadecimal digits"},
      {"BGPUT L, 1, 2, \"12 34\"\r\n", "line 1, column 19: unexpected blank"},
      {"BGPUT L, 1, 2, \"1234\r\n", "line 1, column 21: unexpected line end"},
      {"BGPUT L, 1, 2, 5 6\r\n", "line 1, column 18: unexpected '6'"},
      {"BGPUT L, 1, 2, -5\r\n", "line 1, column 16: unexpected '-'"},
      {"BGPUT L, --1, 2, 5\r\n", "line 1, column 11: unexpected '-'"},
      {"BGPUT L, 1, 2, 3, 4, 5, 6 7\r\n", "line 1, column 28: digits after a complete statement"},
      {"BGPUT L, 1, 2, 3, 4, 5, 6, 7\r\n", "line 1, column 26: unexpected ','"},
      {"BGPUT L, 1, 2, 1A\r\n", "line 1, column 17: unexpected 'A'"},
      {"PRINT 1\r\n", "line 1, column 1: unexpected 'P'"},
      {"REM\r\n", "line 1, column 2: unexpected 'E'"},
      {"X\r\n  \t\r\n\r\n' BGPUT L, 1\r\n' \xFF\x81\x40\r\n\x81\x40\r\n", ""},
      {"BG PUT L, 1, 2, 3\r\n", "line 1, column 3: unexpected blank"},
      {"BGPUT LAYER\r\n", "line 1, column 12: unexpected line end"},
      {"BGPUT L, 1,\n2, 3\n", "line 1, column 12: unexpected line end"},
      {"BGPUT L, 1, 2, 3, 4, 5, 6\x01", ""},
      {"7\r\n", "line 1, column 1: unexpected '7'"},
      {"' map\r\rBGPUT LAYER, 1, P, 1\r", "line 3, column 17: unexpected 'P'"},
      {"BGPUT L,1,1,1\r\nBGPUT L,1,1,\xE9 5\r\n\"", "line 3, column 1: unexpected '\"'"},
      {"BGPUT L, 2, 3, 9,", "line 1: the file ends inside a statement"},
      {"BGPUT L, 2, 3, \"0009", "line 1: the file ends inside a statement"},
      {"\r\nBGPUT", "line 2: the file ends inside a statement"},
      {"BGPUT L,1,1,1,1,1,1 7", "line 1: digits after a complete statement"},
  };
  for (const auto& [text, error] : rows) {
    ScreenMap map;
    EXPECT_EQ(Read(text, map), error) << text;
  }
}

}  // namespace
}  // namespace granvel
