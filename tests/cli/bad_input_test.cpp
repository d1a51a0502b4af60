// Malformed inputs of every kind, end to end through granvel-cli convert: each one fails with status 1 and a
// reason on its own line of standard error, writes nothing outside the output folder, and trips no sanitizer.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "support/bmp_writer.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "support/write_faults.h"
#include "support/zkp_builder.h"

namespace granvel {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

void Set32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Set16(Bytes& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
Bytes Cut(Bytes b, std::size_t size) {
  b.resize(size);
  return b;
}
Bytes Text(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

// A valid 16x16 8-bit image with a 256-colour grey table: file header 14, info header 40, table 1024, pixels
// 256 from offset 1078.
Bytes Bmp8() {
  test::BmpLayout layout = test::Layout(16, 16, 8, test::GreyPalette(256));
  layout.pixels = test::PixelsOf(16, 16, [](int x, int y) { return (x + y) % 16; });
  return test::MakeBmp(layout);
}
// The same with one field changed.
Bytes Bmp8With(std::size_t at, std::uint32_t value) {
  Bytes b = Bmp8();
  Set32(b, at, value);
  return b;
}
// A valid 16x16 1-bit image: table of 2 entries, pixels (16 rows of 4 bytes) from offset 62.
Bytes Bmp1() {
  return test::MakeBmp(test::Layout(16, 16, 1, test::GreyPalette(2)));
}

// A valid CHR container: header 36, tag bytes "QAVN0100" 36-43, "R" 44, letters 45-47, data 48-8239.
Bytes ChrZkp(std::string_view name = "PIC") {
  return test::ZkpFile(3, name, test::Stored("QAVN0100RCHR", Bytes(8192, 0x21)));
}
// A valid program container: the tag to 47, mask words 48-55, length 56-59, "PRINT 1" 60-66, padding 67.
Bytes PrgZkp() {
  return test::ZkpFile(0, "GAME", test::StoredPrg(0, 0, Text("PRINT 1")));
}

// A MEM container: 256 codes, then the count.
Bytes MemZkp(std::uint32_t count) {
  Bytes data(516, 0);
  Set32(data, 512, count);
  return test::ZkpFile(1, "NOTE", test::Stored("QAVN0200RMEM", data));
}

struct BadInput {
  const char* name;      // the test's name
  const char* fileName;  // the input's name in the input folder
  // The input's bytes; not used for the folder and the unreadable kinds.
  std::function<Bytes()> bytes;
  std::vector<std::string> options{};  // before the path, e.g. {"--type", "grp"}
  enum Kind { File, Folder, Unreadable } kind = File;
};

// Test names and failure messages show the row by its name.
void PrintTo(const BadInput& row, std::ostream* os) {
  *os << row.name;
}

std::vector<BadInput> Inputs() {
  using std::string_literals::operator""s;
  return {
      // BMP: cut at every structural boundary.
      {"BmpEmpty", "pic.bmp", [] { return Bytes{}; }},
      {"BmpMagicOnly", "pic.bmp", [] { return Cut(Bmp8(), 2); }},
      {"BmpFileHeaderOnly", "pic.bmp", [] { return Cut(Bmp8(), 14); }},
      {"BmpInfoSizeOnly", "pic.bmp", [] { return Cut(Bmp8(), 18); }},
      {"BmpHeadersWithoutTable", "pic.bmp", [] { return Cut(Bmp8(), 54); }},
      {"BmpTableCutShort", "pic.bmp", [] { return Cut(Bmp8(), 54 + 512); }},
      {"BmpNoPixels", "pic.bmp", [] { return Cut(Bmp8(), 1078); }},
      {"BmpPixelsCutShort", "pic.bmp", [] { return Cut(Bmp8(), 1078 + 100); }},
      {"BmpLastByteMissing", "pic.bmp", [] { return Cut(Bmp8(), 1078 + 255); }},
      // BMP: wrong magic and impossible header fields.
      {"BmpWrongMagic", "pic.bmp",
       [] {
         Bytes b = Bmp8();
         b[0] = 'X';
         return b;
       }},
      {"BmpAbsurdDimensions",
       "pic.bmp",
       [] {
         Bytes b = Bmp8With(18, 0x7FFFFFFF);
         Set32(b, 22, 0x7FFFFFFF);
         return b;
       },
       {"--set", "AutoTrim=0"}},
      {"BmpZeroWidth", "pic.bmp", [] { return Bmp8With(18, 0); }},
      {"BmpZeroHeight", "pic.bmp", [] { return Bmp8With(22, 0); }},
      {"BmpNegativeWidth", "pic.bmp", [] { return Bmp8With(18, 0xFFFFFFF0); }},
      {"BmpMostNegativeHeight", "pic.bmp", [] { return Bmp8With(22, 0x80000000); }},
      {"BmpTallerThanItsData", "pic.bmp", [] { return Bmp8With(22, 4096); }, {"--type", "grp"}},
      {"Bmp24Bits", "pic.bmp",
       [] {
         Bytes b = Bmp8();
         Set16(b, 28, 24);
         return b;
       }},
      {"BmpZeroBits", "pic.bmp",
       [] {
         Bytes b = Bmp8();
         Set16(b, 28, 0);
         return b;
       }},
      {"BmpBitfieldsCompression", "pic.bmp", [] { return Bmp8With(30, 3); }},
      {"BmpHugeColourCount", "pic.bmp",
       [] {
         Bytes b = Bmp1();
         Set32(b, 46, 0xFFFFFFFF);
         return b;
       }},
      {"BmpDataOffsetPastTheEnd", "pic.bmp", [] { return Bmp8With(10, 0xFFFFFF00); }},
      {"BmpInfoHeaderSizeZero", "pic.bmp", [] { return Bmp8With(14, 0); }},
      {"BmpInfoHeaderSizeHuge", "pic.bmp", [] { return Bmp8With(14, 0xFFFFFFF0); }},
      {"BmpRleOfAbsurdSize",
       "pic.bmp",
       [] {
         Bytes b = Bmp8With(30, 1);
         Set32(b, 18, 60000);
         Set32(b, 22, 60000);
         return b;
       },
       {"--set", "AutoTrim=0"}},
      {"BmpTopDownRle", "pic.bmp",
       [] {
         Bytes b = Bmp8With(30, 1);
         Set32(b, 22, static_cast<std::uint32_t>(-16));
         return b;
       }},
      {"BmpNotAMultipleOfTheUnit", "pic.bmp",
       [] { return test::MakeBmp(test::Layout(12, 12, 8, test::GreyPalette(256))); }},
      {"BmpSpriteSheetNotAMultipleOfTheSprite", "pic.bmp", [] { return Bmp8(); }, {"--type", "32x32"}},

      // .zkp: cut at every structural boundary of a CHR container.
      {"ZkpEmpty", "pic.zkp", [] { return Bytes{}; }},
      {"ZkpMagicOnly", "pic.zkp", [] { return Cut(ChrZkp(), 4); }},
      {"ZkpHeaderCutShort", "pic.zkp", [] { return Cut(ChrZkp(), 35); }},
      {"ZkpOneTagByte", "pic.zkp", [] { return Cut(ChrZkp(), 37); }},
      {"ZkpTagWithoutR", "pic.zkp", [] { return Cut(ChrZkp(), 44); }},
      {"ZkpTagCutAfterR", "pic.zkp", [] { return Cut(ChrZkp(), 45); }},
      {"ZkpLettersWithoutData", "pic.zkp", [] { return Cut(ChrZkp(), 48); }},
      {"ZkpChrDataHalf", "pic.zkp", [] { return Cut(ChrZkp(), 48 + 4096); }},
      {"ZkpChrLastByteMissing", "pic.zkp", [] { return Cut(ChrZkp(), 48 + 8191); }},
      // ... and of a program container.
      {"ZkpPrgMaskHighOnly", "prog.zkp", [] { return Cut(PrgZkp(), 52); }},
      {"ZkpPrgWithoutLength", "prog.zkp", [] { return Cut(PrgZkp(), 56); }},
      {"ZkpPrgWithoutProgram", "prog.zkp", [] { return Cut(PrgZkp(), 60); }},
      {"ZkpPrgProgramCutShort", "prog.zkp", [] { return Cut(PrgZkp(), 63); }},
      // .zkp: foreign bytes, unknown letters, trailing bytes, huge counts.
      {"ZkpOfText", "notes.zkp",
       [] { return Text("This is a plain text file that someone renamed to .zkp by mistake.\r\n"); }},
      {"ZkpUnknownLetters", "pic.zkp",
       [] { return test::ZkpFile(3, "PIC", test::Stored("QAVN0100RXYZ", Bytes(8192, 0))); }},
      {"ZkpBytesAfterTheLastResource", "prog.zkp",
       [] {
         Bytes b = PrgZkp();
         b.insert(b.end(), {1, 2, 3, 4, 5});
         return b;
       }},
      {"ZkpHugeProgramLength", "prog.zkp",
       [] {
         Bytes b = PrgZkp();
         Set32(b, 56, 0xFFFFFFFF);
         return b;
       }},
      {"ZkpHugeMemCount", "note.zkp", [] { return MemZkp(0xFFFFFFFF); }},
      // .zkp: names with path separators (the resource cut short, so the file fails).
      {"ZkpNameClimbsUp", "pic.zkp", [] { return Cut(ChrZkp("../../x"), 48 + 100); }},
      {"ZkpNameIsAbsolute", "pic.zkp", [] { return Cut(ChrZkp("/tmp/evl"), 48 + 100); }},
      {"ZkpNameWithBackslashes", "pic.zkp", [] { return Cut(ChrZkp("..\\..\\x"), 48 + 100); }},
      {"ZkpNameIsDotDot", "pic.zkp", [] { return Cut(ChrZkp(".."), 48 + 100); }},

      // Folders given as files, and files that cannot be read.
      {"FolderNamedAsBmp", "pic.bmp", nullptr, {}, BadInput::Folder},
      {"FolderNamedAsZkp", "pic.zkp", nullptr, {}, BadInput::Folder},
      {"FolderNamedAsProgram", "prog.txt", nullptr, {}, BadInput::Folder},
      {"UnreadableBmp", "pic.bmp", nullptr, {}, BadInput::Unreadable},
      {"UnreadableProgram", "prog.txt", nullptr, {}, BadInput::Unreadable},

      // Program, screen and MEM texts.
      {"ProgramEmpty", "prog.txt", [] { return Bytes{}; }},
      {"ProgramLineTooLong", "prog.txt",
       [] { return Text("10 PRINT \"" + std::string(300, 'A') + "\"\r\n"); }},
      {"ProgramFullWidthWithoutSingleByteForm", "prog.txt", [] { return Text("\x88\x9F\x88\x9F\x88\x9F"); }},
      {"BinaryEmpty", "data.bin", [] { return Bytes{}; }},
      {"ScreenTextGarbage", "title_scr.txt", [] { return Text("HELLO WORLD\r\n"); }},
      {"ScreenTextCutInAStatement", "title_scr.txt", [] { return Text("BGPUT LAYER,  0,  0,    1,  0"); }},
      {"ScreenTextAmpersandWithoutH", "title_scr.txt",
       [] { return Text("BGPUT LAYER, &X1,  0,    1,  0, 0, 0\r\n"); }},
      {"MemEmpty", "note_mem.txt", [] { return Bytes{}; }},
      {"MemWithoutClosingQuote", "note_mem.txt", [] { return Text("MEM$=\"ABC\r\n"); }},
      {"MemNothingAfterTheQuote", "note_mem.txt", [] { return Text("MEM$=\""); }},
      {"MemWithoutAssignment", "note_mem.txt", [] { return Text("HELLO\r\n"); }},
  };
}

// Every entry of a folder tree, relative to it, with the contents of files.
std::map<std::string, std::string> Snapshot(const std::string& root) {
  std::map<std::string, std::string> tree;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::string rel = fs::relative(entry.path(), root).string();
    if (entry.is_directory()) {
      tree[rel] = "<folder>";
      continue;
    }
    try {
      tree[rel] = test::ReadText(entry.path().string());
    } catch (const std::exception&) {
      tree[rel] = "<unreadable>";  // the unreadable input itself
    }
  }
  return tree;
}

// The same without what lies in the folder `except` (relative).
std::map<std::string, std::string> Outside(std::map<std::string, std::string> tree,
                                           const std::string& except) {
  std::erase_if(tree, [&](const auto& entry) {
    return entry.first == except || entry.first.rfind(except + "/", 0) == 0;
  });
  return tree;
}

class BadInputs : public ::testing::TestWithParam<BadInput> {};

TEST_P(BadInputs, FailWithAReasonAndWriteNothingOutsideTheOutputFolder) {
  const BadInput& input = GetParam();
  if (input.kind == BadInput::Unreadable && test::PermissionsAreIgnored())
    GTEST_SKIP() << "running with rights that ignore file permissions";
  // The input in in/, results in work/out/ (the User folder); the working directory is work/.
  test::TempDir dir;
  fs::create_directories(dir / "in");
  fs::create_directories(dir / "work/out");
  test::WriteText(dir / "in/neighbour.txt", "kept");
  const std::string path = dir / ("in/" + std::string(input.fileName));
  switch (input.kind) {
    case BadInput::File:
      test::WriteBytes(path, input.bytes());
      break;
    case BadInput::Folder:
      fs::create_directory(path);
      break;
    case BadInput::Unreadable:
      test::WriteText(path, "10 PRINT 1\r\n");
      ::chmod(path.c_str(), 0);
      break;
  }
  const auto before = Snapshot(dir.Path());

  std::vector<std::string> args{
      "convert", "--ini", "none.ini", "--set", "Select=770", "--set", "User=" + dir / "work/out"};
  args.insert(args.end(), input.options.begin(), input.options.end());
  args.push_back(path);
  const auto run = test::RunCli(dir / "work", args);

  EXPECT_EQ(run.status, 1) << run.out << run.err;
  // The file's line: "<path>: failed: <reason>".
  const std::string head = path + ": failed: ";
  const auto at = run.err.find(head);
  ASSERT_NE(at, std::string::npos) << run.err;
  const std::string reason = run.err.substr(at + head.size(), run.err.find('\n', at) - at - head.size());
  EXPECT_GT(reason.size(), 3u) << run.err;
  EXPECT_EQ(reason.find("no reason given"), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("AddressSanitizer"), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("runtime error"), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("LeakSanitizer"), std::string::npos) << run.err;
  EXPECT_EQ(Outside(Snapshot(dir.Path()), "work/out"), Outside(before, "work/out"));
  if (input.kind == BadInput::Unreadable)
    ::chmod(path.c_str(), 0644);
}

INSTANTIATE_TEST_SUITE_P(Corpus, BadInputs, ::testing::ValuesIn(Inputs()),
                         [](const ::testing::TestParamInfo<BadInput>& info) { return info.param.name; });

TEST(BadInputs, TheCorpusHasAtLeastFortyInputs) {
  EXPECT_GE(Inputs().size(), 40u);
}

}  // namespace
}  // namespace granvel
