#include "convert/settings.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace granvel {
namespace {

using test::TempDir;

TEST(LoadSettings, WithoutAFileEveryFieldTakesItsRepairedDefault) {
  TempDir dir;
  const ConvertSettings s = LoadSettings(dir.Path());
  EXPECT_EQ(s.Select, 768);
  EXPECT_EQ(s.Create, 0);
  EXPECT_EQ(s.User, dir.Path());
  EXPECT_EQ(s.ToolDir, dir.Path());
  EXPECT_EQ(s.TextOut, 1);
  EXPECT_EQ(s.DATA_Type, -1);
  EXPECT_EQ(s.AutoTrim, 1);
  EXPECT_EQ(s.WideMode, -1);
  EXPECT_EQ(s.Make_Wide, -1);
  EXPECT_EQ(s.PRG_Limit, 1);
  EXPECT_EQ(s.PRG_To_SCR, 1);
  EXPECT_EQ(s.PRG_To_MEM, 1);
  EXPECT_EQ(s.PRG_MultiByte, 0);
  EXPECT_EQ(s.PRG_ESCAPE, 0);
  EXPECT_EQ(s.PAL_Fix_1bit, -1);
  EXPECT_EQ(s.ConvertType, 257);
  EXPECT_EQ(s.UnitWidth, 8);
  EXPECT_EQ(s.UnitHeight, 8);
}

TEST(LoadSettings, RepairsStoredValues) {
  struct Row {
    const char* ini;
    int ConvertSettings::*field;
    int expected;
  };
  const Row rows[] = {
      {"[Directory]\nSelect=5\n", &ConvertSettings::Select, 768},
      {"[Directory]\nSelect=770\n", &ConvertSettings::Select, 770},
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
  };
  for (const Row& row : rows) {
    TempDir dir;
    test::WriteText(IniPath(dir.Path()), row.ini);
    EXPECT_EQ(LoadSettings(dir.Path()).*(row.field), row.expected) << row.ini;
  }
}

TEST(LoadSettings, EmptyUserFallsBackToTheToolFolder) {
  TempDir dir;
  test::WriteText(IniPath(dir.Path()), "[Directory]\nUser=\n");
  EXPECT_EQ(LoadSettings(dir.Path()).User, dir.Path());
}

TEST(LoadSettings, GarbageFileLoadsWithRepairs) {
  TempDir dir;
  test::WriteBytes(IniPath(dir.Path()), {0xFF, 0x00, '[', '[', '=', '\n', 0x80, '=', '=', '\n'});
  const ConvertSettings s = LoadSettings(dir.Path());
  EXPECT_EQ(s.Select, 768);
  EXPECT_EQ(s.TextOut, 1);
}

TEST(SaveSettings, RoundTripsEveryPersistedField) {
  TempDir dir;
  ConvertSettings s;
  s.ToolDir = dir.Path();
  s.Select = 770;
  s.Create = 1;
  s.User = "/some/where else";
  s.TextOut = 0;
  s.DATA_Type = 0;
  s.AutoTrim = 0;
  s.WideMode = 1;
  s.Make_Wide = 0;
  s.PRG_Limit = 0;
  s.PRG_To_SCR = 0;
  s.PRG_To_MEM = 0;
  s.PRG_MultiByte = 1;
  s.PRG_ESCAPE = 1;
  s.PAL_Fix_1bit = 0;
  s.ConvertType = 265;
  std::string error;
  ASSERT_TRUE(SaveSettings(s, IniPath(dir.Path()), error)) << error;

  const ConvertSettings t = LoadSettings(dir.Path());
  EXPECT_EQ(t.Select, 770);
  EXPECT_EQ(t.Create, 1);
  EXPECT_EQ(t.User, "/some/where else");
  EXPECT_EQ(t.TextOut, 0);
  EXPECT_EQ(t.DATA_Type, 0);
  EXPECT_EQ(t.AutoTrim, 0);
  EXPECT_EQ(t.WideMode, 1);
  EXPECT_EQ(t.Make_Wide, 0);
  EXPECT_EQ(t.PRG_Limit, 0);
  EXPECT_EQ(t.PRG_To_SCR, 0);
  EXPECT_EQ(t.PRG_To_MEM, 0);
  EXPECT_EQ(t.PRG_MultiByte, 1);
  EXPECT_EQ(t.PRG_ESCAPE, 1);
  EXPECT_EQ(t.PAL_Fix_1bit, 0);
  EXPECT_EQ(t.ConvertType, 257);  // never persisted
}

TEST(SaveSettings, WritesKeysInOrderAndKeepsForeignOnes) {
  TempDir dir;
  test::WriteText(IniPath(dir.Path()), "; kept\n[Extra]\nOwn=1\n");
  ConvertSettings s;
  std::string error;
  ASSERT_TRUE(SaveSettings(s, IniPath(dir.Path()), error)) << error;
  const std::string text = test::ReadText(IniPath(dir.Path()));
  EXPECT_NE(text.find("; kept"), std::string::npos);
  EXPECT_NE(text.find("Own"), std::string::npos);
  const char* order[] = {"User",       "Select",       "Create",        "TextOut",   "Data_Type",
                         "AutoTrim",   "PAL_Fix_1bit", "WideMode",      "Make_Wide", "PRG_Limit",
                         "PRG_To_SCR", "PRG_To_MEM",   "PRG_MultiByte", "PRG_ESCAPE"};
  std::size_t at = 0;
  for (const char* key : order) {
    const auto found = text.find(std::string("\n") + key + "=", at);
    ASSERT_NE(found, std::string::npos) << key << " after offset " << at << " in\n" << text;
    at = found;
  }
}

TEST(SelectConvertType, SetsTheUnitForCharacterTypesOnly) {
  ConvertSettings s;
  ASSERT_TRUE(SelectConvertType(s, 262));
  EXPECT_EQ(s.ConvertType, 262);
  EXPECT_EQ(s.UnitWidth, 64);
  EXPECT_EQ(s.UnitHeight, 32);
  ASSERT_TRUE(SelectConvertType(s, 265));
  EXPECT_EQ(s.UnitWidth, 64);  // unchanged
  ASSERT_TRUE(SelectConvertType(s, 263));
  EXPECT_EQ(s.UnitWidth, 32);
  EXPECT_EQ(s.UnitHeight, 64);
  EXPECT_FALSE(SelectConvertType(s, 267));
  EXPECT_EQ(s.ConvertType, 263);
}

}  // namespace
}  // namespace granvel
