// Settings from the profile, convert types, and how a path becomes a job.
#include <gtest/gtest.h>

#include "convert/job.h"
#include "convert/settings.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

TEST(LoadSettings, RepairsStoredValues) {
  struct Row {
    const char* ini;
    int ConvertSettings::*field;
    int expected;
  };
  const Row rows[] = {
      {"[Directory]\nSelect=5\n", &ConvertSettings::Select, 768},
      {"[Directory]\nSelect=769\n", &ConvertSettings::Select, 769},
      {"[Directory]\nSelect=1023\n", &ConvertSettings::Select, 1023},  // bits 8 to 15 are 0x03
      {"[Directory]\nSelect=1024\n", &ConvertSettings::Select, 768},
      {"[Directory]\nCreate=-3\n", &ConvertSettings::Create, 0},
      {"[Directory]\nCreate=2\n", &ConvertSettings::Create, 2},
      {"[Convert]\nTextOut=-7\n", &ConvertSettings::TextOut, 1},
      {"[Convert]\nPRG_To_MEM=0\n", &ConvertSettings::PRG_To_MEM, 0},
      {"[Convert]\nPRG_ESCAPE=-1\n", &ConvertSettings::PRG_ESCAPE, 0},
      {"[Convert]\nWideMode=-5\n", &ConvertSettings::WideMode, -5},
      {"[Convert]\nDATA_TYPE=0\n", &ConvertSettings::DATA_Type, 0},
      {"[convert]\nautotrim=garbage\n", &ConvertSettings::AutoTrim, 0},
      {"[Convert]\nPAL_Fix_1bit=1\n", &ConvertSettings::PAL_Fix_1bit, 1},
      {"[Convert]\nPNG_Image=-1\n", &ConvertSettings::PNG_Image, 1},  // PNGs are pictures unless it says 0
      {"[Convert]\nPNG_Image=0\n", &ConvertSettings::PNG_Image, 0},
      {"[Convert]\nUTF8_Text=-2\n", &ConvertSettings::UTF8_Text, 0},
      {"\xFF\x00[[=\n\x80==\n", &ConvertSettings::TextOut, 1},
  };
  for (const Row& row : rows) {
    test::TempDir dir;
    test::WriteText(IniPath(dir.Path()), row.ini);
    EXPECT_EQ(LoadSettings(dir.Path()).*(row.field), row.expected) << row.ini;
  }
  test::TempDir dir;
  test::WriteText(IniPath(dir.Path()),
                  "[Directory]\nUser=\n[Convert]\nTransparentColour=FF00FF\nPalette_File=p.gpl\n");
  const ConvertSettings loaded = LoadSettings(dir.Path());
  EXPECT_EQ(loaded.User, dir.Path());  // an empty User is the tool's folder
  EXPECT_EQ(loaded.TransparentColour + "|" + loaded.Palette_File, "FF00FF|p.gpl");
}

ConvertSettings Defaults() {
  ConvertSettings s;
  s.ToolDir = "C:\\tool";
  s.User = "D:\\out";
  return s;
}

TEST(MakeConvertJob, ClassifiesByExtensionNameAndSettings) {
  struct Row {
    std::string path;
    int toScr, toMem, convertType;
    JobKind kind;
    int png = 1;
  };
  const Row rows[] = {
      {"x.BMP", 1, 1, 257, JobKind::Bitmap},           {"t.zkp", 1, 1, 257, JobKind::ZkpFile},
      {"Map_SCR.TXT", 1, 1, 257, JobKind::ScrText},    {"Map_SCR.TXT", 0, 1, 257, JobKind::PrgText},
      {"Map.rscr", 0, 0, 257, JobKind::ScrText},       {"Notes_mem.txt", 1, 1, 257, JobKind::MemText},
      {"Notes_mem.txt", 1, 0, 257, JobKind::PrgText},  {"mem.txt", 1, 1, 257, JobKind::PrgText},
      {"Notes_mem2.txt", 1, 1, 257, JobKind::PrgText}, {"_scr.txt", 1, 1, 257, JobKind::ScrText},
      {"x.bmpx", 1, 1, 257, JobKind::BinaryData},      {"x.png", 1, 1, 257, JobKind::Bitmap},
      {"noext", 1, 1, 257, JobKind::BinaryData},       {"x.bmp", 1, 1, 266, JobKind::BinaryData},
      {"x.txt", 1, 1, 266, JobKind::BinaryData},       {"x.zkp", 1, 1, 266, JobKind::BinaryData},
      {"x.bmp", 1, 1, 265, JobKind::Bitmap},           {"x.PNG", 1, 1, 257, JobKind::BinaryData, 0},
  };
  for (const Row& row : rows) {
    ConvertSettings s = Defaults();
    s.PRG_To_SCR = row.toScr;
    s.PRG_To_MEM = row.toMem;
    s.ConvertType = static_cast<std::uint16_t>(row.convertType);
    s.PNG_Image = row.png;
    EXPECT_EQ(MakeConvertJob("C:\\data\\" + row.path, false, s).Kind, row.kind)
        << row.path << " " << row.convertType;
  }
}

TEST(MakeConvertJob, SplitsPathsLikeTheWindowsSplitterAndPlacesTheOutputBySelect) {
  const std::string rows[][4] = {{"C:\\dir\\sub\\a.bmp", "\\dir\\sub\\", "a", ".bmp"},
                                 {"C:\\data\\a.b.txt", "\\data\\", "a.b", ".txt"},
                                 {"/home/u/Map_SCR.TXT", "/home/u/", "Map_SCR", ".txt"},
                                 {"mixed/dir\\x.Zkp", "mixed/dir\\", "x", ".zkp"},
                                 {"plain", "", "plain", ""},
                                 {"C:file.Txt", "", "file", ".txt"},
                                 {"dir.d/noext", "dir.d/", "noext", ""}};
  for (const auto& row : rows) {
    const ConvertJob job = MakeConvertJob(row[0], false, Defaults());
    EXPECT_EQ(job.Dir + "|" + job.FileName + "|" + job.Ext, row[1] + "|" + row[2] + "|" + row[3]) << row[0];
  }
  const std::pair<int, std::string> selects[] = {
      {768, "C:\\data\\"}, {769, "C:\\tool/"}, {770, "D:\\out/"}, {5, "C:\\tool/"}};
  for (const auto& [select, outDir] : selects) {
    ConvertSettings s = Defaults();
    s.Select = select;
    EXPECT_EQ(MakeConvertJob("C:\\data\\Hero.bmp", false, s).OutDir, outDir) << select;
  }
}

}  // namespace
}  // namespace granvel
