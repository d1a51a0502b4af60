// Decoded texts in UTF-8, and the palette file a plain file's images are drawn with.
#include <gtest/gtest.h>

#include "batch/dispatch.h"
#include "decode/text_form.h"
#include "format/container.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

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

// A plain bank drawn with a palette file: its colours first, every entry after them black, never more than
// 256; a palette file that cannot be read fails the file before anything is written.
TEST(DecodeZkpFile, DrawsWithThePaletteFileOrFailsWithoutIt) {
  test::TempDir dir;
  std::string many = "GIMP Palette\n";
  for (int k = 0; k < 300; ++k)
    many += std::to_string(8 * (k % 32)) + " 0 8\n";
  test::WriteText(dir / "two.gpl", "GIMP Palette\n248 0 8\n0 248 0\n");
  test::WriteText(dir / "many.gpl", many);
  const auto bank = BuildZkpContainer(NewPayload(kTagChr, kChrPayloadSize), ResourceType::Chr, "T");
  // palette file, entries 0, 1, 2 and 255 of the drawn image's colour table (blue, green, red, 0 each)
  const std::pair<const char*, std::vector<int>> rows[] = {
      {"two.gpl", {8, 0, 248, 0, 0, 248, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"many.gpl", {8, 0, 0, 0, 8, 0, 8, 0, 8, 0, 16, 0, 8, 0, 248, 0}},
      {"none.gpl", {}}};
  for (const auto& [file, expected] : rows) {
    test::TempDir out;  // the bank, and the folder it is decoded into
    test::WriteBytes(out / "T.zkp", bank);
    ConvertSettings settings;
    settings.Palette_File = dir / file;
    test::FakeHost host;
    ConvertReport report;
    EXPECT_EQ(ConvertFile(out / "T.zkp", settings, host, report), !expected.empty()) << file;
    EXPECT_EQ(report.Reason, expected.empty()
                                 ? "palette file: cannot open " + dir / file + ": No such file or directory"
                                 : "");
    EXPECT_EQ(report.Written.size(), expected.empty() ? 0u : 1u);  // the bank's picture, or nothing
    const std::vector<std::uint8_t> bmp = test::Exists(out / "ZKP_T/T_CHR.bmp")
                                              ? test::ReadBytes(out / "ZKP_T/T_CHR.bmp")
                                              : std::vector<std::uint8_t>{};
    std::vector<int> entries;
    for (const int entry : {0, 1, 2, 255}) {
      if (!bmp.empty())
        entries.insert(entries.end(), bmp.begin() + 54 + 4 * entry, bmp.begin() + 58 + 4 * entry);
    }
    EXPECT_EQ(entries, expected) << file;
  }
}

}  // namespace
}  // namespace granvel
