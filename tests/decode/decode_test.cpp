// The slot labels of a package mask, which only the info command prints (the decoded files are named by the
// cases).
#include <gtest/gtest.h>

#include "decode/mask_names.h"
#include "decode/text_form.h"

namespace granvel {
namespace {

TEST(FindMaskBitName, LabelsBothScreensAndLeavesHighBitsUnnamed) {
  const std::pair<int, std::string_view> rows[] = {{8, "BGU0"},
                                                   {27, "BGU0 (Down screen)"},
                                                   {31, "BGF0 (Down screen)"},
                                                   {36, "SCU1 (Down screen)"},
                                                   {22, "MEM"},
                                                   {41, "SPS0"},
                                                   {44, "BGD1"}};
  for (const auto& [bit, label] : rows)
    EXPECT_EQ(FindMaskBitName(bit)->Label, label);
  EXPECT_EQ(FindMaskBitName(45), nullptr);
  EXPECT_EQ(FindMaskBitName(-1), nullptr);
  int expected = 0;
  for (const MaskBitName& name : MaskBitNames())
    EXPECT_EQ(name.Bit, expected++);
  EXPECT_EQ(expected, 45);
}

// A decoded text's UTF-8 form: line ends as LF where they are line ends, each character as itself, and no
// form at all where a byte would not read back the same.
TEST(Utf8FormOf, TurnsLineEndsAndCharactersOrSaysWhatStandsInTheWay) {
  // clang-format off
  const struct { std::string text; LineEnds ends; std::string utf8; std::string reason; } rows[] = {
      {"A\rB\r", LineEnds::Program, "A\nB\n", ""},
      {"A\r\nB", LineEnds::Program, "A\nB", ""},
      {"A\nB\r", LineEnds::Program, "", "byte 0x0A at offset 1 is a line feed inside a line"},
      {"X\r\nY\rZ\r\n", LineEnds::Screen, "X\nY\rZ\n", ""},
      {"\"A\r\nB\"\r\n", LineEnds::LastOnly, "\"A\r\nB\"\n", ""},
      {"\xB1\xDF~\\", LineEnds::Program, "\xEF\xBD\xB1\xEF\xBE\x9F~\\", ""},  // ｱﾟ, tilde, backslash
      {"\x82\xA0\x81\x40", LineEnds::Program, "\xE3\x81\x82\xE3\x80\x80", ""},   // あ, the wide space
      {"A\x80", LineEnds::Program, "", "byte 0x80 at offset 1 stands for no character"},
      {"\xF0\x40", LineEnds::Program, "", "bytes 0xF040 at offset 0 stand for no character"},  // user-defined
      {"\xFD", LineEnds::Screen, "", "byte 0xFD at offset 0 stands for no character"},
      {"AB\x81", LineEnds::Program, "", "byte 0x81 at offset 2 stands for no character"},  // a lead byte alone
  };
  // clang-format on
  for (const auto& row : rows) {
    std::vector<std::uint8_t> utf8;
    std::string reason;
    const bool ok =
        Utf8FormOf(std::vector<std::uint8_t>(row.text.begin(), row.text.end()), row.ends, utf8, reason);
    EXPECT_EQ(ok, row.reason.empty()) << row.text;
    EXPECT_EQ(ok ? std::string(utf8.begin(), utf8.end()) : reason, ok ? row.utf8 : row.reason) << row.text;
  }
}

}  // namespace
}  // namespace granvel
